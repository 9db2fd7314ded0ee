#include "d3dx9/font/glyph_atlas.h"

#include <algorithm>
#include <cstring>

#include "com/com_object.h"

namespace quorvane::d3dx9 {
namespace {

// One texel of empty space around each glyph keeps neighbours apart.
constexpr UINT padding = 1;

void Include(RECT& dirty, const GlyphAtlas::Entry& entry)
{
    const RECT added{static_cast<LONG>(entry.x), static_cast<LONG>(entry.y), static_cast<LONG>(entry.x + entry.width),
                     static_cast<LONG>(entry.y + entry.height)};
    if (dirty.right <= dirty.left || dirty.bottom <= dirty.top) {
        dirty = added;
        return;
    }
    dirty.left = std::min(dirty.left, added.left);
    dirty.top = std::min(dirty.top, added.top);
    dirty.right = std::max(dirty.right, added.right);
    dirty.bottom = std::max(dirty.bottom, added.bottom);
}

}  // namespace

GlyphAtlas::~GlyphAtlas()
{
    SafeRelease(video_);
    SafeRelease(memory_);
}

bool GlyphAtlas::EnsureMemoryTexture()
{
    if (memory_ != nullptr) {
        return true;
    }
    if (FAILED(device_->CreateTexture(size, size, 1, 0, D3DFMT_A8, D3DPOOL_SYSTEMMEM, &memory_, nullptr))) {
        return false;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(memory_->LockRect(0, &locked, nullptr, 0))) {
        SafeRelease(memory_);
        return false;
    }
    for (UINT y = 0; y < size; ++y) {
        std::memset(static_cast<BYTE*>(locked.pBits) + std::size_t{y} * static_cast<UINT>(locked.Pitch), 0, size);
    }
    memory_->UnlockRect(0);
    dirty_ = RECT{0, 0, static_cast<LONG>(size), static_cast<LONG>(size)};
    return true;
}

bool GlyphAtlas::Allocate(UINT width, UINT height, Entry& entry)
{
    if (width + padding > size || height + padding > size) {
        return false;
    }
    if (shelfX_ + width + padding > size) {
        shelfY_ += shelfHeight_;
        shelfX_ = 0;
        shelfHeight_ = 0;
    }
    if (shelfY_ + height + padding > size) {
        return false;
    }
    entry = Entry{shelfX_, shelfY_, width, height};
    shelfX_ += width + padding;
    shelfHeight_ = std::max(shelfHeight_, height + padding);
    return true;
}

void GlyphAtlas::Write(const Entry& entry, const text::Glyph* glyph)
{
    D3DLOCKED_RECT locked{};
    if (FAILED(memory_->LockRect(0, &locked, nullptr, 0))) {
        return;
    }
    for (UINT y = 0; y < entry.height; ++y) {
        BYTE* row =
            static_cast<BYTE*>(locked.pBits) + std::size_t{entry.y + y} * static_cast<UINT>(locked.Pitch) + entry.x;
        // Each texel's alpha is the coverage, which the text colour's alpha modulates.
        if (glyph != nullptr)
            std::memcpy(row, &glyph->coverage[std::size_t{y} * entry.width], entry.width);
        else
            std::memset(row, 255, entry.width);
    }
    memory_->UnlockRect(0);
    Include(dirty_, entry);
}

bool GlyphAtlas::Place(char32_t codePoint, const text::Glyph& glyph, Entry& entry)
{
    if (const auto found = entries_.find(codePoint); found != entries_.end()) {
        entry = found->second;
        return true;
    }
    if (!EnsureMemoryTexture() || !Allocate(static_cast<UINT>(glyph.width), static_cast<UINT>(glyph.height), entry)) {
        return false;
    }
    Write(entry, &glyph);
    entries_.emplace(codePoint, entry);
    return true;
}

bool GlyphAtlas::Solid(Entry& entry)
{
    if (!hasSolid_) {
        if (!EnsureMemoryTexture() || !Allocate(2, 2, solid_)) {
            return false;
        }
        Write(solid_, nullptr);
        hasSolid_ = true;
    }
    entry = solid_;
    return true;
}

void GlyphAtlas::Clear()
{
    entries_.clear();
    hasSolid_ = false;
    shelfX_ = shelfY_ = shelfHeight_ = 0;
}

IDirect3DTexture9* GlyphAtlas::DrawingTexture()
{
    if (!EnsureMemoryTexture()) {
        return nullptr;
    }
    if (video_ == nullptr) {
        if (FAILED(device_->CreateTexture(size, size, 1, 0, D3DFMT_A8, D3DPOOL_DEFAULT, &video_, nullptr))) {
            return nullptr;
        }
        dirty_ = RECT{0, 0, static_cast<LONG>(size), static_cast<LONG>(size)};
    }
    if (dirty_.right > dirty_.left && dirty_.bottom > dirty_.top) {
        IDirect3DSurface9* from = nullptr;
        IDirect3DSurface9* to = nullptr;
        HRESULT hr = memory_->GetSurfaceLevel(0, &from);
        if (SUCCEEDED(hr)) {
            hr = video_->GetSurfaceLevel(0, &to);
        }
        if (SUCCEEDED(hr)) {
            const POINT at{dirty_.left, dirty_.top};
            hr = device_->UpdateSurface(from, &dirty_, to, &at);
        }
        SafeRelease(from);
        SafeRelease(to);
        if (FAILED(hr)) {
            return nullptr;
        }
        dirty_ = RECT{0, 0, 0, 0};
    }
    return video_;
}

void GlyphAtlas::OnLostDevice()
{
    SafeRelease(video_);
}

}  // namespace quorvane::d3dx9

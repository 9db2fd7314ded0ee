#include "d3dx9/font/d3dx_font.h"

#include <algorithm>
#include <cwchar>
#include <new>
#include <string>

#include "d3dx9/font/device_state_saver.h"
#include "text/text_layout.h"

namespace quorvane::d3dx9 {
namespace {

// DrawTextW formats handled here; others (word breaks, tabs, ...) make the call draw nothing.
constexpr DWORD supportedFormats =
    DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOCLIP | DT_CALCRECT | DT_NOPREFIX;

struct TextVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD textFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

std::string Utf8FaceName(const WCHAR* name)
{
    std::string utf8;
    for (std::size_t i = 0; i < LF_FACESIZE && name[i] != 0; ++i) {
        const auto c = static_cast<char32_t>(name[i]);
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// The language of the thread's user interface, which its texts are shown in,
// as fontconfig names it; English for a language without a code.
std::string InterfaceLanguage()
{
    WCHAR code[9] = L"";
    if (GetLocaleInfoW(MAKELCID(GetThreadUILanguage(), SORT_DEFAULT), LOCALE_SISO639LANGNAME, code, 9) == 0)
        return "en";
    return std::string(code, code + std::char_traits<WCHAR>::length(code));
}

}  // namespace

HRESULT Font::Create(IDirect3DDevice9* device, const D3DXFONT_DESCW& desc, Font** font)
{
    text::FontRequest request;
    request.height = desc.Height;
    request.averageWidth = static_cast<int>(desc.Width);
    request.weight = desc.Weight == FW_DONTCARE ? FW_NORMAL : static_cast<int>(desc.Weight);
    request.italic = desc.Italic != FALSE;
    request.family = Utf8FaceName(desc.FaceName);
    request.language = InterfaceLanguage();
    std::unique_ptr<text::Font> face = text::Font::Open(request);
    if (!face) {
        return E_FAIL;
    }
    *font = new (std::nothrow) Font(device, desc, std::move(face));
    return *font != nullptr ? D3D_OK : E_OUTOFMEMORY;
}

Font::Font(IDirect3DDevice9* device, const D3DXFONT_DESCW& desc, std::unique_ptr<text::Font> font)
    : device_(device), desc_(desc), font_(std::move(font)), atlas_(device)
{
    device_->AddRef();
}

// The atlas's textures, released after this, hold references of their own on the device.
Font::~Font()
{
    SafeRelease(device_);
}

bool Font::Implements(REFIID riid) const
{
    return SameIid(riid, IID_ID3DXFont);
}

HRESULT Font::GetDevice(LPDIRECT3DDEVICE9* device)
{
    return HandOut(device_, device);
}

HRESULT Font::GetDescW(D3DXFONT_DESCW* desc)
{
    if (desc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *desc = desc_;
    return D3D_OK;
}

HRESULT Font::PreloadTextW(LPCWSTR string, INT count)
{
    if (string == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const std::size_t length = count < 0 ? std::wcslen(string) : static_cast<std::size_t>(count);
    for (char32_t c : text::ToCodePoints(std::wstring_view(string, length))) {
        const text::Glyph& glyph = font_->GlyphFor(c);
        GlyphAtlas::Entry entry;
        if (glyph.width > 0 && glyph.height > 0 && !atlas_.Place(c, glyph, entry)) {
            break;  // the atlas is full; drawing makes room as needed
        }
    }
    return D3D_OK;
}

HRESULT Font::OnLostDevice()
{
    atlas_.OnLostDevice();
    lost_ = true;
    return D3D_OK;
}

HRESULT Font::OnResetDevice()
{
    lost_ = false;
    atlas_.OnResetDevice();
    return D3D_OK;
}

void Font::AddQuad(int x, int y, const GlyphAtlas::Entry& entry, const RECT* clip)
{
    int x0 = x;
    int y0 = y;
    int x1 = x + static_cast<int>(entry.width);
    int y1 = y + static_cast<int>(entry.height);
    int u0 = static_cast<int>(entry.x);
    int v0 = static_cast<int>(entry.y);
    if (clip != nullptr) {
        const int left = std::max(x0, static_cast<int>(clip->left));
        const int top = std::max(y0, static_cast<int>(clip->top));
        const int right = std::min(x1, static_cast<int>(clip->right));
        const int bottom = std::min(y1, static_cast<int>(clip->bottom));
        if (left >= right || top >= bottom) {
            return;
        }
        u0 += left - x0;
        v0 += top - y0;
        x0 = left, y0 = top, x1 = right, y1 = bottom;
    }
    const float size = static_cast<float>(GlyphAtlas::size);
    pending_.push_back({static_cast<float>(x0), static_cast<float>(y0), static_cast<float>(x1), static_cast<float>(y1),
                        u0 / size, v0 / size, (u0 + x1 - x0) / size, (v0 + y1 - y0) / size});
}

void Font::SetDrawingStates(DeviceStateSaver& states, IDirect3DBaseTexture9* texture)
{
    states.SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    states.SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    states.SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
    states.SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    states.SetRenderState(D3DRS_LIGHTING, FALSE);
    states.SetRenderState(D3DRS_FOGENABLE, FALSE);
    states.SetRenderState(D3DRS_STENCILENABLE, FALSE);
    states.SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    states.SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
    states.SetRenderState(D3DRS_COLORWRITEENABLE, 0xF);
    states.SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    states.SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    states.SetRenderState(D3DRS_ALPHAREF, 0);
    states.SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    states.SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    states.SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    states.SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    states.SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    // The atlas holds coverage alone (A8): the colour is the text's, the alpha its alpha times
    // the coverage.
    states.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    states.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    states.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    states.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    states.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    states.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    states.SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    states.SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    states.SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    states.SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    states.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    states.SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    states.SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    states.SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    states.SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    states.SetTexture(0, texture);
    states.SetFVF(textFvf);
}

bool Font::Flush(DeviceStateSaver& states, D3DCOLOR color)
{
    if (pending_.empty()) {
        return true;
    }
    IDirect3DTexture9* texture = atlas_.DrawingTexture();
    if (texture == nullptr) {
        pending_.clear();
        return false;
    }
    SetDrawingStates(states, texture);
    std::vector<TextVertex> vertices;
    vertices.reserve(pending_.size() * 6);
    for (const Quad& q : pending_) {
        // Direct3D 9 puts pixel centres on integer coordinates: edges half a pixel before them.
        const float x0 = q.x0 - 0.5f, y0 = q.y0 - 0.5f, x1 = q.x1 - 0.5f, y1 = q.y1 - 0.5f;
        const TextVertex topLeft{x0, y0, 0, 1, color, q.u0, q.v0};
        const TextVertex topRight{x1, y0, 0, 1, color, q.u1, q.v0};
        const TextVertex bottomLeft{x0, y1, 0, 1, color, q.u0, q.v1};
        const TextVertex bottomRight{x1, y1, 0, 1, color, q.u1, q.v1};
        vertices.insert(vertices.end(), {topLeft, topRight, bottomLeft, bottomLeft, topRight, bottomRight});
    }
    const HRESULT hr = device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(pending_.size() * 2),
                                                vertices.data(), sizeof(TextVertex));
    pending_.clear();
    return SUCCEEDED(hr);
}

INT Font::DrawTextW(LPD3DXSPRITE sprite, LPCWSTR string, INT count, LPRECT rect, DWORD format, D3DCOLOR color)
{
    if (sprite != nullptr || string == nullptr || (format & ~supportedFormats) != 0 ||
        ((format & DT_CALCRECT) && rect == nullptr)) {
        return 0;
    }
    const std::size_t length = count < 0 ? std::wcslen(string) : static_cast<std::size_t>(count);
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const std::vector<text::TextLine> lines = text::SplitLines(text::ToCodePoints(std::wstring_view(string, length)),
                                                               singleLine, (format & DT_NOPREFIX) == 0);
    const int lineHeight = font_->LineHeight();
    const int totalHeight = lineHeight * static_cast<int>(lines.size());
    std::vector<int> widths;
    for (const text::TextLine& line : lines) {
        widths.push_back(text::LineWidth(*font_, line.characters));
    }
    RECT area = rect != nullptr ? *rect : RECT{0, 0, 0, 0};
    if (format & DT_CALCRECT) {
        rect->right = rect->left + *std::max_element(widths.begin(), widths.end());
        rect->bottom = rect->top + totalHeight;
        return totalHeight;
    }
    if (lost_) {
        return 0;
    }

    int top = area.top;
    if (singleLine && (format & DT_VCENTER)) {
        top = area.top + (area.bottom - area.top - lineHeight) / 2;
    } else if (singleLine && (format & DT_BOTTOM)) {
        top = area.bottom - lineHeight;
    }
    const RECT* clip = (format & DT_NOCLIP) || rect == nullptr ? nullptr : &area;
    DeviceStateSaver states(device_);
    bool drawn = true;
    for (std::size_t i = 0; i < lines.size(); ++i, top += lineHeight) {
        const text::TextLine& line = lines[i];
        int left = area.left;
        if (format & DT_CENTER) {
            left = area.left + (area.right - area.left - widths[i]) / 2;
        } else if (format & DT_RIGHT) {
            left = area.right - widths[i];
        }
        std::vector<int> pens;
        const int baseline = top + font_->Ascent();
        const std::vector<text::PlacedGlyph> placed = text::PlaceLine(*font_, line.characters, left, baseline, &pens);
        std::size_t next = 0;
        for (std::size_t c = 0; c < line.characters.size(); ++c) {
            const text::Glyph& glyph = font_->GlyphFor(line.characters[c]);
            if (glyph.width == 0 || glyph.height == 0) {
                continue;
            }
            GlyphAtlas::Entry entry;
            if (!atlas_.Place(line.characters[c], glyph, entry)) {
                // Full: draw what is queued, start the atlas afresh.
                drawn = Flush(states, color) && drawn;
                atlas_.Clear();
                if (!atlas_.Place(line.characters[c], glyph, entry)) {
                    ++next;
                    continue;
                }
            }
            AddQuad(placed[next].x, placed[next].y, entry, clip);
            ++next;
        }
        GlyphAtlas::Entry solid;
        if (line.underlined >= 0 && atlas_.Solid(solid)) {
            const int from = pens[static_cast<std::size_t>(line.underlined)];
            const int to = pens[static_cast<std::size_t>(line.underlined) + 1];
            for (int x = from; x < to; x += 2) {
                GlyphAtlas::Entry piece = solid;
                piece.width = static_cast<UINT>(std::min(2, to - x));
                piece.height = 1;
                AddQuad(x, baseline + 1, piece, clip);
            }
        }
    }
    drawn = Flush(states, color) && drawn;
    return drawn ? totalHeight : 0;
}

}  // namespace quorvane::d3dx9

extern "C" HRESULT WINAPI D3DXCreateFontIndirectW(LPDIRECT3DDEVICE9 pDevice, const D3DXFONT_DESCW* pDesc,
                                                  LPD3DXFONT* ppFont)
{
    if (ppFont == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppFont = nullptr;
    if (pDevice == nullptr || pDesc == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    quorvane::d3dx9::Font* font = nullptr;
    const HRESULT hr = quorvane::d3dx9::Font::Create(pDevice, *pDesc, &font);
    *ppFont = font;
    return hr;
}

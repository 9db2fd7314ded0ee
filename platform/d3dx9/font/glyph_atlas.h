// The glyph cache of a D3DX font on the device: glyph coverage bitmaps packed in rows (shelves)
// into a system-memory A8 texture, copied to a default-pool texture for drawing. The default-pool copy
// goes on device loss and is rebuilt from the system-memory one on reset.
#pragma once

#include <d3d9.h>

#include <unordered_map>

#include "text/font.h"

namespace quorvane::d3dx9 {

class GlyphAtlas {
public:
    static constexpr UINT size = 512;

    // A glyph's place in the atlas, in texels.
    struct Entry {
        UINT x = 0;
        UINT y = 0;
        UINT width = 0;
        UINT height = 0;
    };

    explicit GlyphAtlas(IDirect3DDevice9* device) : device_(device) {}
    ~GlyphAtlas();
    GlyphAtlas(const GlyphAtlas&) = delete;
    GlyphAtlas& operator=(const GlyphAtlas&) = delete;

    // The entry of a glyph, packed on first use. False when the atlas is full (Clear and retry)
    // or the memory texture cannot be made.
    bool Place(char32_t codePoint, const text::Glyph& glyph, Entry& entry);
    // A fully covered texel block, for underlines.
    bool Solid(Entry& entry);
    // Forgets every glyph; the texels are overwritten as new glyphs come.
    void Clear();

    // The texture to draw with, brought up to date; null when it cannot be made.
    IDirect3DTexture9* DrawingTexture();

    // The default-pool texture goes before a reset and is made again, from the memory copy, after it.
    void OnLostDevice();
    void OnResetDevice() { DrawingTexture(); }

private:
    bool EnsureMemoryTexture();
    bool Allocate(UINT width, UINT height, Entry& entry);
    void Write(const Entry& entry, const text::Glyph* glyph);

    IDirect3DDevice9* device_;  // not counted: the font holds the reference
    IDirect3DTexture9* memory_ = nullptr;
    IDirect3DTexture9* video_ = nullptr;
    std::unordered_map<char32_t, Entry> entries_;
    bool hasSolid_ = false;
    Entry solid_;
    UINT shelfX_ = 0;
    UINT shelfY_ = 0;
    UINT shelfHeight_ = 0;
    RECT dirty_{0, 0, 0, 0};
};

}  // namespace quorvane::d3dx9

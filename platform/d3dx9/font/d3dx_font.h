// ID3DXFont: text laid out by platform/text and drawn as textured screen-space quads from a
// glyph atlas, with the device's states saved and restored around each call.
#pragma once

#include <d3dx9core.h>

#include <memory>
#include <vector>

#include "com/com_object.h"
#include "d3dx9/font/font_interface.h"
#include "d3dx9/font/glyph_atlas.h"
#include "text/font.h"

namespace quorvane::d3dx9 {

class DeviceStateSaver;

class Font final : public FontInterface {
public:
    static HRESULT Create(IDirect3DDevice9* device, const D3DXFONT_DESCW& desc, Font** font);

    HRESULT GetDevice(LPDIRECT3DDEVICE9* device) override;
    HRESULT GetDescW(D3DXFONT_DESCW* desc) override;
    HRESULT PreloadTextW(LPCWSTR string, INT count) override;
    INT DrawTextW(LPD3DXSPRITE sprite, LPCWSTR string, INT count, LPRECT rect, DWORD format, D3DCOLOR color) override;
    HRESULT OnLostDevice() override;
    HRESULT OnResetDevice() override;

private:
    // A screen rectangle [x0, x1) x [y0, y1) in pixels and the atlas texels it shows.
    struct Quad {
        float x0, y0, x1, y1;
        float u0, v0, u1, v1;
    };

    Font(IDirect3DDevice9* device, const D3DXFONT_DESCW& desc, std::unique_ptr<text::Font> font);
    ~Font() override;
    bool Implements(REFIID riid) const override;

    // Adds the quad of an atlas entry placed at (x, y), clipped to `clip` unless null.
    void AddQuad(int x, int y, const GlyphAtlas::Entry& entry, const RECT* clip);
    bool Flush(DeviceStateSaver& states, D3DCOLOR color);
    static void SetDrawingStates(DeviceStateSaver& states, IDirect3DBaseTexture9* texture);

    IDirect3DDevice9* device_;
    D3DXFONT_DESCW desc_;
    std::unique_ptr<text::Font> font_;
    GlyphAtlas atlas_;
    bool lost_ = false;
    std::vector<Quad> pending_;
};

}  // namespace quorvane::d3dx9

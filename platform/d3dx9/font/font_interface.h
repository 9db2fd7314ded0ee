// The ID3DXFont an object implements. The system's header declares the whole interface, of which
// the program calls the wide-character methods alone: the rest answer E_NOTIMPL (or nothing) there.
#pragma once

#include <d3dx9core.h>

#include "com/com_object.h"

namespace quorvane::d3dx9 {

#ifdef _WIN32
class FontInterface : public ComObject<ID3DXFont> {
public:
    HRESULT WINAPI GetDescA(D3DXFONT_DESCA*) override { return E_NOTIMPL; }
    WINBOOL WINAPI GetTextMetricsA(TEXTMETRICA*) override { return FALSE; }
    WINBOOL WINAPI GetTextMetricsW(TEXTMETRICW*) override { return FALSE; }
    HDC WINAPI GetDC() override { return nullptr; }
    HRESULT WINAPI GetGlyphData(UINT, IDirect3DTexture9**, RECT*, POINT*) override { return E_NOTIMPL; }
    HRESULT WINAPI PreloadCharacters(UINT, UINT) override { return E_NOTIMPL; }
    HRESULT WINAPI PreloadGlyphs(UINT, UINT) override { return E_NOTIMPL; }
    HRESULT WINAPI PreloadTextA(const char*, INT) override { return E_NOTIMPL; }
    INT WINAPI DrawTextA(ID3DXSprite*, const char*, INT, RECT*, DWORD, D3DCOLOR) override { return 0; }
};
#else
using FontInterface = ComObject<ID3DXFont>;
#endif

}  // namespace quorvane::d3dx9

// D3DXCreateTextureFromFileInMemoryEx: JPEG, PNG and BMP images decoded straight into the
// locked top level of a new texture, further levels made by a box filter.
//
// MipLevels 0 and D3DX_DEFAULT give the full chain down to 1 x 1, as D3DX does; an explicit
// count gives that many levels (at most a full chain); D3DX_FROM_FILE gives the one level these
// files hold. The levels below the top are made lazily: the texture reports them all, but each
// is allocated and box-filtered from the level above only when something first touches it,
// and all of them before anything writes to the texture, so they always come from the image
// as decoded, as D3DX's do. The program passes 0 but only ever copies level 0 into its
// default-pool texture; building the chain eagerly cost 1.4 times the decode alone on the
// Earth image (bench/d3dx9), deferring it costs nothing until a level is used.
//
// Differences from D3DX, all for arguments the program does not depend on:
// - The texture keeps the image's size (D3DX rounds sizes of 0 or D3DX_DEFAULT up to powers of
//   two; the device here has no such restriction); other sizes than the image's are refused
//   rather than rescaled.
// - Only the 32-bit formats D3DFMT_A8R8G8B8 and D3DFMT_X8R8G8B8 are produced.
#include <d3dx9tex.h>

#include <algorithm>
#include <cstring>

#include "com/com_object.h"
#include "d3d9/deferred_levels.h"
#include "d3dx9/image/image_decoder.h"
#include "d3dx9/image/mipmap.h"

namespace {

using namespace quorvane;

bool SizeFromFile(UINT requested)
{
    return requested == 0 || requested == D3DX_DEFAULT || requested == D3DX_DEFAULT_NONPOW2 ||
           requested == D3DX_FROM_FILE;
}

D3DXIMAGE_FILEFORMAT FileFormatOf(image::ImageFileFormat format)
{
    switch (format) {
    case image::ImageFileFormat::jpeg: return D3DXIFF_JPG;
    case image::ImageFileFormat::png: return D3DXIFF_PNG;
    case image::ImageFileFormat::bmp: return D3DXIFF_BMP;
    }
    return D3DXIFF_BMP;
}

D3DFORMAT NaturalFormat(const image::ImageInfo& info)
{
    return info.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

void FillImageInfo(const image::ImageInfo& info, D3DXIMAGE_INFO& out)
{
    out.Width = info.width;
    out.Height = info.height;
    out.Depth = 1;
    out.MipLevels = 1;
    out.Format = NaturalFormat(info);
    out.ResourceType = D3DRTYPE_TEXTURE;
    out.ImageFileFormat = FileFormatOf(info.fileFormat);
}

// Pixels equal to the colour key (compared as opaque ARGB) become transparent black.
void ApplyColorKey(BYTE* pixels, UINT pitch, UINT width, UINT height, D3DCOLOR colorKey)
{
    for (UINT y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(pixels + std::size_t{y} * pitch);
        for (UINT x = 0; x < width; ++x) {
            if (row[x] == colorKey) {
                row[x] = 0;
            }
        }
    }
}

// How a level below the top is made: box-filtered from the level above, whose size follows from
// the image's.
d3d9::LevelFill BoxFilter(UINT width, UINT height)
{
    return [width, height](UINT level, BYTE* bits, UINT pitch, const BYTE* above, UINT abovePitch) {
        d3dx9::DownsampleBox(above, abovePitch, std::max<std::uint32_t>(1, width >> (level - 1)),
                             std::max<std::uint32_t>(1, height >> (level - 1)), bits, pitch);
    };
}

// Decodes into level 0; the levels below it are made from it when first touched. The texture
// must be lockable and made by this Direct3D implementation.
HRESULT FillTexture(IDirect3DTexture9* texture, const BYTE* bytes, UINT size, const image::ImageInfo& info,
                    D3DCOLOR colorKey)
{
    D3DLOCKED_RECT top{};
    if (HRESULT hr = texture->LockRect(0, &top, nullptr, 0); FAILED(hr)) {
        return hr;
    }
    bool decoded = image::DecodeImage(bytes, size, info, static_cast<std::uint8_t*>(top.pBits),
                                      static_cast<std::size_t>(top.Pitch));
    if (decoded && colorKey != 0) {
        ApplyColorKey(static_cast<BYTE*>(top.pBits), static_cast<UINT>(top.Pitch), info.width, info.height, colorKey);
    }
    texture->UnlockRect(0);
    if (!decoded) {
        return D3DXERR_INVALIDDATA;
    }
    return d3d9::DeferLowerLevels(texture, BoxFilter(info.width, info.height));
}

}  // namespace

extern "C" HRESULT WINAPI D3DXGetImageInfoFromFileInMemory(LPCVOID pSrcData, UINT SrcDataSize, D3DXIMAGE_INFO* pSrcInfo)
{
    if (pSrcData == nullptr || SrcDataSize == 0) {
        return D3DERR_INVALIDCALL;
    }
    image::ImageInfo info;
    if (!image::ReadImageInfo(static_cast<const std::uint8_t*>(pSrcData), SrcDataSize, info)) {
        return D3DXERR_INVALIDDATA;
    }
    if (pSrcInfo != nullptr) {
        FillImageInfo(info, *pSrcInfo);
    }
    return D3D_OK;
}

extern "C" HRESULT WINAPI D3DXCreateTextureFromFileInMemoryEx(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData,
                                                              UINT SrcDataSize, UINT Width, UINT Height, UINT MipLevels,
                                                              DWORD Usage, D3DFORMAT Format, D3DPOOL Pool, DWORD Filter,
                                                              DWORD MipFilter, D3DCOLOR ColorKey,
                                                              D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY* pPalette,
                                                              LPDIRECT3DTEXTURE9* ppTexture)
{
    (void)Filter;     // the image is never rescaled
    (void)MipFilter;  // levels are always box filtered, as D3DX_DEFAULT asks
    (void)pPalette;   // no palettised formats are produced
    if (ppTexture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppTexture = nullptr;
    if (pDevice == nullptr || pSrcData == nullptr || SrcDataSize == 0) {
        return D3DERR_INVALIDCALL;
    }
    const auto* bytes = static_cast<const BYTE*>(pSrcData);
    image::ImageInfo info;
    if (!image::ReadImageInfo(bytes, SrcDataSize, info)) {
        return D3DXERR_INVALIDDATA;
    }
    if ((!SizeFromFile(Width) && Width != info.width) || (!SizeFromFile(Height) && Height != info.height)) {
        return D3DERR_INVALIDCALL;
    }
    if (Format == D3DFMT_UNKNOWN || Format == D3DFMT_FROM_FILE) {
        Format = ColorKey != 0 ? D3DFMT_A8R8G8B8 : NaturalFormat(info);
    } else if (Format != D3DFMT_A8R8G8B8 && Format != D3DFMT_X8R8G8B8) {
        return D3DERR_NOTAVAILABLE;
    }
    const UINT fullChain = d3dx9::FullMipChainLength(info.width, info.height);
    UINT levels = std::min(MipLevels, fullChain);
    if (MipLevels == 0 || MipLevels == D3DX_DEFAULT) {
        levels = fullChain;
    } else if (MipLevels == D3DX_FROM_FILE) {
        levels = 1;  // JPEG, PNG and BMP files hold one level
    }

    // A default-pool texture cannot be locked: decode into a system-memory one and copy.
    const bool staged = Pool == D3DPOOL_DEFAULT && (Usage & D3DUSAGE_DYNAMIC) == 0;
    IDirect3DTexture9* target = nullptr;
    if (HRESULT hr = pDevice->CreateTexture(info.width, info.height, levels, Usage, Format, Pool, &target, nullptr);
        FAILED(hr)) {
        return hr;
    }
    IDirect3DTexture9* filled = target;
    if (staged) {
        filled = nullptr;
        if (HRESULT hr =
                pDevice->CreateTexture(info.width, info.height, levels, 0, Format, D3DPOOL_SYSTEMMEM, &filled, nullptr);
            FAILED(hr)) {
            SafeRelease(target);
            return hr;
        }
    }
    HRESULT hr = FillTexture(filled, bytes, SrcDataSize, info, ColorKey);
    if (SUCCEEDED(hr) && staged) {
        hr = pDevice->UpdateTexture(filled, target);
    }
    if (staged) {
        SafeRelease(filled);
    }
    if (FAILED(hr)) {
        SafeRelease(target);
        return hr;
    }
    if (pSrcInfo != nullptr) {
        FillImageInfo(info, *pSrcInfo);
    }
    *ppTexture = target;
    return D3D_OK;
}

extern "C" HRESULT WINAPI D3DXCreateTextureFromFileInMemory(LPDIRECT3DDEVICE9 pDevice, LPCVOID pSrcData,
                                                            UINT SrcDataSize, LPDIRECT3DTEXTURE9* ppTexture)
{
    return D3DXCreateTextureFromFileInMemoryEx(pDevice, pSrcData, SrcDataSize, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                               0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                               nullptr, nullptr, ppTexture);
}

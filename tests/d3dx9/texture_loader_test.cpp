// D3DXCreateTextureFromFileInMemoryEx with the arguments the program passes, and around them.
#include <d3dx9.h>
#include <gtest/gtest.h>

#include <cstring>

#include "device_test.h"
#include "image_samples.h"
#include "jpeg_reference.h"

namespace quorvane::tests {
namespace {

class TextureLoaderTest : public DeviceTest {
protected:
    // Every texture released: nothing but the fixture holds the device.

    // The call as the program makes it: sizes 0, mip levels 0,
    // unknown format, system memory, default filters, no colour key.
    HRESULT Load(const std::vector<std::uint8_t>& bytes, IDirect3DTexture9** texture, D3DXIMAGE_INFO* info = nullptr)
    {
        return D3DXCreateTextureFromFileInMemoryEx(device(), bytes.data(), static_cast<UINT>(bytes.size()), 0, 0, 0, 0,
                                                   D3DFMT_UNKNOWN, D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0,
                                                   info, nullptr, texture);
    }

    // The same call with a chosen mip level count, pool and colour key.
    HRESULT LoadWith(const std::vector<std::uint8_t>& bytes, UINT mipLevels, D3DPOOL pool, IDirect3DTexture9** texture,
                     D3DCOLOR colorKey = 0)
    {
        return D3DXCreateTextureFromFileInMemoryEx(device(), bytes.data(), static_cast<UINT>(bytes.size()), 0, 0,
                                                   mipLevels, 0, D3DFMT_UNKNOWN, pool, D3DX_DEFAULT, D3DX_DEFAULT,
                                                   colorKey, nullptr, nullptr, texture);
    }

    // Level `level` as 0xAARRGGBB texels.
    static std::vector<DWORD> ReadLevel(IDirect3DTexture9* texture, UINT level)
    {
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(level, &desc);
        std::vector<DWORD> texels(std::size_t{desc.Width} * desc.Height);
        D3DLOCKED_RECT locked{};
        if (texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY) != D3D_OK) {
            return {};
        }
        for (UINT y = 0; y < desc.Height; ++y) {
            std::memcpy(&texels[std::size_t{y} * desc.Width],
                        static_cast<BYTE*>(locked.pBits) + std::size_t{y} * static_cast<UINT>(locked.Pitch),
                        desc.Width * 4);
        }
        texture->UnlockRect(level);
        return texels;
    }

    // The texture drawn over the whole back buffer with lighting off and point sampling,
    // its levels from `firstLevel` on; what the back buffer then shows.
    std::vector<DWORD> DrawFullScreen(IDirect3DTexture9* texture, DWORD firstLevel = 0)
    {
        struct Vertex {
            float x, y, z, rhw;
            float u, v;
        };
        const float w = 64, h = 48;
        const Vertex quad[4] = {{-0.5f, -0.5f, 0, 1, 0, 0},
                                {w - 0.5f, -0.5f, 0, 1, 1, 0},
                                {-0.5f, h - 0.5f, 0, 1, 0, 1},
                                {w - 0.5f, h - 0.5f, 0, 1, 1, 1}};
        IDirect3DDevice9* d = device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        d->SetTexture(0, texture);
        d->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_POINT);
        d->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, firstLevel);
        d->SetFVF(D3DFVF_XYZRHW | D3DFVF_TEX1);
        const HRESULT drawn = d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(Vertex));
        d->EndScene();
        d->SetTexture(0, nullptr);
        return drawn == D3D_OK ? ReadBackBuffer() : std::vector<DWORD>{};
    }
};

// R, G, B, A bytes as 0xAARRGGBB texels.
std::vector<DWORD> ToArgb(const std::vector<std::uint8_t>& rgba)
{
    std::vector<DWORD> texels(rgba.size() / 4);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        texels[i] =
            DWORD{rgba[i * 4 + 3]} << 24 | DWORD{rgba[i * 4]} << 16 | DWORD{rgba[i * 4 + 1]} << 8 | rgba[i * 4 + 2];
    }
    return texels;
}

// The level below a width x height level with both sides even: each channel the rounded
// average of its 2 x 2 block.
std::vector<DWORD> HalveEven(const std::vector<DWORD>& texels, UINT width, UINT height)
{
    std::vector<DWORD> half(std::size_t{width / 2} * (height / 2));
    for (UINT y = 0; y < height / 2; ++y) {
        for (UINT x = 0; x < width / 2; ++x) {
            DWORD texel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                unsigned sum = 0;
                for (UINT dy = 0; dy < 2; ++dy) {
                    for (UINT dx = 0; dx < 2; ++dx) {
                        sum += (texels[(2 * y + dy) * width + 2 * x + dx] >> shift) & 0xFF;
                    }
                }
                texel |= DWORD{(sum + 2) / 4} << shift;
            }
            half[std::size_t{y} * (width / 2) + x] = texel;
        }
    }
    return half;
}

TEST_F(TextureLoaderTest, JpegBecomesASystemMemoryTextureEqualToTurboJpegsDecode)
{
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(PatternRgba(37, 23), 37, 23, 85);
    IDirect3DTexture9* texture = nullptr;
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(Load(jpeg, &texture, &info), D3D_OK);
    ASSERT_NE(texture, nullptr);

    D3DSURFACE_DESC desc{};
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(desc.Width, 37u);
    EXPECT_EQ(desc.Height, 23u);
    EXPECT_EQ(texture->GetLevelCount(), 6u);  // the full chain: 37x23 down to 1x1
    EXPECT_EQ(info.Width, 37u);
    EXPECT_EQ(info.Height, 23u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_JPG);
    EXPECT_EQ(info.ResourceType, D3DRTYPE_TEXTURE);

    const JpegReference reference = DecodeWithTurboJpeg(jpeg);
    ASSERT_EQ(reference.width, 37);
    const std::vector<std::uint32_t> pixels = reference.Pixels();
    EXPECT_EQ(ReadLevel(texture, 0), std::vector<DWORD>(pixels.begin(), pixels.end()));
    texture->Release();
}

TEST_F(TextureLoaderTest, PngKeepsItsAlphaInA8R8G8B8AndOpaquePngIsX8R8G8B8)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(5, 4);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load(EncodePng(rgba, 5, 4, true), &texture), D3D_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    const std::vector<DWORD> texels = ReadLevel(texture, 0);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        const DWORD expected =
            DWORD{rgba[i * 4 + 3]} << 24 | DWORD{rgba[i * 4]} << 16 | DWORD{rgba[i * 4 + 1]} << 8 | rgba[i * 4 + 2];
        EXPECT_EQ(texels[i], expected) << i;
    }
    texture->Release();

    ASSERT_EQ(Load(EncodePng(rgba, 5, 4, false), &texture), D3D_OK);
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
    texture->Release();
}

TEST_F(TextureLoaderTest, MipLevelsAreTwoByTwoAveragesOfTheLevelAbove)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(8, 6);
    const std::vector<std::uint8_t> png = EncodePng(rgba, 8, 6, true);
    IDirect3DTexture9* texture = nullptr;
    // More levels than the chain has: the full chain, 8x6, 4x3, 2x1, 1x1.
    ASSERT_EQ(LoadWith(png, 9, D3DPOOL_SYSTEMMEM, &texture), D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 4u);
    UINT width = 8;
    for (UINT level = 1; level < texture->GetLevelCount(); ++level) {
        const std::vector<DWORD> above = ReadLevel(texture, level - 1);
        const std::vector<DWORD> below = ReadLevel(texture, level);
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(level, &desc);
        for (UINT y = 0; y < desc.Height; ++y) {
            for (UINT x = 0; x < desc.Width; ++x) {
                for (int shift = 0; shift < 32; shift += 8) {
                    unsigned sum = 0;
                    for (UINT dy = 0; dy < 2; ++dy) {
                        for (UINT dx = 0; dx < 2; ++dx) {
                            sum += (above[(2 * y + dy) * width + 2 * x + dx] >> shift) & 0xFF;
                        }
                    }
                    EXPECT_EQ((below[y * desc.Width + x] >> shift) & 0xFF, (sum + 2) / 4)
                        << level << ": " << x << "," << y;
                }
            }
        }
        width = desc.Width;
        if (desc.Height == 1 || desc.Width == 1) {
            break;  // the last levels average pairs only; the 2x2 rule above covers the rest
        }
    }
    texture->Release();
}

TEST_F(TextureLoaderTest, MipLevelsZeroAndDefaultGiveTheFullChainAndFromFileTheFilesOneLevel)
{
    const std::vector<std::uint8_t> png = EncodePng(PatternRgba(37, 23), 37, 23, false);
    const UINT expected[][2] = {{37, 23}, {18, 11}, {9, 5}, {4, 2}, {2, 1}, {1, 1}};
    for (UINT mipLevels : {0u, UINT(D3DX_DEFAULT)}) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(LoadWith(png, mipLevels, D3DPOOL_SYSTEMMEM, &texture), D3D_OK);
        ASSERT_EQ(texture->GetLevelCount(), 6u) << mipLevels;
        for (UINT level = 0; level < 6; ++level) {
            D3DSURFACE_DESC desc{};
            ASSERT_EQ(texture->GetLevelDesc(level, &desc), D3D_OK);
            EXPECT_EQ(desc.Width, expected[level][0]) << level;
            EXPECT_EQ(desc.Height, expected[level][1]) << level;
        }
        texture->Release();
    }
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(LoadWith(png, D3DX_FROM_FILE, D3DPOOL_SYSTEMMEM, &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    texture->Release();
}

TEST_F(TextureLoaderTest, LevelsMadeOnFirstTouchAreAveragesOfTheImageWhicheverIsTouchedFirst)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(4, 4);
    const std::vector<DWORD> half = HalveEven(ToArgb(rgba), 4, 4);
    const std::vector<DWORD> quarter = HalveEven(half, 2, 2);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load(EncodePng(rgba, 4, 4, true), &texture), D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 3u);
    // The smallest level first; the one between is made on the way.
    EXPECT_EQ(ReadLevel(texture, 2), quarter);
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &surface), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (UINT y = 0; y < 2; ++y) {
        const auto* row = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + y * UINT(locked.Pitch));
        EXPECT_EQ(row[0], half[y * 2]) << y;
        EXPECT_EQ(row[1], half[y * 2 + 1]) << y;
    }
    surface->UnlockRect();
    surface->Release();
    texture->Release();
}

TEST_F(TextureLoaderTest, WritingALevelLeavesTheOthersAsMadeFromTheDecodedImage)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(4, 4);
    const std::vector<DWORD> half = HalveEven(ToArgb(rgba), 4, 4);
    const std::vector<DWORD> quarter = HalveEven(half, 2, 2);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load(EncodePng(rgba, 4, 4, true), &texture), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(texture->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (UINT y = 0; y < 4; ++y) {
        std::memset(static_cast<BYTE*>(locked.pBits) + y * UINT(locked.Pitch), 0xFF, 4 * 4);
    }
    texture->UnlockRect(0);
    EXPECT_EQ(ReadLevel(texture, 0), std::vector<DWORD>(16, 0xFFFFFFFF));
    EXPECT_EQ(ReadLevel(texture, 1), half);
    EXPECT_EQ(ReadLevel(texture, 2), quarter);
    texture->Release();

    // A level in the middle written first: the one below still comes from the image.
    ASSERT_EQ(Load(EncodePng(rgba, 4, 4, true), &texture), D3D_OK);
    ASSERT_EQ(texture->LockRect(1, &locked, nullptr, 0), D3D_OK);
    std::memset(locked.pBits, 0, 2 * 4);
    texture->UnlockRect(1);
    EXPECT_EQ(ReadLevel(texture, 2), quarter);
    texture->Release();
}

TEST_F(TextureLoaderTest, CopiesReadAndWriteLevelsMadeOnFirstTouch)
{
    // UpdateSurface from a level nothing has touched yet, onto the back buffer.
    const std::vector<std::uint8_t> rgba = PatternRgba(8, 8);
    const std::vector<DWORD> half = HalveEven(ToArgb(rgba), 8, 8);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(Load(EncodePng(rgba, 8, 8, false), &texture), D3D_OK);
    IDirect3DSurface9* level = nullptr;
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    const POINT at{10, 20};
    ASSERT_EQ(device()->UpdateSurface(level, nullptr, backBuffer, &at), D3D_OK);
    std::vector<DWORD> pixels = ReadBackBuffer();
    ASSERT_FALSE(pixels.empty());
    for (UINT y = 0; y < 4; ++y) {
        for (UINT x = 0; x < 4; ++x) {
            EXPECT_EQ(At(pixels, 10 + x, 20 + y) & 0xFFFFFF, half[y * 4 + x] & 0xFFFFFF) << x << "," << y;
        }
    }
    level->Release();
    texture->Release();

    // GetRenderTargetData into a level not made yet: the level below keeps the image's average.
    const std::vector<std::uint8_t> large = PatternRgba(128, 96);
    ASSERT_EQ(Load(EncodePng(large, 128, 96, false), &texture), D3D_OK);
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
    ASSERT_EQ(device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 1.0f, 0), D3D_OK);
    ASSERT_EQ(device()->GetRenderTargetData(backBuffer, level), D3D_OK);
    const std::vector<DWORD> top = ReadLevel(texture, 0);
    EXPECT_EQ(ReadLevel(texture, 1)[0] & 0xFFFFFF, 0x102030u);
    EXPECT_EQ(ReadLevel(texture, 2), HalveEven(HalveEven(top, 128, 96), 64, 48));
    level->Release();
    backBuffer->Release();
    texture->Release();
}

TEST_F(TextureLoaderTest, DefaultPoolTextureGetsEveryLevelThroughUpdateTexture)
{
    const std::vector<std::uint8_t> rgba = PatternRgba(8, 8);
    const std::vector<DWORD> half = HalveEven(ToArgb(rgba), 8, 8);
    const std::vector<std::uint8_t> png = EncodePng(rgba, 8, 8, false);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(LoadWith(png, 0, D3DPOOL_DEFAULT, &texture), D3D_OK);
    ASSERT_EQ(texture->GetLevelCount(), 4u);
    // Level 1 (4x4) alone drawn over 64x48: texel (1, 2) covers pixels x 16..31, y 24..35.
    const std::vector<DWORD> pixels = DrawFullScreen(texture, 1);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(At(pixels, 24, 30) & 0xFFFFFF, half[2 * 4 + 1] & 0xFFFFFF);
    EXPECT_EQ(At(pixels, 56, 4) & 0xFFFFFF, half[3] & 0xFFFFFF);
    texture->Release();
}

TEST_F(TextureLoaderTest, LevelCountsAsAskedAndBitmapsToo)
{
    const std::vector<std::uint8_t> bmp = EncodeBmp24(PatternRgba(6, 3), 6, 3);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(LoadWith(bmp, 2, D3DPOOL_SYSTEMMEM, &texture), D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 2u);
    texture->Release();
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXCreateTextureFromFileInMemoryEx(device(), bmp.data(), UINT(bmp.size()), D3DX_DEFAULT_NONPOW2,
                                                  D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                                  D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, &info, nullptr, &texture),
              D3D_OK);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_BMP);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(ReadLevel(texture, 0)[0] >> 24, 0xFFu);  // a 24-bit bitmap is opaque
    texture->Release();
}

TEST_F(TextureLoaderTest, ColorKeyMakesMatchingTexelsTransparentBlack)
{
    std::vector<std::uint8_t> rgba(4 * 4, 0);
    const std::uint8_t magenta[4] = {255, 0, 255, 255};
    const std::uint8_t green[4] = {0, 255, 0, 255};
    std::memcpy(&rgba[0], magenta, 4);
    std::memcpy(&rgba[4], green, 4);
    std::memcpy(&rgba[8], magenta, 4);
    std::memcpy(&rgba[12], green, 4);
    const std::vector<std::uint8_t> png = EncodePng(rgba, 2, 2, false);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(LoadWith(png, 1, D3DPOOL_SYSTEMMEM, &texture, 0xFFFF00FF), D3D_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(ReadLevel(texture, 0), (std::vector<DWORD>{0, 0xFF00FF00, 0, 0xFF00FF00}));
    texture->Release();
}

TEST_F(TextureLoaderTest, DefaultPoolTextureIsFilledThroughASystemMemoryCopy)
{
    // Drawn full screen with lighting off, the default-pool texture shows its texels.
    const std::vector<std::uint8_t> rgba = PatternRgba(4, 4);
    const std::vector<std::uint8_t> png = EncodePng(rgba, 4, 4, false);
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(LoadWith(png, 1, D3DPOOL_DEFAULT, &texture), D3D_OK);
    D3DSURFACE_DESC desc{};
    texture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);

    const std::vector<DWORD> pixels = DrawFullScreen(texture);
    ASSERT_FALSE(pixels.empty());
    // Texel (1, 2) covers pixels x 16..31, y 24..35 with point sampling.
    const std::uint8_t* texel = &rgba[(2 * 4 + 1) * 4];
    EXPECT_EQ(At(pixels, 24, 30) & 0xFFFFFF, DWORD{texel[0]} << 16 | DWORD{texel[1]} << 8 | texel[2]);
    texture->Release();
}

TEST_F(TextureLoaderTest, BytesThatAreNoWholeImageAreInvalidDataAndLeaveNothing)
{
    const std::vector<std::uint8_t> jpeg = EncodeJpeg(PatternRgba(16, 16), 16, 16, 90);
    const std::vector<std::uint8_t> png = EncodePng(PatternRgba(16, 16), 16, 16, true);
    const std::vector<std::uint8_t> garbage(300, 0x5A);
    for (const auto& whole : {jpeg, png, garbage}) {
        for (std::size_t size : {whole.size() / 2, whole.size() - 1, std::size_t{3}}) {
            IDirect3DTexture9* texture = reinterpret_cast<IDirect3DTexture9*>(0x1);
            const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + std::ptrdiff_t(size));
            EXPECT_EQ(Load(cut, &texture), D3DXERR_INVALIDDATA) << size;
            EXPECT_EQ(texture, nullptr);
        }
    }
    // Sides over the bound are refused before any texture is made.
    const std::vector<std::uint8_t> wide = EncodePng(PatternRgba(16385, 1), 16385, 1, false);
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(Load(wide, &texture), D3DXERR_INVALIDDATA);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(TextureLoaderTest, ArgumentsOutsideTheSupportedSetAreRefused)
{
    const std::vector<std::uint8_t> png = EncodePng(PatternRgba(4, 4), 4, 4, false);
    IDirect3DTexture9* texture = nullptr;
    const UINT size = UINT(png.size());
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(nullptr, png.data(), size, 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                                  D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                                  &texture),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(device(), png.data(), size, 8, 8, 0, 0, D3DFMT_UNKNOWN,
                                                  D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                                  &texture),
              D3DERR_INVALIDCALL);  // rescaling is not offered
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(device(), png.data(), size, 0, 0, 0, 0, D3DFMT_R5G6B5,
                                                  D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                                  &texture),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(D3DXCreateTextureFromFileInMemoryEx(device(), png.data(), size, 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                                  D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                                  nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
}

}  // namespace
}  // namespace quorvane::tests

// System-memory textures bound to a stage draw exactly as the same image in the default pool,
// follow what is written into them between draws, and keep drawing across a device reset.
#include <quorvane_testing.h>

#include <cstring>

#include "back_buffer.h"
#include "device_test.h"

namespace quorvane::tests {
namespace {

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float u, v;
};
constexpr DWORD screenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// Four texels across, two down; every one different.
const std::vector<DWORD> texels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                                   0xFF808000, 0xFF008080, 0xFF800080, 0xFF404040};
constexpr UINT texelsWide = 4;
constexpr UINT texelsHigh = 2;
// Each texel covers a cell of this many pixels in both directions.
constexpr UINT cell = 8;

class SystemTextureTest : public DeviceTest {
protected:
    IDirect3DTexture9* MakeSystemTexture(const std::vector<DWORD>& values)
    {
        IDirect3DTexture9* texture = nullptr;
        EXPECT_EQ(device()->CreateTexture(texelsWide, texelsHigh, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &texture,
                                          nullptr),
                  D3D_OK);
        if (texture)
            WriteBlock(texture, 0, 0, values, texelsWide, texelsHigh);
        return texture;
    }

    // Writes a width x height block of `values` at (x, y) through LockRect.
    static void WriteBlock(IDirect3DTexture9* texture, UINT x, UINT y, const std::vector<DWORD>& values, UINT width,
                           UINT height)
    {
        RECT rect{LONG(x), LONG(y), LONG(x + width), LONG(y + height)};
        D3DLOCKED_RECT locked{};
        ASSERT_EQ(texture->LockRect(0, &locked, &rect, 0), D3D_OK);
        for (UINT row = 0; row < height; ++row)
            std::memcpy(static_cast<BYTE*>(locked.pBits) + size_t(row) * locked.Pitch, &values[size_t(row) * width],
                        width * 4);
        texture->UnlockRect(0);
    }

    // The texture stretched over a cell-sized grid with its top left corner at (left, 0).
    void DrawTextureAt(IDirect3DBaseTexture9* texture, float left)
    {
        float x0 = left - 0.5f, y0 = -0.5f;
        float x1 = x0 + float(texelsWide * cell), y1 = y0 + float(texelsHigh * cell);
        ScreenVertex quad[] = {{x0, y0, 0.5f, 1, 0xFFFFFFFF, 0, 0},
                               {x1, y0, 0.5f, 1, 0xFFFFFFFF, 1, 0},
                               {x0, y1, 0.5f, 1, 0xFFFFFFFF, 0, 1},
                               {x1, y1, 0.5f, 1, 0xFFFFFFFF, 1, 1}};
        ASSERT_EQ(device()->SetTexture(0, texture), D3D_OK);
        device()->SetFVF(screenFvf);
        EXPECT_EQ(device()->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    }

    std::vector<DWORD> DrawFrame(IDirect3DBaseTexture9* texture, float left = 0)
    {
        device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device()->BeginScene();
        DrawTextureAt(texture, left);
        device()->EndScene();
        device()->SetTexture(0, nullptr);
        return ReadBackBuffer();
    }

    // The colour at the centre of the cell of texel (u, v) drawn from `left`.
    DWORD CellColour(const std::vector<DWORD>& pixels, UINT left, UINT u, UINT v) const
    {
        return Rgb(At(pixels, left + u * cell + cell / 2, v * cell + cell / 2));
    }
};

TEST_F(SystemTextureTest, DrawsPixelForPixelAsTheSameImageInTheDefaultPool)
{
    IDirect3DTexture9* system = MakeSystemTexture(texels);
    IDirect3DTexture9* video = MakeTexture(texelsWide, texelsHigh, texels);
    ASSERT_NE(system, nullptr);
    ASSERT_NE(video, nullptr);
    const UINT right = texelsWide * cell;  // the second copy sits beside the first
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device()->BeginScene();
    DrawTextureAt(video, 0);
    DrawTextureAt(system, float(right));
    device()->EndScene();
    device()->SetTexture(0, nullptr);
    std::vector<DWORD> pixels = ReadBackBuffer();
    ASSERT_TRUE(SavePng("system_and_default.png"));
    system->Release();
    video->Release();
    ASSERT_FALSE(pixels.empty());
    for (UINT y = 0; y < texelsHigh * cell; ++y)
        for (UINT x = 0; x < right; ++x)
            ASSERT_EQ(At(pixels, x + right, y), At(pixels, x, y)) << x << ", " << y;
    for (UINT v = 0; v < texelsHigh; ++v)
        for (UINT u = 0; u < texelsWide; ++u)
            EXPECT_EQ(CellColour(pixels, right, u, v), Rgb(texels[v * texelsWide + u])) << u << ", " << v;
}

TEST_F(SystemTextureTest, WritesBetweenDrawsShowAtTheNextDraw)
{
    IDirect3DTexture9* texture = MakeSystemTexture(texels);
    ASSERT_NE(texture, nullptr);
    std::vector<DWORD> before = DrawFrame(texture);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(CellColour(before, 0, 2, 1), Rgb(texels[6]));

    // A lock of one texel.
    WriteBlock(texture, 2, 1, {0xFF123456}, 1, 1);
    std::vector<DWORD> afterLock = DrawFrame(texture);
    ASSERT_FALSE(afterLock.empty());
    EXPECT_EQ(CellColour(afterLock, 0, 2, 1), 0x123456u);
    EXPECT_EQ(CellColour(afterLock, 0, 1, 1), Rgb(texels[5]));  // its neighbour unchanged

    // A lock through the level's surface.
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(level->LockRect(&locked, nullptr, 0), D3D_OK);
    static_cast<DWORD*>(locked.pBits)[0] = 0xFF654321;
    level->UnlockRect();
    level->Release();
    std::vector<DWORD> afterSurfaceLock = DrawFrame(texture);
    ASSERT_FALSE(afterSurfaceLock.empty());
    EXPECT_EQ(CellColour(afterSurfaceLock, 0, 0, 0), 0x654321u);
    texture->Release();
}

TEST_F(SystemTextureTest, ABackBufferReadIntoItsLevelIsWhatItDrawsNext)
{
    // A texture of the back buffer's size receives the picture through GetRenderTargetData.
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device()->CreateTexture(backBufferWidth, backBufferHeight, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM,
                                      &texture, nullptr),
              D3D_OK);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device()->BeginScene();
    DrawTextureAt(texture, 0);  // the texture's GL copy now exists, all black
    device()->EndScene();
    device()->SetTexture(0, nullptr);
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    ASSERT_EQ(device()->GetRenderTargetData(backBuffer, level), D3D_OK);
    backBuffer->Release();
    level->Release();

    // Cell (0, 0) now holds black (what the first draw put there), the rest blue.
    std::vector<DWORD> pixels = DrawFrame(texture);
    texture->Release();
    ASSERT_FALSE(pixels.empty());
    // The back-buffer-sized texture stretched over 32 x 16 pixels: pixel (x, y) samples texel
    // (2x + 1, 3y + 1.5), outside the 32 x 16 black block from x = 16 or y = 5 on.
    EXPECT_EQ(Rgb(At(pixels, 2, 2)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 20, 10)), 0x0000FFu);
}

TEST_F(SystemTextureTest, DrawsAfterADeviceResetWhileTheDefaultPoolCopyIsGone)
{
    IDirect3DTexture9* system = MakeSystemTexture(texels);
    ASSERT_NE(system, nullptr);
    std::vector<DWORD> before = DrawFrame(system);
    test_controls::LoseDevice(device());
    test_controls::MakeDeviceResettable(device());
    ASSERT_EQ(Reset(), D3D_OK);  // the system-memory texture does not block it
    std::vector<DWORD> after = DrawFrame(system);
    system->Release();
    ASSERT_FALSE(before.empty());
    ASSERT_FALSE(after.empty());
    for (UINT v = 0; v < texelsHigh; ++v)
        for (UINT u = 0; u < texelsWide; ++u)
            EXPECT_EQ(CellColour(after, 0, u, v), Rgb(texels[v * texelsWide + u])) << u << ", " << v;
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace quorvane::tests

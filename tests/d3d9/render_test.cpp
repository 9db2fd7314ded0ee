// Pictures the fixed-function pipeline draws, read back pixel by pixel.
#include "device_fixture.h"

namespace quorvane::tests {
namespace {

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};
constexpr DWORD kScreenFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

using RenderTest = DeviceTest;

TEST_F(RenderTest, ClearFillsTheBackBufferWithTheColour)
{
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0), D3D_OK);
    std::vector<DWORD> pixels = ReadBackBuffer();
    ASSERT_EQ(pixels.size(), size_t(kWidth) * kHeight);
    EXPECT_EQ(At(pixels, 0, 0), 0xFF336699u);
    EXPECT_EQ(At(pixels, kWidth - 1, kHeight - 1), 0xFF336699u);
}

TEST_F(RenderTest, PretransformedQuadCoversItsPixels)
{
    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    ScreenVertex quad[] = {{8, 4, 0.5f, 1, 0xFFFF0000}, {24, 4, 0.5f, 1, 0xFFFF0000},
                           {8, 20, 0.5f, 1, 0xFFFF0000}, {24, 20, 0.5f, 1, 0xFFFF0000}};
    device_->SetFVF(kScreenFvf);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ScreenVertex)), D3D_OK);
    ASSERT_EQ(device_->EndScene(), D3D_OK);
    std::vector<DWORD> pixels = ReadBackBuffer();
    SaveBackBufferPng("quad.png");
    EXPECT_EQ(Rgb(At(pixels, 8, 4)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(pixels, 23, 19)), 0xFF0000u);
    EXPECT_EQ(Rgb(At(pixels, 24, 10)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 10, 20)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 7, 10)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 10, 3)), 0u);
}

}  // namespace
}  // namespace quorvane::tests

#include "device_fixture.h"

#include <quorvane_testing.h>

#include <cstring>

namespace quorvane::tests {

void DeviceTest::SetUp()
{
    window_ = new TestWindow(int(backBufferWidth), int(backBufferHeight));
    ASSERT_NE(window_->Handle(), nullptr);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window_->Handle(), backBufferWidth, backBufferHeight);
    ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_->Handle(),
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device_),
              D3D_OK);
}

void DeviceTest::TearDown()
{
    if (device_) {
        EXPECT_EQ(device_->Release(), 0u);
    }
    if (d3d_) {
        EXPECT_EQ(d3d_->Release(), 0u);
    }
    delete window_;
    test_controls::RestoreDefaults();
}

std::vector<DWORD> DeviceTest::ReadBackBuffer()
{
    return tests::ReadBackBuffer(device_, backBufferWidth, backBufferHeight);
}

void DeviceTest::SaveBackBufferPng(const std::string& name)
{
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_TRUE(test_controls::WriteWindowPng(window_->Handle(), name));
}

IDirect3DTexture9* DeviceTest::MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels)
{
    IDirect3DTexture9* source = nullptr;
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr),
              D3D_OK);
    EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    if (!source || !texture)
        return texture;
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(source->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    for (UINT y = 0; y < height; ++y)
        std::memcpy(static_cast<BYTE*>(locked.pBits) + size_t(y) * locked.Pitch, &texels[size_t(y) * width], width * 4);
    source->UnlockRect(0);
    IDirect3DSurface9* from = nullptr;
    IDirect3DSurface9* to = nullptr;
    source->GetSurfaceLevel(0, &from);
    texture->GetSurfaceLevel(0, &to);
    EXPECT_EQ(device_->UpdateSurface(from, nullptr, to, nullptr), D3D_OK);
    from->Release();
    to->Release();
    source->Release();
    return texture;
}

}  // namespace quorvane::tests

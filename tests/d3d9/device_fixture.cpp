#include "device_fixture.h"

#include <quorvane_testing.h>

#include <cstring>

namespace quorvane::tests {

namespace {

const wchar_t kClassName[] = L"QuorvaneD3D9Test";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterTestClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    registered = RegisterClassExW(&wc) != 0;
}

}  // namespace

TestWindow::TestWindow(int clientWidth, int clientHeight)
{
    RegisterTestClass();
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, L"test", WS_OVERLAPPEDWINDOW, 10, 10, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TestWindow::~TestWindow()
{
    if (window_)
        DestroyWindow(window_);
}

D3DPRESENT_PARAMETERS WindowedParameters(HWND window, UINT width, UINT height)
{
    D3DPRESENT_PARAMETERS pp{};
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    pp.BackBufferFormat = D3DFMT_X8R8G8B8;
    pp.BackBufferCount = 1;
    pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
    pp.hDeviceWindow = window;
    pp.Windowed = TRUE;
    pp.EnableAutoDepthStencil = TRUE;
    pp.AutoDepthStencilFormat = D3DFMT_D16;
    return pp;
}

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

void DeviceTest::SetUp()
{
    window_ = new TestWindow(int(kWidth), int(kHeight));
    ASSERT_NE(window_->Handle(), nullptr);
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(d3d_, nullptr);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window_->Handle(), kWidth, kHeight);
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
    testing::RestoreDefaults();
}

std::vector<DWORD> DeviceTest::ReadBackBuffer()
{
    std::vector<DWORD> pixels;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* copy = nullptr;
    if (device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer) == D3D_OK &&
        device_->CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr) ==
            D3D_OK &&
        device_->GetRenderTargetData(backBuffer, copy) == D3D_OK) {
        D3DLOCKED_RECT locked{};
        if (copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
            pixels.resize(size_t(kWidth) * kHeight);
            for (UINT y = 0; y < kHeight; ++y)
                std::memcpy(&pixels[size_t(y) * kWidth], static_cast<BYTE*>(locked.pBits) + size_t(y) * locked.Pitch,
                            kWidth * 4);
            copy->UnlockRect();
        }
    }
    if (copy)
        copy->Release();
    if (backBuffer)
        backBuffer->Release();
    return pixels;
}

void DeviceTest::SaveBackBufferPng(const std::string& name)
{
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    ASSERT_TRUE(testing::WriteWindowPng(window_->Handle(), name));
}

IDirect3DTexture9* DeviceTest::MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels)
{
    IDirect3DTexture9* source = nullptr;
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr), D3D_OK);
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

#include "headless_device.h"

#include <quorvane_testing.h>

#include <cstring>

namespace quorvane::testing {

HeadlessDevice::HeadlessDevice(UINT width, UINT height)
    : width_(width), height_(height), window_(std::make_unique<tests::TestWindow>(int(width), int(height)))
{
    d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (d3d_ == nullptr || window_->Handle() == nullptr) {
        return;
    }
    D3DPRESENT_PARAMETERS parameters = tests::WindowedParameters(window_->Handle(), width, height);
    d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_->Handle(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                       &parameters, &device_);
}

HeadlessDevice::~HeadlessDevice()
{
    ReleaseDevice();
    if (d3d_ != nullptr) {
        d3d_->Release();
    }
    RestoreDefaults();
}

ULONG HeadlessDevice::ReleaseDevice()
{
    ULONG left = 0;
    if (device_ != nullptr) {
        left = device_->Release();
        device_ = nullptr;
    }
    return left;
}

HRESULT HeadlessDevice::Reset()
{
    D3DPRESENT_PARAMETERS parameters = tests::WindowedParameters(window_->Handle(), width_, height_);
    return device_->Reset(&parameters);
}

std::vector<DWORD> HeadlessDevice::ReadBackBuffer()
{
    std::vector<DWORD> pixels;
    IDirect3DSurface9* backBuffer = nullptr;
    IDirect3DSurface9* copy = nullptr;
    if (device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer) == D3D_OK &&
        device_->CreateOffscreenPlainSurface(width_, height_, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &copy, nullptr) ==
            D3D_OK &&
        device_->GetRenderTargetData(backBuffer, copy) == D3D_OK) {
        D3DLOCKED_RECT locked{};
        if (copy->LockRect(&locked, nullptr, D3DLOCK_READONLY) == D3D_OK) {
            pixels.resize(std::size_t{width_} * height_);
            for (UINT y = 0; y < height_; ++y) {
                std::memcpy(&pixels[std::size_t{y} * width_],
                            static_cast<BYTE*>(locked.pBits) + std::size_t{y} * static_cast<UINT>(locked.Pitch),
                            width_ * 4);
            }
            copy->UnlockRect();
        }
    }
    if (copy != nullptr) {
        copy->Release();
    }
    if (backBuffer != nullptr) {
        backBuffer->Release();
    }
    return pixels;
}

bool HeadlessDevice::SavePng(const std::string& path)
{
    return device_->Present(nullptr, nullptr, nullptr, nullptr) == D3D_OK && WriteWindowPng(window_->Handle(), path);
}

}  // namespace quorvane::testing

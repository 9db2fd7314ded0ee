#include "headless_device.h"

#include <quorvane_testing.h>

#include "back_buffer.h"

namespace quorvane::tests {

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
    test_controls::RestoreDefaults();
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
    return tests::ReadBackBuffer(device_, width_, height_);
}

bool HeadlessDevice::SavePng(const std::string& path)
{
    return device_->Present(nullptr, nullptr, nullptr, nullptr) == D3D_OK &&
           test_controls::WriteWindowPng(window_->Handle(), path);
}

}  // namespace quorvane::tests

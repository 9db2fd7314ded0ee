#include "device_fixture.h"

#include <quorvane_testing.h>

#include <cstring>

#include "back_buffer.h"
#include "program_data.h"

namespace quorvane::tests {

namespace {

// Releases what `held` points to, if anything, and forgets it: the reference count left.
template <class Object>
ULONG ReleaseHeld(Object*& held)
{
    const ULONG left = held != nullptr ? held->Release() : 0;
    held = nullptr;
    return left;
}

}  // namespace

DeviceFixture::DeviceFixture(UINT width, UINT height)
    : width_(width), height_(height), window_(std::make_unique<TestWindow>(int(width), int(height)))
{
    direct3d_ = Direct3DCreate9(D3D_SDK_VERSION);
    if (direct3d_ == nullptr || window() == nullptr) {
        return;
    }
    D3DPRESENT_PARAMETERS parameters = Parameters();
    direct3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window(), D3DCREATE_HARDWARE_VERTEXPROCESSING,
                            &parameters, &device_);
}

DeviceFixture::~DeviceFixture()
{
    ReleaseDevice();
    ReleaseDirect3D();
    window_.reset();
    test_controls::RestoreDefaults();
}

ULONG DeviceFixture::ReleaseDevice()
{
    return ReleaseHeld(device_);
}

ULONG DeviceFixture::ReleaseDirect3D()
{
    return ReleaseHeld(direct3d_);
}

D3DPRESENT_PARAMETERS DeviceFixture::Parameters() const
{
    return WindowedParameters(window(), width_, height_);
}

HRESULT DeviceFixture::Reset()
{
    D3DPRESENT_PARAMETERS parameters = Parameters();
    return device_->Reset(&parameters);
}

std::vector<DWORD> DeviceFixture::ReadBackBuffer() const
{
    return tests::ReadBackBuffer(device_, width_, height_);
}

bool DeviceFixture::SavePng(const std::string& path) const
{
    return device_->Present(nullptr, nullptr, nullptr, nullptr) == D3D_OK &&
           test_controls::WriteWindowPng(window(), path);
}

IDirect3DTexture9* DeviceFixture::MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels,
                                              D3DFORMAT format) const
{
    IDirect3DTexture9* source = nullptr;
    if (device_->CreateTexture(width, height, 1, 0, format, D3DPOOL_SYSTEMMEM, &source, nullptr) != D3D_OK) {
        return nullptr;
    }
    D3DLOCKED_RECT locked{};
    if (source->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD) == D3D_OK) {
        for (UINT y = 0; y < height; ++y) {
            std::memcpy(static_cast<BYTE*>(locked.pBits) + std::size_t{y} * UINT(locked.Pitch),
                        &texels[std::size_t{y} * width], width * 4);
        }
        source->UnlockRect(0);
    }
    IDirect3DTexture9* texture = CopyToDefaultPool(device_, source);
    source->Release();
    return texture;
}

}  // namespace quorvane::tests

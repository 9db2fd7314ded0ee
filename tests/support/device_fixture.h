// A window on the headless display with a windowed Direct3D 9 device in it: what the device
// tests, the D3DX tests and the benchmarks draw on. Tests use it through DeviceTest
// (device_test.h); benchmarks hold one. Its end restores every test control to its default.
#pragma once

#include <d3d9.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "test_window.h"

namespace quorvane::tests {

class DeviceFixture {
public:
    // A width x height back buffer in a window of that client size; device() is null when the
    // window, the runtime or the device could not be made.
    DeviceFixture(UINT width, UINT height);
    ~DeviceFixture();
    DeviceFixture(const DeviceFixture&) = delete;
    DeviceFixture& operator=(const DeviceFixture&) = delete;

    IDirect3DDevice9* device() const { return device_; }
    IDirect3D9* direct3d() const { return direct3d_; }
    HWND window() const { return window_->Handle(); }
    UINT width() const { return width_; }
    UINT height() const { return height_; }

    // Releases the device and the runtime, returning the reference count each had left (0 when
    // nothing else holds it).
    ULONG ReleaseDevice();
    ULONG ReleaseDirect3D();

    // The present parameters the device was made with, and Reset with them.
    D3DPRESENT_PARAMETERS Parameters() const;
    HRESULT Reset();

    // The back buffer as 0xAARRGGBB pixels, top row first (empty on failure), and one pixel of it.
    std::vector<DWORD> ReadBackBuffer() const;
    DWORD At(const std::vector<DWORD>& pixels, UINT x, UINT y) const { return pixels[std::size_t{y} * width_ + x]; }
    // Presents and writes what the window shows as a PNG, for looking at it.
    bool SavePng(const std::string& path) const;

    // A default-pool texture of a 32-bit `format` filled from `texels` (width * height,
    // 0xAARRGGBB) through a system-memory copy.
    IDirect3DTexture9* MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels,
                                   D3DFORMAT format = D3DFMT_A8R8G8B8) const;

private:
    UINT width_;
    UINT height_;
    std::unique_ptr<TestWindow> window_;
    IDirect3D9* direct3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

}  // namespace quorvane::tests

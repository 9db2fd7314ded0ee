// A Direct3D 9 device on the headless display with a back buffer of any size, and the
// read-back of what it drew (GetBackBuffer + GetRenderTargetData + LockRect).
#pragma once

#include <d3d9.h>

#include <memory>
#include <string>
#include <vector>

#include "test_window.h"

namespace quorvane::tests {

class HeadlessDevice {
public:
    HeadlessDevice(UINT width, UINT height);
    ~HeadlessDevice();
    HeadlessDevice(const HeadlessDevice&) = delete;
    HeadlessDevice& operator=(const HeadlessDevice&) = delete;

    IDirect3DDevice9* device() const { return device_; }
    UINT width() const { return width_; }
    UINT height() const { return height_; }
    // The reference count left on the device once the caller's objects are released (0 when
    // nothing else holds it); releases the device.
    ULONG ReleaseDevice();

    // The back buffer as 0xAARRGGBB pixels, top row first (empty on failure).
    std::vector<DWORD> ReadBackBuffer();
    DWORD At(const std::vector<DWORD>& pixels, UINT x, UINT y) const { return pixels[std::size_t{y} * width_ + x]; }
    // Presents and writes what the window shows as a PNG, for looking at it.
    bool SavePng(const std::string& path);
    // Resets the device with its own parameters.
    HRESULT Reset();

private:
    UINT width_;
    UINT height_;
    std::unique_ptr<tests::TestWindow> window_;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

}  // namespace quorvane::tests

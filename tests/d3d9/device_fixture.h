// The fixture of the Direct3D 9 tests: a window on the headless display with a device on it,
// the read-back of what the device drew, and texture upload.
#pragma once

#include <d3d9.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "back_buffer.h"
#include "scene_helpers.h"
#include "test_window.h"

namespace quorvane::tests {

// A device of the given back-buffer size in a window of the same client size.
class DeviceTest : public ::testing::Test {
protected:
    static constexpr UINT backBufferWidth = 64;
    static constexpr UINT backBufferHeight = 48;

    void SetUp() override;
    void TearDown() override;

    // The back buffer as 0xAARRGGBB pixels, top row first (empty on failure).
    std::vector<DWORD> ReadBackBuffer();
    static DWORD At(const std::vector<DWORD>& pixels, UINT x, UINT y)
    {
        return pixels[size_t(y) * backBufferWidth + x];
    }
    // Writes the back buffer as a PNG in the test's folder, for looking at it.
    void SaveBackBufferPng(const std::string& name);

    // A texture in the default pool filled from `texels` (width * height, 0xAARRGGBB), by way
    // of a system-memory texture and UpdateSurface.
    IDirect3DTexture9* MakeTexture(UINT width, UINT height, const std::vector<DWORD>& texels);

    TestWindow* window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
};

// Colour channels of 0xAARRGGBB.
inline int Red(DWORD c)
{
    return int((c >> 16) & 0xFF);
}
inline int Green(DWORD c)
{
    return int((c >> 8) & 0xFF);
}
inline int Blue(DWORD c)
{
    return int(c & 0xFF);
}
inline DWORD Rgb(DWORD c)
{
    return c & 0x00FFFFFF;
}

}  // namespace quorvane::tests

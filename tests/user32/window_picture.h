// What a top-level window shows (its surface: menu bar and client area), read back through the
// test controls, with the probes the window tests make of it.
#pragma once

#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <vector>

namespace quorvane::tests {

struct WindowPicture {
    UINT width = 0;
    UINT height = 0;
    std::vector<DWORD> pixels;

    // The colour (0xRRGGBB) at a pixel of the surface.
    DWORD At(LONG x, LONG y) const { return pixels[std::size_t(y) * width + std::size_t(x)] & 0xFFFFFF; }
    // Text and check marks: darker than a third of full brightness on average.
    bool Dark(LONG x, LONG y) const
    {
        DWORD p = At(x, y);
        return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 0x60;
    }
    int DarkIn(const RECT& r) const
    {
        int count = 0;
        for (LONG y = r.top; y < r.bottom; ++y) {
            for (LONG x = r.left; x < r.right; ++x)
                count += Dark(x, y) ? 1 : 0;
        }
        return count;
    }
};

inline WindowPicture PictureOf(HWND window)
{
    WindowPicture picture;
    EXPECT_TRUE(test_controls::ReadWindowImage(window, picture.width, picture.height, picture.pixels));
    return picture;
}

}  // namespace quorvane::tests

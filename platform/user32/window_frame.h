// The non-client frame of a window: how far its borders, caption and menu bar reach into the
// window rectangle, from its styles (the metrics of Windows 10 at 96 DPI).
#pragma once

#include <windows.h>

namespace quorvane::user32 {

struct FrameInsets {
    LONG left = 0;
    LONG top = 0;
    LONG right = 0;
    LONG bottom = 0;
};

constexpr LONG captionHeight = 23;
constexpr LONG menuBarHeight = 20;

FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu);

}  // namespace quorvane::user32

// Icons and cursors. An icon is loaded from an icon group (RT_GROUP_ICON): of the images
// (RT_ICON) the group lists, the one that best fits the size asked for is decoded (BMP-style
// images of 1, 4, 8, 24 or 32 bits with their AND mask) and scaled to that size if it differs.
#pragma once

#include <windows.h>

#include "display/display.h"

namespace quorvane::user32 {

// The desktop's icon size (SM_CXICON, SM_CYICON) and small icon size.
constexpr int iconSize = 32;
constexpr int smallIconSize = 16;

// A shared icon of the given size: the same resource and size give the same handle.
HICON LoadIconOfSize(HINSTANCE instance, LPCWSTR name, int size);

// The picture of an icon (0xAARRGGBB, top row first), or null for a handle that is not one.
const display::Image* IconImage(HICON icon);

}  // namespace quorvane::user32

// Drawing on a window's surface beside the frame Direct3D presents: the menu bar and pop-ups of
// the menu layer, the faces of dialog boxes. Each is a layer (an image drawn with
// platform/text) that the display composes over the last presented frame, on the GPU, and that
// can be replaced or taken away without a new frame. Coordinates are surface coordinates: the
// menu bar starts at 0, 0 and the client area lies below it (ClientRectInSurface).
#pragma once

#include <windows.h>

#include "display/display.h"

namespace quorvane::user32 {

// The order in which layers are drawn; a higher one covers a lower one.
namespace layers {
constexpr int menuBar = 0;
constexpr int dialogFace = 10;
constexpr int popupMenus = 100;  // one layer per open pop-up, from here upwards
}  // namespace layers

// The client area within the surface of a top-level window (empty for any other).
RECT ClientAreaInSurface(HWND window);

// Screen pixels per program pixel on the window's surface (1 for a window without one): layers
// are drawn at that resolution.
float SurfaceScale(HWND window);

// The image in screen pixels, its corner in the program's.
bool SetSurfaceLayer(HWND window, int layer, POINT at, const display::Image& image);
void RemoveSurfaceLayer(HWND window, int layer);

}  // namespace quorvane::user32

// What Direct3D asks of a window, and all it may ask: a GL context that renders for it, showing
// frames in it, and taking it to full screen and back. Frames go through the window so that its
// non-client parts (menu bar, pop-ups) are composed over them, and full screen goes through it
// so that user32's idea of the window's place and style agrees with the screen.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/display.h"

namespace quorvane::user32 {

// A context of the display for the window's top-level window; null when there is no such
// window or no GL.
display::GLContext* CreateGLContextFor(HWND window);

// Shows the colour attachment of `framebuffer` (the current context's) in the window's client
// area, under the window's layers. False for a window that is not a top-level one.
bool PresentFrame(HWND window, unsigned framebuffer, std::uint32_t width, std::uint32_t height);

// The display switches to the mode and the window covers the screen: popup style, topmost, at
// the origin. Like Direct3D's own window handling, the program's procedure hears nothing of
// these changes (a program sizes its window itself beforehand). False if the mode is refused.
bool EnterFullScreen(HWND window, const display::Mode& mode);
// The desktop's mode comes back, and so do the style, topmost state and place that
// EnterFullScreen changed, unless the program changed them meanwhile.
void LeaveFullScreen(HWND window);

}  // namespace quorvane::user32

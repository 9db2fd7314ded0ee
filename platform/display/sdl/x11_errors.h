// Errors the X server reports about windows that are already gone. The X protocol is
// asynchronous: a request about a window can reach the server after the window was destroyed
// (SDL sends a waiting window a message of its own to wake itself up, from a second connection
// to the server), and Xlib's default answer to the error that follows is to end the program.
// On SDL's X11 driver the display lets such errors pass; every other error still goes to the
// handler that was there before (SDL's, then Xlib's).
#pragma once

namespace quorvane::display::sdl {

// Installs the handler once SDL's video runs on X11; a no-op on other drivers and when called
// again.
void TolerateErrorsAboutGoneWindows();

}  // namespace quorvane::display::sdl

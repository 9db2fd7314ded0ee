// The X server the SDL display shows its windows on, seen from outside the display: what is on
// the screen (read from the server, not from our own GL), where a window's client area is, the
// properties the window manager and SDL set, and synthetic input through xdotool.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "display/display.h"

namespace quorvane::tests {

struct XGeometry {
    int x = 0;  // the client area's top-left corner on the screen
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;

    bool operator==(const XGeometry&) const = default;
};

class XServer {
public:
    XServer();  // the server DISPLAY names
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool Connected() const { return display_ != nullptr; }
    unsigned ScreenWidth() const;
    unsigned ScreenHeight() const;

    // The screen's pixels in a rectangle, 0xFFRRGGBB, top row first.
    display::Image Read(int x, int y, unsigned width, unsigned height) const;
    XGeometry Geometry(unsigned long window) const;
    // A property of 32-bit items (CARDINAL, ATOM) of a window; empty when it has none.
    std::vector<unsigned long> Property(unsigned long window, const char* name) const;
    // Whether the window's _NET_WM_STATE holds the named state.
    bool HasState(unsigned long window, const char* state) const;
    // Whether the window manager offers this action (_NET_WM_ACTION_…) for the window.
    bool Allows(unsigned long window, const char* action) const;
    // The window's colormap (0 for none), and whether a colormap is still in the server.
    unsigned long Colormap(unsigned long window) const;
    bool ColormapExists(unsigned long colormap) const;

private:
    void* display_ = nullptr;  // Display*
};

// The X window that shows a top-level window (0 for none).
unsigned long XWindowOf(HWND window);

// Has SDL's own connection to the server send a message to a window that is already destroyed,
// as happens when a window goes while a request about it is on its way; waits for the server's
// answer (BadWindow). False when the window is not on SDL's X11 driver.
bool SendToAWindowThatIsGone(HWND window);

// Runs xdotool with the arguments, waiting at most ten seconds; true when it succeeded.
bool Xdotool(const std::string& arguments);

}  // namespace quorvane::tests

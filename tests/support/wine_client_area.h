// The client area of a Windows program's top-level window under Wine, seen on the X server: for
// the picture test's host tool and the frame benchmark under Wine.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <string>

namespace quorvane::tests {

// Where the client area is on the screen, and the X window that shows it.
struct ClientRect {
    Window window = 0;
    int x = 0;
    int y = 0;
    unsigned width = 0;
    unsigned height = 0;
};

// Wine gives a window whose client area an OpenGL-backed Direct3D device presents to a child X
// window covering exactly that area (the menu bar is outside it): the one child of the window
// that is mapped. Nothing, with the reason in error, when there is no such child.
std::optional<ClientRect> FindClientArea(Display* display, Window topLevel, std::string& error);

}  // namespace quorvane::tests

// The menu bar and pop-up menus as the layer draws them: where each item lies and what each
// looks like. A window's bar is the lowest layer of its surface (window_surface.h), across its
// top above the client area; each open pop-up is a layer above it.
#pragma once

#include <windows.h>

#include <vector>

#include "user32/canvas.h"
#include "user32/menu.h"
#include "user32/window.h"

namespace quorvane::user32 {

// How the bar shows the item the user is on: hovered or chosen by keyboard, or with its pop-up
// open (pressed).
struct BarHighlight {
    int item = -1;
    bool open = false;
};

// The bar's items, in surface coordinates (the bar starts at 0, 0).
std::vector<RECT> LayOutMenuBar(const Menu& menu);
// The item of the bar under a surface point, or -1.
int MenuBarItemAt(const Menu& menu, POINT surfacePoint);

// Draws the bar of a window with a menu (and the highlight of a menu being tracked in it), or
// takes the bar away from a window without one.
void RedrawMenuBar(Window& window);
void DrawMenuBarLayer(Window& window, const Menu& menu, const BarHighlight& highlight);

// A pop-up's size and its items' rectangles, relative to its top-left corner; the shadow lies
// outside the size, to the right and below.
struct PopupLayout {
    int width = 0;
    int height = 0;
    std::vector<RECT> items;
};
PopupLayout LayOutPopup(const Menu& menu);
constexpr int popupShadow = 4;

// The picture of an open pop-up with its selected item (-1 for none), shadow included, at the
// surface's scale.
display::Image DrawPopup(const Menu& menu, const PopupLayout& layout, int selected, float scale);

}  // namespace quorvane::user32

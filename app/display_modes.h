// The screen sizes the default adapter offers, listed once per run in the full-screen popup,
// with the desktop's current size marked.
#pragma once

#include <windows.h>

#include <vector>

struct DisplayMode {
    UINT width;
    UINT height;
};

// Each size once, in the adapter's order; entry i is the popup's command 300 + i.
extern std::vector<DisplayMode> displayModes;

// Rebuilds displayModes from the default adapter's X8R8G8B8 modes, refresh rates ignored; empty
// without a Direct3D object.
void EnumerateDisplayModes();

// Replaces the full-screen popup's items with one per display mode; nothing without a menu.
void BuildScreenModeMenu(HWND hwnd);

// BuildScreenModeMenu, and the menu bar drawn again.
void ShowScreenModes(HWND hwnd);

// The desktop's current size, as GDI reports it.
SIZE DesktopSize();

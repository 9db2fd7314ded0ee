// Moving, sizing, showing, minimising and maximising windows, and the messages that say so.
#pragma once

#include "user32/window.h"

namespace quorvane::user32 {

enum class Notify {
    Program,  // WM_MOVE and WM_SIZE go to the window procedure, synchronously
    Nobody,   // the change is Direct3D's own (full screen), which the program does not hear of
};

// Gives the window a new rectangle (its parent's client coordinates for a child, the screen's
// otherwise), works out its frame again and tells the display.
void PlaceWindow(Window& window, const RECT& windowRect, Notify notify);

// Tells the window procedure that the client area changed size (WM_SIZE with the window's
// state) and marks the area for painting.
void NotifyClientSize(HWND handle);

void SetShown(Window& window, bool shown);

}  // namespace quorvane::user32

// Mouse events to mouse messages: the window under the pointer or the one holding the capture,
// client or non-client (the menu bar), double-clicks and the wheel.
#pragma once

#include <windows.h>

#include "display/display_events.h"
#include "user32/window.h"

namespace quorvane::user32 {

// A second press of the same button becomes a double-click when it comes sooner than this after
// the first (milliseconds) and within a square of this side around it (pixels).
constexpr DWORD doubleClickTime = 500;
constexpr int doubleClickSize = 4;

void TranslateMouseEvent(Window& topLevel, const display::Event& event);

// Only the state of the buttons, for an event that makes no message.
void KeepButtonState(const display::Event& event);

// The buttons and keys held, as mouse messages carry them in wParam.
WPARAM MouseKeys();

}  // namespace quorvane::user32

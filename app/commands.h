// What the menu, the function keys and the accelerators do: the view switches, the About box,
// Exit, the full-screen popup and the full-screen toggle.
#pragma once

#include <windows.h>

// The view popup's check marks from the settings' show flags (none in full screen, where the
// window has no menu).
void UpdateViewMenuChecks(HWND hwnd);

// WM_COMMAND by its command id; unknown ids do nothing.
void OnCommand(HWND hwnd, UINT id);

// WM_KEYDOWN: F1 to F5 toggle what the picture shows, as their menu items do; F6 redraws.
void OnFunctionKey(HWND hwnd, WPARAM key);

// Double-click and Alt+Enter: a window goes full screen at the desktop's size; full screen
// goes back to the window, whose menu then catches up with what changed meanwhile.
void ToggleFullScreen(HWND hwnd);

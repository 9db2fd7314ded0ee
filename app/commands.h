// What the menu, the function keys and the accelerators do: the view switches, the About box,
// Exit, the full-screen popup and the full-screen toggle.
#pragma once

#include "app/resource.h"
#include "app/settings.h"
#include "scene/session_state.h"

#include <windows.h>

#include <cstddef>
#include <iterator>

// What a function key does: it toggles a view switch (its flag, and the check mark of its item
// in the view menu), or without a flag sends its item's command, or with neither only draws the
// picture again. Its text says what it
// switches (or does) in the manual pages and README-windows.txt, which the build makes from
// these rows: a key is added with its one row.
struct FunctionKey {
    WPARAM key;
    UINT command;      // the view menu's item; 0 for none
    BOOL* flag;        // null for none
    const char* what;  // lower case; the build reads each row from one line
};

// Every function key the viewer answers, F1 up without a gap. The flags are the settings' show
// flags, which the INI keeps, and the switches of the projection rays and of Tissot's circles,
// which last one session (as the drawn circles that F9 clears do).
inline constexpr FunctionKey functionKeys[] = {
    {VK_F1, IDM_SHOW_HELP, &ViewerSettings.showHelp, "help text"},
    {VK_F2, IDM_SHOW_LATITUDE_LINES, &ViewerSettings.showLatitudeLines, "latitude lines"},
    {VK_F3, IDM_SHOW_LONGITUDE_LINES, &ViewerSettings.showLongitudeLines, "longitude lines"},
    {VK_F4, IDM_SHOW_EARTH, &ViewerSettings.showEarth, "the Earth"},
    {VK_F5, IDM_SHOW_EARTH_OUTLINE, &ViewerSettings.showEarthOutline, "the Earth's outline"},
    {VK_F6, 0, nullptr, "redraw"},
    {VK_F7, IDM_SHOW_PROJECTION_RAYS, &ViewerSession.showProjectionRays, "projection rays"},
    {VK_F8, IDM_SHOW_TISSOT_CIRCLES, &ViewerSession.showTissotCircles, "Tissot's circles"},
    {VK_F9, IDM_CLEAR_CIRCLES, nullptr, "clear the circles drawn with Ctrl and the left button"},
};

// The keys are F1 to F<functionKeyCount>.
inline constexpr int functionKeyCount = static_cast<int>(std::size(functionKeys));

static_assert(
    [] {
        for (std::size_t i = 0; i < std::size(functionKeys); ++i) {
            if (functionKeys[i].key != VK_F1 + i)
                return false;
        }
        return true;
    }(),
    "the function keys run from F1 without a gap");

// The view popup's check marks from the switches' flags (none in full screen, where the window
// has no menu).
void UpdateViewMenuChecks(HWND hwnd);

// WM_COMMAND by its command id; unknown ids do nothing.
void OnCommand(HWND hwnd, UINT id);

// WM_KEYDOWN: a key of functionKeys toggles its switch or sends its command, as its menu item
// does, or redraws; Delete removes the circle drawn last.
void OnFunctionKey(HWND hwnd, WPARAM key);

// Double-click and Alt+Enter: a window goes full screen at the desktop's size; full screen
// goes back to the window, whose menu then catches up with what changed meanwhile.
void ToggleFullScreen(HWND hwnd);

// The texts the shell builds its pictures and menus from, loaded from the string table in the
// language Windows chooses for the user: the help overlay's lines and the desktop-size mark.
#pragma once

#include <windows.h>

#include <string>

// What follows the desktop's own size in the full-screen menu.
extern std::wstring desktopSizeMark;

// Loads the help overlay's lines (for the scene) and the desktop-size mark; a string the module
// lacks stays empty.
void LoadInterfaceTexts(HINSTANCE instance);

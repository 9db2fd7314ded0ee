// The texts the shell builds its pictures and menus from, loaded from the string table in the
// language Windows chooses for the user: the help overlay's lines, the Tissot line's words and the
// desktop-size mark.
#pragma once

#include <windows.h>

#include <string>

// What follows the desktop's own size in the full-screen menu.
extern std::wstring desktopSizeMark;

// Loads the help overlay's lines and the Tissot line's words (for the scene) and the desktop-size
// mark; a help line or mark the module lacks stays empty, a Tissot word keeps the scene's own.
void LoadInterfaceTexts(HINSTANCE instance);

// The About box: the icon, the version and a line about the viewer, and an OK button.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the About box modally over hwnd until OK, Enter, Esc or its close box ends it.
void ShowAboutBox(HWND hwnd);

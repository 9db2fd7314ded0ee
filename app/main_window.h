// The main window's procedure: where the viewer comes to life (WM_CREATE builds the reader, the
// display-mode menu and the draw device) and where every user action arrives. It keeps no
// picture state of its own: the flags are the settings', the camera is the scene's.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// InvalidateRect(hwnd, NULL, FALSE): the picture is drawn again at the next WM_PAINT.
void Invalidate(HWND hwnd);

// Mouse input of the main window: a left drag turns the Earth, with Ctrl it draws a circle, a
// right drag orbits the camera, the wheel moves the camera nearer or farther. One drag at a time,
// with the mouse captured.
#pragma once

#include <windows.h>

extern BOOL leftDragging;  // a left-button drag is in progress (mouse captured)
extern BOOL rightDragging;
extern BOOL drawingCircle;  // the left drag draws a circle: it began with Ctrl held
extern LONG lastMouseX;     // the previous mouse message's position, client coordinates
extern LONG lastMouseY;

// A button press: starts its drag (dragging names leftDragging or rightDragging) unless a drag
// is in progress already, which then ignores the press and its release.
void StartDrag(HWND hwnd, BOOL& dragging, LPARAM position);
// The left button's press: its drag turns the Earth, or with Ctrl (keys holds MK_CONTROL) draws
// a circle about the point pressed.
void StartLeftDrag(HWND hwnd, WPARAM keys, LPARAM position);
// That button's release: ends its drag, if it is in progress.
void EndDrag(BOOL& dragging);

// Moves the drags by the change of position since the last mouse message. A drag whose button
// the move reports as no longer down ends first: its release went elsewhere. The projection
// rays follow the pointer: while they are shown, every move draws the picture again.
void OnMouseMove(HWND hwnd, WPARAM keys, LPARAM position);

// One wheel message: delta (120 a notch) divides the camera distance by 1.2^(delta/120).
void OnMouseWheel(HWND hwnd, WPARAM wParam);

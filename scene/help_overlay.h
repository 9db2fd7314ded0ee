// The help overlay: the mouse controls, and the camera's eye position under them, in white
// with a grey shadow one pixel to the right.
#pragma once

#include <d3dx9.h>
#include <windows.h>

// One line of text at (8, top): first the grey shadow at (9, top), then the white text.
void DrawHelpLine(ID3DXFont* font, LPCWSTR text, int top);

// The four help lines from the top of the window down, then "eye(x,y,z)" for the eye point.
void DrawHelpOverlay(ID3DXFont* font, const D3DXVECTOR3& eye);

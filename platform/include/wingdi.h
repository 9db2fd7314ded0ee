// gdi32: the few calls the program makes.
#pragma once

#include "windef.h"
#include "winerror.h"

// GetDeviceCaps indices.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define VREFRESH 116

extern "C" {
int WINAPI GetDeviceCaps(HDC dc, int index);
}

// Full screen at the desktop's size. The switch itself and the back buffer's following of the
// window's size are the draw device's: CDrawDevice::ChangeScreenMode and CDrawDevice::Resize
// (graphics/draw_device.h), written in full_screen.cpp.
#pragma once

// CDrawDevice::ChangeScreenMode at the desktop's current size, when a draw device exists.
void EnterDesktopFullScreen();

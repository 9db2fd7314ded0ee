// One complete picture of the viewer, drawn and presented: the Earth's stereographic image on
// the plane (always), the Earth and its white rim, the graticule on both, Tissot's circles, the
// projection ray under the pointer and the help overlay, as the settings' show flags and the
// switches of the rays and the circles say.
#pragma once

// Draws nothing without a draw device, a sphere mesh and an Earth texture. A device that
// reports D3DERR_DEVICENOTRESET is reset first; the fixed render states are applied after
// every reset (and after the device was opened) and not again until the next.
void RenderFrame();

// Checking and completing D3DPRESENT_PARAMETERS as CreateDevice and Reset do: zero back-buffer
// sizes come from the window's client area, an unknown windowed back-buffer format becomes the
// display format, a back-buffer count of 0 becomes 1.
#pragma once

#include <d3d9.h>

namespace quorvane::d3d9 {

HRESULT CompletePresentParameters(D3DPRESENT_PARAMETERS& parameters, HWND window);

}  // namespace quorvane::d3d9

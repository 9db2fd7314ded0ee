// Switching between the window and exclusive full screen, and the back buffer following the
// window's size.
//
// The full-screen size travels through the window's size: the window becomes a borderless
// topmost popup of the mode's size, the WM_SIZE that causes makes Resize adopt that size (a
// windowed reset), and only then does a reset with Windowed = FALSE change the display mode.
// Leaving, the device is reset windowed and the window gets its style, place, topmost state and
// menu back; the WM_SIZE of that brings the back buffer back to the client size.
#include "app/full_screen.h"

#include "app/display_modes.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"

#include <algorithm>

namespace {

constexpr LONG fullScreenStyle = static_cast<LONG>(WS_POPUP | WS_VISIBLE);

// A lost device is no failure: the frame resets it once it can be reset.
bool ResetWorked(HRESULT hr)
{
    return SUCCEEDED(hr) || hr == D3DERR_DEVICELOST;
}

}  // namespace

void EnterDesktopFullScreen()
{
    const SIZE desktop = DesktopSize();
    if (SceneResources.drawDevice != nullptr)
        SceneResources.drawDevice->ChangeScreenMode(static_cast<UINT>(desktop.cx), static_cast<UINT>(desktop.cy),
                                                    FALSE);
}

void CDrawDevice::SaveWindowState()
{
    savedWindowState.Capture(focusWindow);
}

void CDrawDevice::RestoreWindowState()
{
    const SavedWindowState saved = savedWindowState;
    const RECT& rect = saved.rectangle;
    SetWindowLongW(focusWindow, GWL_STYLE, saved.style);
    SetWindowPos(focusWindow, (saved.extendedStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left,
                 rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_SHOWWINDOW);
    SetMenu(focusWindow, saved.menu);
}

HRESULT CDrawDevice::ChangeScreenMode(UINT width, UINT height, BOOL windowed)
{
    if (device == nullptr)
        return E_FAIL;
    if ((windowed != FALSE) == (presentParameters.Windowed != FALSE))
        return S_OK;  // another size while full screen included
    if (!windowed)
        BecomeFullScreenPopup(width, height);
    presentParameters.Windowed = windowed;
    const HRESULT hr = Reset();
    if (!windowed && !ResetWorked(hr)) {
        // The display refused the mode: back to the window as it was, rather than stuck
        // borderless, topmost and without its menu.
        presentParameters.Windowed = TRUE;
        RestoreWindowState();
        if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET)
            Reset();
        return E_FAIL;
    }
    if (windowed)
        RestoreWindowState();
    return ResetWorked(hr) ? S_OK : E_FAIL;
}

void CDrawDevice::BecomeFullScreenPopup(UINT width, UINT height)
{
    // A minimised window is restored before its state is saved: leaving full screen then gives
    // back the normal window, not a minimised one without a client area.
    if (IsIconic(focusWindow))
        ShowWindow(focusWindow, SW_RESTORE);
    RECT client{};
    GetClientRect(focusWindow, &client);
    if (width == 0)
        width = static_cast<UINT>(client.right - client.left);
    if (height == 0)
        height = static_cast<UINT>(client.bottom - client.top);
    SaveWindowState();
    ShowWindow(focusWindow, SW_RESTORE);
    SetMenu(focusWindow, nullptr);
    SetWindowLongW(focusWindow, GWL_STYLE, fullScreenStyle);
    SetWindowPos(focusWindow, HWND_TOPMOST, 0, 0, static_cast<int>(width), static_cast<int>(height), SWP_SHOWWINDOW);
}

HRESULT CDrawDevice::Resize(int width, int height)
{
    if (device == nullptr)
        return E_FAIL;
    // A size below zero is no size; 0 waits for a client area (a minimised window).
    const auto newWidth = static_cast<UINT>(std::max(width, 0));
    const auto newHeight = static_cast<UINT>(std::max(height, 0));
    if (newWidth == presentParameters.BackBufferWidth && newHeight == presentParameters.BackBufferHeight)
        return S_OK;
    presentParameters.BackBufferWidth = newWidth;
    presentParameters.BackBufferHeight = newHeight;
    HRESULT hr = Reset();
    if (hr == D3DERR_DEVICELOST)
        return S_OK;
    if (FAILED(hr))
        return hr;
    D3DVIEWPORT9 whole{0, 0, newWidth, newHeight, 0.0f, 1.0f};
    if (hr = device->SetViewport(&whole); FAILED(hr))
        return hr;
    viewport = whole;
    return S_OK;
}

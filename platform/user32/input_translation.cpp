#include "user32/input_translation.h"

#include "display/display.h"
#include "user32/keyboard_input.h"
#include "user32/menu_bar.h"
#include "user32/mouse_input.h"
#include "user32/window.h"
#include "user32/window_placement.h"

namespace quorvane::user32 {

namespace {

using display::EventType;

void SendSystemCommand(Window& window, WPARAM command)
{
    if (window.style & WS_DISABLED)
        return;  // a window behind a modal dialog does not close or maximise
    HWND handle = window.handle;
    SendMessageW(handle, WM_SYSCOMMAND, command, 0);
    // A window manager that maximised the window already is undone unless the program
    // maximised it: the window stays where user32 has it.
    if (Window* live = LookUpWindow(handle))
        SyncDisplayWindow(*live);
}

// The window manager moved or sized the surface: the window follows, and the program hears of
// it. The report may be late; what counts is where the surface is now.
void FollowSurface(Window& window)
{
    if (window.style & WS_MINIMIZE)
        return;
    display::Rect surface = display::CurrentDriver().DisplayWindowRect(window.displayWindow);
    const RECT& inner = window.surfaceRect;
    RECT rect{surface.x - inner.left, surface.y - inner.top,
              surface.x + LONG(surface.width) + (Width(window.windowRect) - inner.right),
              surface.y + LONG(surface.height) + (Height(window.windowRect) - inner.bottom)};
    if (!SameRect(rect, window.windowRect))
        PlaceWindow(window, rect, Notify::Program);
    // The same place at another scale (a page moved to a screen of another density): the menu bar
    // and the window's contents are drawn again at the surface's new scale.
    const float scale = display::CurrentDriver().SurfaceScale(window.displayWindow);
    if (window.drawnAtScale != 0 && scale != window.drawnAtScale) {
        RedrawMenuBar(window);
        InvalidateRect(window.handle, nullptr, TRUE);
    }
    window.drawnAtScale = scale;
}

void BroadcastDisplayChange()
{
    display::Mode mode = display::CurrentDriver().CurrentMode();
    for (HWND handle : AllWindows()) {
        Window* window = LookUpWindow(handle);
        if (window && !(window->style & WS_CHILD))
            SendMessageW(handle, WM_DISPLAYCHANGE, 32, MAKELPARAM(mode.width, mode.height));
    }
}

}  // namespace

void TranslateDeviceEvent(const display::Event& event)
{
    if (event.type == EventType::DesktopChanged) {
        BroadcastDisplayChange();
        return;
    }
    Window* window = WindowOfDisplay(event.window);
    if (!window) {
        // Input of a window that went away: the buttons and keys still went up or down.
        KeepButtonState(event);
        KeepKeyState(event);
        return;
    }
    switch (event.type) {
    case EventType::MouseButtonDown:
    case EventType::MouseButtonUp:
    case EventType::MouseMove:
    case EventType::MouseWheel: TranslateMouseEvent(*window, event); break;
    case EventType::KeyDown:
    case EventType::KeyUp:
    case EventType::Text: TranslateKeyEvent(*window, event); break;
    case EventType::CloseRequest: SendSystemCommand(*window, SC_CLOSE); break;
    case EventType::MaximizeRequest: SendSystemCommand(*window, SC_MAXIMIZE); break;
    case EventType::WindowChanged: FollowSurface(*window); break;
    case EventType::Minimized:
        if (!(window->style & WS_MINIMIZE))
            ShowWindow(window->handle, SW_SHOWMINNOACTIVE);
        break;
    case EventType::Restored:
        if (window->style & WS_MINIMIZE)
            ShowWindow(window->handle, SW_RESTORE);
        break;
    case EventType::DesktopChanged: break;
    }
}

}  // namespace quorvane::user32

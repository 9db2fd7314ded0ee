#include "user32/presentation.h"

#include "user32/window.h"
#include "user32/window_placement.h"

namespace quorvane::user32 {

namespace {

constexpr DWORD fullScreenDropsStyle = WS_CAPTION | WS_THICKFRAME;
constexpr DWORD fullScreenDropsExStyle = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;

Window* TopLevelWindow(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window || (window->style & WS_CHILD) || !window->displayWindow)
        return nullptr;
    return window;
}

void ApplyTopmost(Window& window)
{
    display::CurrentDriver().SetDisplayWindowTopmost(window.displayWindow, (window.exStyle & WS_EX_TOPMOST) != 0);
}

}  // namespace

display::GLContext* CreateGLContextFor(HWND handle)
{
    Window* window = LookUpWindow(handle);
    if (!window)
        return nullptr;
    return display::CurrentDriver().CreateGLContext(TopLevelOf(*window).displayWindow);
}

bool PresentFrame(HWND handle, unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    Window* window = TopLevelWindow(handle);
    return window && display::CurrentDriver().PresentFramebuffer(window->displayWindow, framebuffer, width, height);
}

bool EnterFullScreen(HWND handle, const display::Mode& mode)
{
    Window* window = TopLevelWindow(handle);
    if (!window || !display::CurrentDriver().EnterFullScreen(window->displayWindow, mode))
        return false;
    if (!window->fullScreen)
        window->fullScreen = FullScreenRecord{window->style, window->exStyle, window->windowRect, 0, 0, {}};
    FullScreenRecord& record = *window->fullScreen;
    window->style = (window->style & ~fullScreenDropsStyle) | WS_POPUP;
    window->exStyle = (window->exStyle & ~fullScreenDropsExStyle) | WS_EX_TOPMOST;
    record.appliedStyle = window->style;
    record.appliedExStyle = window->exStyle;
    record.appliedRect = RECT{0, 0, LONG(mode.width), LONG(mode.height)};
    ApplyTopmost(*window);
    SetShown(*window, true);
    PlaceWindow(*window, record.appliedRect, Notify::Nobody);
    return true;
}

void LeaveFullScreen(HWND handle)
{
    Window* window = TopLevelWindow(handle);
    if (!window || !window->fullScreen)
        return;
    display::CurrentDriver().LeaveFullScreen(window->displayWindow);
    FullScreenRecord record = *window->fullScreen;
    window->fullScreen.reset();
    if (window->style == record.appliedStyle)
        window->style = record.style;
    if (window->exStyle == record.appliedExStyle)
        window->exStyle = record.exStyle;
    ApplyTopmost(*window);
    RECT rect = SameRect(window->windowRect, record.appliedRect) ? record.windowRect : window->windowRect;
    PlaceWindow(*window, rect, Notify::Nobody);
}

}  // namespace quorvane::user32

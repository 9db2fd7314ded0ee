// Full screen: at the desktop's mode through the window manager, at another mode through SDL.
#include "display/sdl/sdl_conversions.h"
#include "display/sdl/sdl_driver.h"
#include "display/sdl/x11_window_manager.h"

namespace quorvane::display::sdl {

bool SdlDriver::EnterFullScreen(Window* window, const Mode& mode)
{
    if (!Owns(window))
        return false;
    ScreenScale scale;
    std::optional<SDL_DisplayMode> offered = FullScreenModeFor(mode, scale);
    if (!offered)
        return false;
    if (fullScreenWindow_ && fullScreenWindow_ != window)
        LeaveFullScreen(fullScreenWindow_);
    window->placement.LeaveWindowed();  // the screen is the place now
    WindowPlacement::FullScreen how = SwitchToFullScreen(*window, *offered);
    if (how == WindowPlacement::FullScreen::No)
        return false;
    window->placement.EnterFullScreen(how, Rect{0, 0, mode.width, mode.height}, SDL_GetTicks());
    window->scale = scale;
    fullScreenWindow_ = window;
    fullScreenMode_ = scale.ToProgram(ModeOf(*offered));
    ShowLater(*window);
    return true;
}

// At the desktop's mode on X11 the window manager alone makes the window full screen. SDL's own
// switch waits up to 100 ms for the window manager, and then puts the pointer back where it was
// in the window, which after the switch is another place on the screen: the second click of a
// double-click begun meanwhile would land apart from the first.
WindowPlacement::FullScreen SdlDriver::SwitchToFullScreen(Window& window, const SDL_DisplayMode& mode)
{
    SDL_DisplayMode desktop;
    if (window.xWindow && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w == mode.w && desktop.h == mode.h) {
        x11::RequestFullScreenState(window.sdl, true);
        return WindowPlacement::FullScreen::ThroughWindowManager;
    }
    if (SDL_SetWindowDisplayMode(window.sdl, &mode) == 0 &&
        SDL_SetWindowFullscreen(window.sdl, SDL_WINDOW_FULLSCREEN) == 0)
        return WindowPlacement::FullScreen::AtMode;
    return WindowPlacement::FullScreen::No;
}

void SdlDriver::LeaveFullScreen(Window* window)
{
    if (!Owns(window) || !window->placement.IsFullScreen())
        return;
    // A full screen the user asked of the window manager before the program's own is the user's
    // to end: the window stays in it, with its menu bar, as before the program's.
    const bool usersKept = window->placement.UsersFullScreen() && x11::HasFullScreenState(window->sdl);
    if (window->placement.HowFullScreen() == WindowPlacement::FullScreen::AtMode)
        SDL_SetWindowFullscreen(window->sdl, 0);
    else if (!usersKept)
        x11::RequestFullScreenState(window->sdl, false);
    const Rect windowed = window->placement.LeaveFullScreen(usersKept);
    window->scale = desktopScale_;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    SetDisplayWindowRect(window, windowed);
    // Should the window manager not have carried out the request, it is made once more.
    window->placement.PutBackOnceAnswered();
    ShowLater(*window);
}

}  // namespace quorvane::display::sdl

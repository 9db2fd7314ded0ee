// Where a window's surface goes, negotiated with the window manager: places asked for, answers
// waited for and settled, and the window manager's own changes taken back or passed on.
#include "display/sdl/sdl_conversions.h"
#include "display/sdl/sdl_driver.h"
#include "display/sdl/x11_window_manager.h"

#include <algorithm>

namespace quorvane::display::sdl {

Rect SdlDriver::ScreenRectOf(const Window& window) const
{
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window.sdl, &x, &y);
    SDL_GetWindowSize(window.sdl, &width, &height);
    return Rect{x, y, std::uint32_t(width), std::uint32_t(height)};
}

Rect SdlDriver::ActualRect(const Window& window) const
{
    return window.scale.ToProgram(ScreenRectOf(window));
}

bool SdlDriver::IsWherePlaced(const Window& window) const
{
    return ScreenRectOf(window) == window.scale.ToScreen(window.placement.Placed());
}

bool SdlDriver::MoveSdlWindow(Window& window, const Rect& rect)
{
    Rect screen = window.scale.ToScreen(rect), actual = ScreenRectOf(window);
    if (actual.x == screen.x && actual.y == screen.y)
        return false;
    SDL_SetWindowPosition(window.sdl, screen.x, screen.y);
    return true;
}

bool SdlDriver::SizeSdlWindow(Window& window, const Rect& rect)
{
    Rect screen = window.scale.ToScreen(rect), actual = ScreenRectOf(window);
    if (actual.width == screen.width && actual.height == screen.height)
        return false;
    SDL_SetWindowSize(window.sdl, AtLeastOne(screen.width), AtLeastOne(screen.height));
    return true;
}

void SdlDriver::SetDisplayWindowRect(Window* window, const Rect& rect)
{
    if (!Owns(window))
        return;
    const bool coversDesktop = CoversDesktop(rect);
    if (!window->placement.PlaceToAsk(rect, SDL_GetTicks(), coversDesktop))
        return;  // the window comes back to where it was before full screen
    if (!coversDesktop)
        SendPlace(*window);
}

// A place that covers the desktop is asked of the window manager only once the program is done
// placing the window (when it next takes events, or shows the window): around full screen the
// program places the window as a popup covering the screen, then elsewhere, and metacity would
// take the first request for full screen. Any other place is asked for at once.
bool SdlDriver::CoversDesktop(const Rect& rect)
{
    Mode desktop = DesktopMode();
    return rect.x <= 0 && rect.y <= 0 && rect.x + int(rect.width) >= int(desktop.width) &&
           rect.y + int(rect.height) >= int(desktop.height);
}

void SdlDriver::SendPlace(Window& window)
{
    std::optional<Rect> unsent = window.placement.TakeUnsent();
    if (!unsent)
        return;
    const Rect& rect = *unsent;
    const bool heldFullScreen = x11::HasFullScreenState(window.sdl) && !window.placement.UsersFullScreen();
    if (ScreenRectOf(window) == window.scale.ToScreen(rect) && !heldFullScreen)
        window.placement.Geometry().Answered(rect, SDL_GetTicks());  // nothing to ask for
    else
        Request(window, rect);
}

void SdlDriver::SendPlaces()
{
    for (auto& window : windows_)
        SendPlace(*window);
}

// A window manager that holds the window in its full-screen state ignores plain moves and
// resizes (metacity and mutter): it is asked to take the state away first.
void SdlDriver::Request(Window& window, const Rect& rect)
{
    if (window.xWindow) {
        if (x11::HasFullScreenState(window.sdl))
            x11::RequestFullScreenState(window.sdl, false);
        Rect screen = window.scale.ToScreen(rect);
        x11::RequestRect(window.sdl, Rect{screen.x, screen.y, std::uint32_t(AtLeastOne(screen.width)),
                                          std::uint32_t(AtLeastOne(screen.height))});
        return;
    }
    MoveSdlWindow(window, rect);
    if (SizeSdlWindow(window, rect))
        ShowLater(window);
}

void SdlDriver::UndoMaximize(Window& window)
{
    SDL_RestoreWindow(window.sdl);
    // Until the window manager has put the window back, its reports are of the maximised size;
    // and it may put it back a border's width off.
    window.placement.Geometry().Place(window.placement.Placed(), SDL_GetTicks());
    window.placement.PutBackOnceAnswered();
}

// A full-screen state the program did not ask for. A window manager that makes a window full
// screen on its own does it in answer to a place asked of it (metacity and mutter take a request
// for a window the size of the screen for one for full screen): that is taken back unless the
// window was placed to cover the screen. One that comes while no answer is awaited is the user's
// (the window manager's key or menu, a pager): the window manager sizes the window to the screen,
// and back when the user leaves it, and the program hears of it as of any resize.
// The state taken away while the program's full screen holds is the user's doing too: a full
// screen of the user's beneath it is over.
void SdlDriver::NoticeStateChange(Window& window)
{
    if (!window.visible)
        return;
    if (!x11::HasFullScreenState(window.sdl)) {
        window.placement.EndUsersFullScreen();
        return;
    }
    const Rect& placed = window.placement.Placed();
    if (window.placement.IsFullScreen() || window.placement.UsersFullScreen() || CoversDesktop(placed))
        return;
    if (!window.placement.Geometry().AwaitsAnswer()) {
        window.placement.BeginUsersFullScreen();
        return;
    }
    window.placement.Geometry().Place(placed, SDL_GetTicks());
    Request(window, placed);
}

void SdlDriver::SettleGeometry()
{
    Uint32 now = SDL_GetTicks();
    for (auto& window : windows_) {
        if (!window->placement.Geometry().Due(now))
            continue;
        bool maximizedByManager = SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MAXIMIZED;
        bool reportable =
            window->visible && !window->minimized && !window->placement.IsFullScreen() && !maximizedByManager;
        if (reportable && window->placement.TakePutBack()) {
            if (!IsWherePlaced(*window)) {
                SetDisplayWindowRect(window.get(), window->placement.Placed());
                continue;
            }
        }
        if (window->placement.Geometry().Settle(ActualRect(*window), reportable))
            ready_.Push(Event{.type = EventType::WindowChanged, .window = window.get(), .time = now});
    }
}

int SdlDriver::UntilNextSettleOrShow() const
{
    Uint32 now = SDL_GetTicks();
    int wait = -1;
    for (auto& window : windows_) {
        for (auto at : {window->placement.Geometry().SettleTime(), window->showAgainAt}) {
            if (!at)
                continue;
            int remaining = std::max(0, int(std::int32_t(*at - now)));
            wait = wait < 0 ? remaining : std::min(wait, remaining);
        }
    }
    return wait;
}

}  // namespace quorvane::display::sdl

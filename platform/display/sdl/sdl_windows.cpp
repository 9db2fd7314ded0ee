// Making, showing and naming the SDL windows behind the display's windows.
#include "display/sdl/sdl_conversions.h"
#include "display/sdl/sdl_driver.h"
#include "display/sdl/x11_window_manager.h"

#include <algorithm>

namespace quorvane::display::sdl {

Window* SdlDriver::CreateDisplayWindow(const WindowDesc& desc)
{
    if (!Video())
        return nullptr;
    auto window = std::make_unique<Window>(Rect{desc.x, desc.y, desc.width, desc.height});
    window->scale = desktopScale_;
    // Created hidden: the window manager learns how to place it before it first shows it.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | (desc.resizable ? SDL_WINDOW_RESIZABLE : 0);
    Rect screen = window->scale.ToScreen(window->placement.Placed());
    window->sdl = SDL_CreateWindow(desc.title.c_str(), screen.x, screen.y, AtLeastOne(screen.width),
                                   AtLeastOne(screen.height), flags);
    if (!window->sdl)
        return nullptr;
    window->id = SDL_GetWindowID(window->sdl);
    window->colormap = sdl::WindowColormap(window->sdl);
    window->xWindow = x11::XWindowOf(window->sdl);
    x11::PlaceWindowItself(window->sdl);
    Window* created = windows_.Add(std::move(window));
    if (desc.visible)
        ShowDisplayWindow(created, true);
    return created;
}

void SdlDriver::DestroyDisplayWindow(Window* window)
{
    if (!Owns(window))
        return;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    contexts_.WithRoot(nullptr, [&] {
        window->frame.Release();
        for (auto& [order, layer] : window->layers)
            Compositor::Delete(layer.image);
    });
    ready_.Forget(window);
    SDL_DestroyWindow(window->sdl);
    window->colormap.Free();
    windows_.Remove(window);
}

Rect SdlDriver::DisplayWindowRect(Window* window)
{
    return Owns(window) ? window->placement.Placed() : Rect{};
}

void SdlDriver::ShowDisplayWindow(Window* window, bool visible)
{
    if (!Owns(window))
        return;
    window->visible = visible;
    if (!visible) {
        SDL_HideWindow(window->sdl);
        return;
    }
    SendPlace(*window);
    SDL_ShowWindow(window->sdl);
    Rect placed = window->placement.Placed();
    // The window manager's answer to showing the window tells where it put it.
    window->placement.Geometry().Place(placed, SDL_GetTicks());
    // Without a word with the window manager (not X11), a window manager places a new window's
    // frame where the surface was asked to be; the surface then goes where it belongs.
    if (!window->xWindow && !window->placement.IsFullScreen())
        MoveSdlWindow(*window, placed);
    ShowLater(*window);
    // A compositing window manager (mutter on X11) now and then takes no picture shown in the
    // first moments after it mapped a window: it keeps the window black, its menu bar too,
    // until the window shows something again, and an idle program shows nothing. The kept
    // picture is shown again 100, 300, 700 and 1500 ms after mapping.
    window->showAgainDelay = firstShowAgain;
    window->showAgainAt = SDL_GetTicks() + firstShowAgain;
}

void SdlDriver::MinimizeDisplayWindow(Window* window, bool minimized)
{
    if (!Owns(window) || window->minimized == minimized)
        return;
    window->minimized = minimized;
    if (minimized) {
        SDL_MinimizeWindow(window->sdl);
    } else {
        SDL_RestoreWindow(window->sdl);
        ShowLater(*window);
    }
}

void SdlDriver::SetDisplayWindowTopmost(Window* window, bool topmost)
{
    if (Owns(window))
        SDL_SetWindowAlwaysOnTop(window->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void SdlDriver::SetDisplayWindowTitle(Window* window, const std::string& title)
{
    if (Owns(window))
        SDL_SetWindowTitle(window->sdl, title.c_str());
}

// On X11 this is the transient-for hint, which window managers frame as a dialog of the owner.
void SdlDriver::SetDisplayWindowOwner(Window* window, Window* owner)
{
    if (Owns(window) && Owns(owner))
        SDL_SetWindowModalFor(window->sdl, owner->sdl);
}

// SDL 2 can give a window an icon but not take it away: an empty image changes nothing.
void SdlDriver::SetDisplayWindowIcon(Window* window, const Image& icon)
{
    if (!Owns(window) || icon.width == 0 || icon.height == 0 ||
        icon.pixels.size() != std::size_t{icon.width} * icon.height)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(icon.pixels.data()), int(icon.width), int(icon.height), 32,
        int(icon.width * sizeof(std::uint32_t)), SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(window->sdl, surface);
    SDL_FreeSurface(surface);
}

}  // namespace quorvane::display::sdl

#include "display/sdl/x11_colormap.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace quorvane::display::sdl {

WindowColormap::WindowColormap(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return;
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) ||
        attributes.colormap == None || attributes.colormap == DefaultColormapOfScreen(attributes.screen))
        return;
    display_ = info.info.x11.display;
    colormap_ = attributes.colormap;
}

void WindowColormap::Free()
{
    if (colormap_ != 0)
        XFreeColormap(static_cast<Display*>(display_), colormap_);
    colormap_ = 0;
}

}  // namespace quorvane::display::sdl

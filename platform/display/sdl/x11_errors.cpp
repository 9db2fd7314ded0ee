#include "display/sdl/x11_errors.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <cstring>

namespace quorvane::display::sdl {

namespace {

XErrorHandler previousHandler = nullptr;

int OnError(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow)
        return 0;  // the window is gone, and with it whatever the request was for
    return previousHandler ? previousHandler(display, error) : 0;
}

}  // namespace

void TolerateErrorsAboutGoneWindows()
{
    static bool installed = false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (installed || !driver || std::strcmp(driver, "x11") != 0)
        return;
    previousHandler = XSetErrorHandler(OnError);
    installed = true;
}

}  // namespace quorvane::display::sdl

#include "x_server.h"

#include "x_properties.h"

// The display's own headers first: Xlib's macros (KeyPress, None...) would rewrite them.
#include "display/sdl/sdl_driver.h"
#include "user32/window.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

namespace quorvane::tests {

namespace {

Display* Server(void* display)
{
    return static_cast<Display*>(display);
}

int errorsSeen = 0;

int CountError(Display*, XErrorEvent*)
{
    ++errorsSeen;
    return 0;
}

}  // namespace

XServer::XServer() : display_(XOpenDisplay(nullptr))
{
}

XServer::~XServer()
{
    if (display_)
        XCloseDisplay(Server(display_));
}

unsigned XServer::ScreenWidth() const
{
    return unsigned(DisplayWidth(Server(display_), DefaultScreen(Server(display_))));
}

unsigned XServer::ScreenHeight() const
{
    return unsigned(DisplayHeight(Server(display_), DefaultScreen(Server(display_))));
}

display::Image XServer::Read(int x, int y, unsigned width, unsigned height) const
{
    display::Image image;
    Display* server = Server(display_);
    XSync(server, False);
    XImage* shot = XGetImage(server, DefaultRootWindow(server), x, y, width, height, AllPlanes, ZPixmap);
    if (!shot)
        return image;
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t{width} * height);
    for (unsigned row = 0; row < height; ++row) {
        for (unsigned column = 0; column < width; ++column)
            image.pixels[std::size_t{row} * width + column] =
                0xFF000000u | std::uint32_t(XGetPixel(shot, int(column), int(row)) & 0xFFFFFF);
    }
    XDestroyImage(shot);
    return image;
}

XGeometry XServer::Geometry(unsigned long window) const
{
    Display* server = Server(display_);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(server, window, &attributes))
        return {};
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(server, window, DefaultRootWindow(server), 0, 0, &x, &y, &child);
    return XGeometry{x, y, unsigned(attributes.width), unsigned(attributes.height)};
}

std::vector<unsigned long> XServer::Property(unsigned long window, const char* name) const
{
    return Property32(display_, window, name);
}

bool XServer::HasState(unsigned long window, const char* state) const
{
    return HasWindowState(display_, window, state);
}

bool XServer::Allows(unsigned long window, const char* action) const
{
    return ListsAtom(display_, window, "_NET_WM_ALLOWED_ACTIONS", action);
}

unsigned long XServer::Colormap(unsigned long window) const
{
    XWindowAttributes attributes{};
    return XGetWindowAttributes(Server(display_), window, &attributes) ? attributes.colormap : 0;
}

// A colormap that is gone answers a query with an error (BadColor).
bool XServer::ColormapExists(unsigned long colormap) const
{
    Display* server = Server(display_);
    XSync(server, False);
    errorsSeen = 0;
    XErrorHandler previous = XSetErrorHandler(CountError);
    XColor colour{};
    XQueryColor(server, colormap, &colour);
    XSync(server, False);
    XSetErrorHandler(previous);
    return errorsSeen == 0;
}

unsigned long XWindowOf(HWND window)
{
    display::Window* shown = user32::DisplayWindowOf(window);
    if (!shown)
        return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(shown->sdl, &info) || info.subsystem != SDL_SYSWM_X11)
        return 0;
    return info.info.x11.window;
}

bool SendToAWindowThatIsGone(HWND window)
{
    display::Window* shown = user32::DisplayWindowOf(window);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!shown || !SDL_GetWindowWMInfo(shown->sdl, &info) || info.subsystem != SDL_SYSWM_X11)
        return false;
    Display* server = info.info.x11.display;
    ::Window gone = XCreateSimpleWindow(server, DefaultRootWindow(server), 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(server, gone);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = gone;
    message.xclient.format = 32;
    XSendEvent(server, gone, False, NoEventMask, &message);
    XSync(server, False);
    return true;
}

bool Xdotool(const std::string& arguments)
{
    std::string command = "timeout 10 xdotool " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

}  // namespace quorvane::tests

#include "display/sdl/x11_window_manager.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quorvane::display::sdl::x11 {

namespace {

struct XWindow {
    Display* display = nullptr;
    ::Window window = 0;
};

XWindow XWindowBehind(SDL_Window* window)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return {};
    return XWindow{info.info.x11.display, info.info.x11.window};
}

// The atoms of the window manager's protocol, asked of the server once (SDL has one connection).
struct Atoms {
    Atom state = 0;
    Atom fullScreen = 0;
    Atom frameExtents = 0;
};

const Atoms& AtomsOf(Display* display)
{
    static Display* known = nullptr;
    static Atoms atoms;
    if (known != display) {
        atoms.state = XInternAtom(display, "_NET_WM_STATE", False);
        atoms.fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
        atoms.frameExtents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
        known = display;
    }
    return atoms;
}

// Changes the window's size hints as `change` says, keeping the others.
template <typename Change>
void ChangeSizeHints(const XWindow& x, Change change)
{
    XSizeHints* hints = XAllocSizeHints();
    if (!hints)
        return;
    long supplied = 0;
    if (!XGetWMNormalHints(x.display, x.window, hints, &supplied))
        hints->flags = 0;
    change(*hints);
    XSetWMNormalHints(x.display, x.window, hints);
    XFree(hints);
}

}  // namespace

void ListenToWindowManager()
{
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

unsigned long XWindowOf(SDL_Window* window)
{
    return XWindowBehind(window).window;
}

void PlaceWindowItself(SDL_Window* window)
{
    XWindow x = XWindowBehind(window);
    if (!x.display)
        return;
    ChangeSizeHints(x, [](XSizeHints& hints) {
        hints.flags |= PWinGravity;
        hints.win_gravity = StaticGravity;
    });
    XFlush(x.display);
}

bool RequestRect(SDL_Window* window, const Rect& rect)
{
    XWindow x = XWindowBehind(window);
    if (!x.display)
        return false;
    if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE)) {
        ChangeSizeHints(x, [&](XSizeHints& hints) {
            hints.flags |= PMinSize | PMaxSize;
            hints.min_width = hints.max_width = int(rect.width);
            hints.min_height = hints.max_height = int(rect.height);
        });
    }
    XMoveResizeWindow(x.display, x.window, rect.x, rect.y, rect.width, rect.height);
    XFlush(x.display);
    return true;
}

bool HasFullScreenState(SDL_Window* window)
{
    XWindow x = XWindowBehind(window);
    if (!x.display)
        return false;
    const Atoms& atoms = AtomsOf(x.display);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    bool found = false;
    if (XGetWindowProperty(x.display, x.window, atoms.state, 0, 64, False, XA_ATOM, &type, &format, &count, &remaining,
                           &data) == Success &&
        data && format == 32) {
        const auto* states = reinterpret_cast<const unsigned long*>(data);
        for (unsigned long i = 0; i < count && !found; ++i)
            found = states[i] == atoms.fullScreen;
    }
    if (data)
        XFree(data);
    return found;
}

void RequestFullScreenState(SDL_Window* window, bool fullScreen)
{
    XWindow x = XWindowBehind(window);
    if (!x.display)
        return;
    const Atoms& atoms = AtomsOf(x.display);
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = x.window;
    message.xclient.message_type = atoms.state;
    message.xclient.format = 32;
    message.xclient.data.l[0] = fullScreen ? 1 : 0;  // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
    message.xclient.data.l[1] = long(atoms.fullScreen);
    message.xclient.data.l[3] = 1;  // from an application
    XSendEvent(x.display, DefaultRootWindow(x.display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &message);
    XFlush(x.display);
}

std::optional<std::uint32_t> ButtonTimeOf(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return std::nullopt;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    if (x.type != ButtonPress && x.type != ButtonRelease)
        return std::nullopt;
    return std::uint32_t(x.xbutton.time);
}

bool IsKeyPress(const SDL_Event& event)
{
    return event.type == SDL_SYSWMEVENT && event.syswm.msg && event.syswm.msg->subsystem == SDL_SYSWM_X11 &&
           event.syswm.msg->msg.x11.event.type == KeyPress;
}

std::optional<Answer> AnswerOf(const SDL_Event& event)
{
    if (event.type != SDL_SYSWMEVENT || !event.syswm.msg || event.syswm.msg->subsystem != SDL_SYSWM_X11)
        return std::nullopt;
    const XEvent& x = event.syswm.msg->msg.x11.event;
    if (x.type == ConfigureNotify)
        return Answer{Answer::Kind::Configured, x.xconfigure.window};
    if (x.type != PropertyNotify)
        return std::nullopt;
    const Atoms& atoms = AtomsOf(x.xany.display);
    if (x.xproperty.atom == atoms.frameExtents)
        return Answer{Answer::Kind::FrameExtents, x.xproperty.window};
    if (x.xproperty.atom == atoms.state)
        return Answer{Answer::Kind::State, x.xproperty.window};
    return std::nullopt;
}

}  // namespace quorvane::display::sdl::x11

#include "frame_counter.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

namespace quorvane::bench {

namespace {

Display* Server(void* display)
{
    return static_cast<Display*>(display);
}

}  // namespace

FrameCounter::FrameCounter(const std::string& display, unsigned long window) : display_(XOpenDisplay(display.c_str()))
{
    int errorBase = 0;
    if (!display_ || !XDamageQueryExtension(Server(display_), &eventBase_, &errorBase))
        return;
    // Every drawing into the window is reported, in rectangles; a picture swapped onto it comes
    // as one report whose last rectangle says no more follow.
    damage_ = XDamageCreate(Server(display_), window, XDamageReportRawRectangles);
    XSync(Server(display_), False);
}

FrameCounter::~FrameCounter()
{
    if (!display_)
        return;
    if (damage_)
        XDamageDestroy(Server(display_), damage_);
    XCloseDisplay(Server(display_));
}

void FrameCounter::Collect()
{
    Display* server = Server(display_);
    XSync(server, False);
    while (XPending(server)) {
        XEvent event;
        XNextEvent(server, &event);
        if (event.type == eventBase_ + XDamageNotify && !reinterpret_cast<XDamageNotifyEvent&>(event).more)
            frames_.push_back(std::chrono::steady_clock::now());
    }
}

}  // namespace quorvane::bench

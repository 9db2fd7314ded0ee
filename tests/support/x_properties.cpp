#include "x_properties.h"

#include <X11/Xlib.h>

namespace quorvane::tests {

std::vector<unsigned long> Property32(void* display, unsigned long window, const char* name)
{
    Display* server = static_cast<Display*>(display);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> items;
    if (XGetWindowProperty(server, window, XInternAtom(server, name, False), 0, 1 << 16, False, AnyPropertyType, &type,
                           &format, &count, &remaining, &data) != Success)
        return items;
    if (data && format == 32) {
        const auto* values = reinterpret_cast<const unsigned long*>(data);  // Xlib hands 32-bit items as longs
        items.assign(values, values + count);
    }
    if (data)
        XFree(data);
    return items;
}

bool ListsAtom(void* display, unsigned long window, const char* property, const char* atomName)
{
    const unsigned long wanted = XInternAtom(static_cast<Display*>(display), atomName, False);
    for (unsigned long atom : Property32(display, window, property)) {
        if (atom == wanted)
            return true;
    }
    return false;
}

bool HasWindowState(void* display, unsigned long window, const char* state)
{
    return ListsAtom(display, window, "_NET_WM_STATE", state);
}

}  // namespace quorvane::tests

// Finding Wine's client window with XQueryTree.
#include "wine_client_area.h"

namespace quorvane::tests {

std::optional<ClientRect> FindClientArea(Display* display, Window topLevel, std::string& error)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, topLevel, &root, &parent, &children, &count) == 0) {
        error = "no window " + std::to_string(topLevel);
        return std::nullopt;
    }
    std::optional<ClientRect> found;
    unsigned mapped = 0;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) == 0 || attributes.map_state != IsViewable)
            continue;
        ++mapped;
        Window ignored = 0;
        ClientRect rect{children[i], 0, 0, unsigned(attributes.width), unsigned(attributes.height)};
        XTranslateCoordinates(display, children[i], root, 0, 0, &rect.x, &rect.y, &ignored);
        found = rect;
    }
    if (children != nullptr)
        XFree(children);
    if (mapped != 1) {
        error = "window " + std::to_string(topLevel) + " has " + std::to_string(mapped) +
                " mapped child windows, not the one of its client area";
        return std::nullopt;
    }
    return found;
}

}  // namespace quorvane::tests

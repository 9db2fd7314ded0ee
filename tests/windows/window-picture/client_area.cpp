// Finding Wine's client window with XQueryTree and reading the screen under it with XGetImage.
#include "client_area.h"

#include <X11/Xutil.h>

namespace quorvane::window_picture {

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

std::optional<Picture> ReadClientArea(Display* display, const ClientRect& area, std::string& error)
{
    const Window root = DefaultRootWindow(display);
    XImage* image = XGetImage(display, root, area.x, area.y, area.width, area.height, AllPlanes, ZPixmap);
    if (image == nullptr) {
        error = "cannot read the screen at the client area (is it wholly on the screen?)";
        return std::nullopt;
    }
    if (image->red_mask != 0xFF0000 || image->green_mask != 0xFF00 || image->blue_mask != 0xFF) {
        XDestroyImage(image);
        error = "the screen's pixels are not 8-bit RGB (an Xvfb screen of depth 24 is)";
        return std::nullopt;
    }
    Picture picture{area.width, area.height, {}};
    picture.pixels.reserve(std::size_t{area.width} * area.height);
    for (unsigned y = 0; y < area.height; ++y) {
        for (unsigned x = 0; x < area.width; ++x)
            picture.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, int(x), int(y))) & 0xFFFFFF);
    }
    XDestroyImage(image);
    return picture;
}

}  // namespace quorvane::window_picture

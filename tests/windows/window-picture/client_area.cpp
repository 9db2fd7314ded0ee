// Reading the screen under Wine's client window with XGetImage.
#include "client_area.h"

#include <X11/Xutil.h>

namespace quorvane::window_picture {

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

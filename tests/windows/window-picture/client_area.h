// The pixels of a Windows program's client area under Wine, read from the X server.
#pragma once

#include "picture.h"
#include "wine_client_area.h"

#include <optional>
#include <string>

namespace quorvane::window_picture {

using tests::ClientRect;
using tests::FindClientArea;

// The client area's pixels as the screen shows them (read from the root window, so whatever
// covers the area is read too).
std::optional<Picture> ReadClientArea(Display* display, const ClientRect& area, std::string& error);

}  // namespace quorvane::window_picture

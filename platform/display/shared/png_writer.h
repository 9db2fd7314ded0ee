// Writes an image as an 8-bit RGBA PNG file (libpng), for looking at what a window shows.
#pragma once

#include <string>

#include "display/display.h"

namespace quorvane::display::shared {

bool WritePng(const Image& image, const std::string& path);

}  // namespace quorvane::display::shared

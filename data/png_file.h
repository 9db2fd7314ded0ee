// The PNG format, for the icons the desktop shows (share/icons/hicolor/<size>/apps).
#pragma once

#include "globe_icon.h"

#include <cstdint>
#include <vector>

namespace quorvane::data {

// An 8-bit RGBA PNG file of the image; empty when libpng cannot encode it.
std::vector<std::uint8_t> PngFile(const RgbaImage& image);

}  // namespace quorvane::data

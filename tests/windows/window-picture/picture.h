// A picture as the tool handles it: width * height pixels 0x00RRGGBB, top row first.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvane::window_picture {

struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

}  // namespace quorvane::window_picture

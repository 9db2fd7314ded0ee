// What a headless window shows, put together on the processor when someone asks for it: the
// kept frame stretched over the frame area, then the layers blended over it in order.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "display/display.h"

namespace quorvane::display::headless {

struct Layer {
    int x = 0;
    int y = 0;
    Image image;
};

struct Frame {
    const std::vector<std::uint32_t>* pixels = nullptr;  // null: nothing presented yet
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Fills `surface` (already sized) with opaque black, the frame and the layers.
void Compose(const Frame& frame, const Rect& frameArea, const std::map<int, Layer>& layers, Image& surface);

}  // namespace quorvane::display::headless

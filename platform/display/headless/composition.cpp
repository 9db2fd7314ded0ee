#include "display/headless/composition.h"

#include <algorithm>

namespace quorvane::display::headless {

namespace {

constexpr std::uint32_t opaqueBlack = 0xFF000000u;

// Nearest-pixel stretch of the frame over the area, clipped to the surface. Each surface column
// takes the same frame column on every row, so the columns are worked out once.
void StretchFrame(const Frame& frame, const Rect& area, Image& surface)
{
    if (!frame.pixels || frame.width == 0 || frame.height == 0 || area.width == 0 || area.height == 0)
        return;
    std::int64_t firstColumn = std::max<std::int64_t>(0, -std::int64_t{area.x});
    std::int64_t endColumn = std::min<std::int64_t>(area.width, std::int64_t{surface.width} - area.x);
    if (firstColumn >= endColumn)
        return;
    std::vector<std::uint32_t> sourceColumns(std::size_t(endColumn - firstColumn));
    for (std::int64_t column = firstColumn; column < endColumn; ++column)
        sourceColumns[std::size_t(column - firstColumn)] =
            static_cast<std::uint32_t>(std::uint64_t(column) * frame.width / area.width);
    for (std::uint32_t row = 0; row < area.height; ++row) {
        std::int64_t y = std::int64_t{area.y} + row;
        if (y < 0 || y >= surface.height)
            continue;
        std::uint32_t sourceY = static_cast<std::uint32_t>(std::uint64_t{row} * frame.height / area.height);
        const std::uint32_t* source = frame.pixels->data() + std::size_t{sourceY} * frame.width;
        std::uint32_t* target = surface.pixels.data() + std::size_t(y) * surface.width + (area.x + firstColumn);
        for (std::uint32_t sourceX : sourceColumns)
            *target++ = source[sourceX] | opaqueBlack;
    }
}

// Source-over blend of one 0xAARRGGBB pixel onto an opaque one.
std::uint32_t Blend(std::uint32_t source, std::uint32_t target)
{
    std::uint32_t alpha = source >> 24;
    if (alpha == 255)
        return source;
    std::uint32_t result = opaqueBlack;
    for (int shift = 0; shift < 24; shift += 8) {
        std::uint32_t s = (source >> shift) & 0xFF;
        std::uint32_t t = (target >> shift) & 0xFF;
        result |= ((s * alpha + t * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

void BlendLayer(const Layer& layer, Image& surface)
{
    const Image& image = layer.image;
    for (std::uint32_t row = 0; row < image.height; ++row) {
        std::int64_t y = std::int64_t{layer.y} + row;
        if (y < 0 || y >= surface.height)
            continue;
        for (std::uint32_t column = 0; column < image.width; ++column) {
            std::int64_t x = std::int64_t{layer.x} + column;
            if (x < 0 || x >= surface.width)
                continue;
            std::uint32_t& target = surface.pixels[std::size_t(y) * surface.width + std::size_t(x)];
            target = Blend(image.pixels[std::size_t{row} * image.width + column], target);
        }
    }
}

}  // namespace

void Compose(const Frame& frame, const Rect& frameArea, const std::map<int, Layer>& layers, Image& surface)
{
    std::fill(surface.pixels.begin(), surface.pixels.end(), opaqueBlack);
    StretchFrame(frame, frameArea, surface);
    for (const auto& [order, layer] : layers)
        BlendLayer(layer, surface);
}

}  // namespace quorvane::display::headless

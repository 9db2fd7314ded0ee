#include "d3dx9/mipmap.h"

#include <algorithm>

namespace quorvane::d3dx9 {

std::uint32_t FullMipChainLength(std::uint32_t width, std::uint32_t height)
{
    std::uint32_t levels = 1;
    for (std::uint32_t side = std::max(width, height); side > 1; side /= 2) {
        ++levels;
    }
    return levels;
}

void DownsampleBox(const std::uint8_t* source, std::size_t sourcePitch, std::uint32_t width, std::uint32_t height,
                   std::uint8_t* target, std::size_t targetPitch)
{
    const std::uint32_t targetWidth = std::max<std::uint32_t>(1, width / 2);
    const std::uint32_t targetHeight = std::max<std::uint32_t>(1, height / 2);
    // With a side of 1 the "second" row or column is the first one again.
    const std::size_t rowStep = height > 1 ? sourcePitch : 0;
    const std::size_t columnStep = width > 1 ? 4 : 0;
    for (std::uint32_t y = 0; y < targetHeight; ++y) {
        const std::uint8_t* top = source + std::size_t{y} * 2 * rowStep;
        const std::uint8_t* bottom = top + rowStep;
        std::uint8_t* out = target + std::size_t{y} * targetPitch;
        for (std::uint32_t x = 0; x < targetWidth; ++x) {
            const std::size_t left = std::size_t{x} * 2 * columnStep;
            const std::size_t right = left + columnStep;
            for (int c = 0; c < 4; ++c) {
                const unsigned sum = top[left + c] + top[right + c] + bottom[left + c] + bottom[right + c];
                out[x * 4 + c] = static_cast<std::uint8_t>((sum + 2) / 4);
            }
        }
    }
}

}  // namespace quorvane::d3dx9

// Mipmap levels by a 2 x 2 box filter over 32-bit pixels (B, G, R, A bytes).
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvane::d3dx9 {

// The level below a width x height level: max(1, width / 2) x max(1, height / 2). Odd
// sides drop the last row or column; a side of 1 averages the pair on the other side only.
void DownsampleBox(const std::uint8_t* source, std::size_t sourcePitch, std::uint32_t width, std::uint32_t height,
                   std::uint8_t* target, std::size_t targetPitch);

// Levels of a full chain down to 1 x 1.
std::uint32_t FullMipChainLength(std::uint32_t width, std::uint32_t height);

}  // namespace quorvane::d3dx9

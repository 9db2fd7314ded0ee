// The Earth image: the equirectangular source decoded, resampled with a Lanczos-3 filter in
// linear light (longitude wraps around, latitude is clamped at the poles) and encoded as JPEG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::data {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // width * 3 bytes per row, top row first
};

// sRGB components (0 to 1) to linear light and back.
float SrgbToLinear(float c);
float LinearToSrgb(float c);

bool DecodeJpeg(const std::vector<std::uint8_t>& jpeg, RgbImage& image);
RgbImage ResampleLanczos3(const RgbImage& source, int width, int height);
bool EncodeJpeg(const RgbImage& image, int quality, std::vector<std::uint8_t>& jpeg);

}  // namespace quorvane::data

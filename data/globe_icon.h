// The application icon: the Earth as a globe seen from far away, lit from the upper left, on a
// transparent surround; and the .ico file that holds it at several sizes.
#pragma once

#include "earth_image.h"

#include <cstdint>
#include <vector>

namespace quorvane::data {

// A square picture with straight (not premultiplied) alpha: size * size * 4 bytes R, G, B, A,
// top row first.
struct RgbaImage {
    int size = 0;
    std::vector<std::uint8_t> rgba;
};

// The point of the Earth at the centre of the globe, in degrees (north and east positive).
struct GlobeView {
    double latitude = 20.0;
    double longitude = 15.0;
};

// The globe drawn from an equirectangular Earth image (longitude -180 at the left edge, north at
// the top), filling the square but for a margin of a 32nd of its size. Each pixel averages
// several samples in linear light, so the rim fades into the transparent surround.
RgbaImage RenderGlobe(const RgbImage& earth, int size, const GlobeView& view = {});

// An .ico file of the images, in the order given, each as a 32-bit bitmap with its 1-bit mask
// (set where a pixel is wholly transparent). Sizes from 1 to 256.
std::vector<std::uint8_t> IcoFile(const std::vector<RgbaImage>& images);

}  // namespace quorvane::data

// Counting the pixels of two pictures of the same size whose colours are far apart.
#include "picture_match.h"

#include <algorithm>
#include <cstdlib>

namespace quorvane::window_picture {
namespace {

// The largest of the three channel differences of two pixels.
int ChannelDifference(std::uint32_t a, std::uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift <= 16; shift += 8)
        largest = std::max(largest, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
    return largest;
}

// How far the pixel at (x, y) of `a` is from the nearest in colour of `b`'s pixels within `reach`
// pixels of it (a square), as a channel difference.
int NearestDifference(const Picture& a, const Picture& b, std::uint32_t x, std::uint32_t y, int reach)
{
    const std::uint32_t colour = a.pixels[std::size_t{y} * a.width + x];
    int nearest = 255;
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const std::int64_t nx = std::int64_t{x} + dx, ny = std::int64_t{y} + dy;
            if (nx < 0 || ny < 0 || nx >= b.width || ny >= b.height)
                continue;
            nearest = std::min(nearest, ChannelDifference(colour, b.pixels[std::size_t(ny) * b.width + nx]));
        }
    }
    return nearest;
}

// The difference at a pixel: with a reach, a colour either picture has there that the other has
// nowhere near counts, and a line drawn one pixel over does not.
int DifferenceAt(const Picture& wine, const Picture& reference, std::uint32_t x, std::uint32_t y, int reach)
{
    if (reach == 0) {
        const std::size_t i = std::size_t{y} * reference.width + x;
        return ChannelDifference(wine.pixels[i], reference.pixels[i]);
    }
    return std::max(NearestDifference(wine, reference, x, y, reach), NearestDifference(reference, wine, x, y, reach));
}

}  // namespace

PictureDifference Compare(const Picture& wine, const Picture& reference, int reach)
{
    PictureDifference difference;
    difference.allowed = reference.pixels.size() / allowedShare;
    for (std::uint32_t y = 0; y < reference.height; ++y) {
        for (std::uint32_t x = 0; x < reference.width; ++x) {
            const int channel = DifferenceAt(wine, reference, x, y, reach);
            difference.largest = std::max(difference.largest, channel);
            difference.differing += channel > differingLevel ? 1 : 0;
        }
    }
    return difference;
}

Picture DifferenceImage(const Picture& wine, const Picture& reference, int reach)
{
    Picture image{reference.width, reference.height, reference.pixels};
    for (std::uint32_t y = 0; y < reference.height; ++y) {
        for (std::uint32_t x = 0; x < reference.width; ++x) {
            std::uint32_t& pixel = image.pixels[std::size_t{y} * reference.width + x];
            pixel = DifferenceAt(wine, reference, x, y, reach) > differingLevel ? 0xFF0000 : (pixel >> 2) & 0x3F3F3F;
        }
    }
    return image;
}

}  // namespace quorvane::window_picture

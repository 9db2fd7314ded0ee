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

}  // namespace

PictureDifference Compare(const Picture& wine, const Picture& reference)
{
    PictureDifference difference;
    difference.allowed = reference.pixels.size() / allowedShare;
    for (std::size_t i = 0; i < reference.pixels.size(); ++i) {
        const int channel = ChannelDifference(wine.pixels[i], reference.pixels[i]);
        difference.largest = std::max(difference.largest, channel);
        difference.differing += channel > differingLevel ? 1 : 0;
    }
    return difference;
}

Picture DifferenceImage(const Picture& wine, const Picture& reference)
{
    Picture image{reference.width, reference.height, reference.pixels};
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        image.pixels[i] = ChannelDifference(wine.pixels[i], reference.pixels[i]) > differingLevel
                              ? 0xFF0000
                              : (reference.pixels[i] >> 2) & 0x3F3F3F;
    }
    return image;
}

}  // namespace quorvane::window_picture

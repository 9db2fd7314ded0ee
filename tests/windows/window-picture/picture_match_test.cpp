// Pictures compared pixel by pixel, and with a reach: a line one pixel over matches within the
// reach, a line missing or a colour changed does not.
#include "picture_match.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quorvane::window_picture {
namespace {

constexpr std::uint32_t size = 16;
constexpr std::uint32_t background = 0x000000;
constexpr std::uint32_t line = 0x00FF00;

// A black picture with a vertical 1-pixel line at column `column` (none when it is outside).
Picture WithLine(std::uint32_t column, std::uint32_t colour = line)
{
    Picture picture{size, size, std::vector<std::uint32_t>(size * size, background)};
    for (std::uint32_t y = 0; column < size && y < size; ++y)
        picture.pixels[y * size + column] = colour;
    return picture;
}

TEST(PictureMatch, ALineOnePixelOverDiffersOnlyWithoutReach)
{
    struct Case {
        Picture shown;
        int reach;
        std::size_t differing;
    };
    const Case cases[] = {
        {WithLine(8), 0, 0},               // the same
        {WithLine(9), 0, 2 * size},        // one over: both columns differ
        {WithLine(9), 1, 0},               // one over, within the reach
        {WithLine(10), 1, 2 * size},       // two over: out of reach
        {WithLine(size), 1, size},         // missing
        {WithLine(8, 0x0000FF), 1, size},  // another colour
        {WithLine(8, 0x00E000), 1, 0},     // a few levels off
    };
    for (const Case& c : cases) {
        const PictureDifference difference = Compare(c.shown, WithLine(8), c.reach);
        EXPECT_EQ(difference.differing, c.differing) << "reach " << c.reach;
        const Picture image = DifferenceImage(c.shown, WithLine(8), c.reach);
        EXPECT_EQ(std::size_t(std::count(image.pixels.begin(), image.pixels.end(), 0xFF0000u)), c.differing);
    }
}

}  // namespace
}  // namespace quorvane::window_picture

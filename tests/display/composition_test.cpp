// What a headless window shows when asked: the frame stretched over its area, clipped to the
// surface, and layers blended over it in order.
#include "display/headless/composition.h"
#include <gtest/gtest.h>

namespace {

using quorvane::display::Image;
using quorvane::display::Rect;
using quorvane::display::headless::Compose;
using quorvane::display::headless::Frame;
using quorvane::display::headless::Layer;

Image Surface(std::uint32_t width, std::uint32_t height)
{
    return Image{width, height, std::vector<std::uint32_t>(size_t{width} * height, 0x12345678)};
}

std::uint32_t At(const Image& image, std::uint32_t x, std::uint32_t y)
{
    return image.pixels[size_t{y} * image.width + x];
}

TEST(CompositionTest, TheFrameIsStretchedOverItsAreaAndTheRestIsBlack)
{
    // 2 x 2 frame over a 4 x 4 area starting one row down: each frame pixel covers 2 x 2.
    std::vector<std::uint32_t> pixels{0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    Image surface = Surface(4, 5);
    Compose(Frame{&pixels, 2, 2}, Rect{0, 1, 4, 4}, {}, surface);
    EXPECT_EQ(At(surface, 0, 0), 0xFF000000u);  // above the area: black
    EXPECT_EQ(At(surface, 1, 2), 0xFFFF0000u);  // made opaque whatever the frame's alpha
    EXPECT_EQ(At(surface, 2, 1), 0xFF00FF00u);
    EXPECT_EQ(At(surface, 1, 3), 0xFF0000FFu);
    EXPECT_EQ(At(surface, 3, 4), 0xFFFFFFFFu);
}

TEST(CompositionTest, AnAreaPartlyOutsideTheSurfaceIsClipped)
{
    std::vector<std::uint32_t> pixels{0xFF111111, 0xFF222222};
    Image surface = Surface(2, 1);
    Compose(Frame{&pixels, 2, 1}, Rect{-1, 0, 4, 1}, {}, surface);  // frame pixel 0 covers x -1..0
    EXPECT_EQ(At(surface, 0, 0), 0xFF111111u);
    EXPECT_EQ(At(surface, 1, 0), 0xFF222222u);
    Compose(Frame{&pixels, 2, 1}, Rect{5, 0, 4, 1}, {}, surface);  // wholly outside
    EXPECT_EQ(At(surface, 1, 0), 0xFF000000u);
}

TEST(CompositionTest, LayersBlendOverTheFrameInOrder)
{
    std::vector<std::uint32_t> pixels(4, 0xFF000000);
    std::map<int, Layer> layers;
    layers[2] = Layer{1, 0, Image{1, 1, {0x80FFFFFF}}};  // half white over what is below
    layers[1] = Layer{0, 0, Image{2, 1, {0xFF0000FF, 0xFF0000FF}}};
    layers[3] = Layer{-1, -1, Image{1, 1, {0xFFFFFFFF}}};  // off the surface
    Image surface = Surface(2, 2);
    Compose(Frame{&pixels, 2, 2}, Rect{0, 0, 2, 2}, layers, surface);
    EXPECT_EQ(At(surface, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(At(surface, 1, 0), 0xFF8080FFu);  // 0x80 of white over blue
    EXPECT_EQ(At(surface, 0, 1), 0xFF000000u);
}

}  // namespace

// The compositor drawing one window's surface into its place in a larger target, as a canvas that
// shows several windows is drawn: the place shows what the headless display composes on the
// processor for that surface, and the target around it keeps what it had.
#include <gtest/gtest.h>

#include <cstdlib>

#include "display/display.h"
#include "display/headless/composition.h"
#include "display/shared/compositor.h"
#include "display/shared/gl_pixels.h"

namespace quorvane::display {
namespace {

constexpr std::uint32_t targetWidth = 64, targetHeight = 48, marker = 0xFF336699u;

// Each pixel unlike its neighbours, so that a mirrored or shifted picture shows.
Image Pattern(std::uint32_t width, std::uint32_t height, std::uint32_t alpha)
{
    Image image{width, height, {}};
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            image.pixels.push_back((alpha << 24) | ((x * 37 + 11) & 0xFF) << 16 | ((y * 53 + 7) & 0xFF) << 8 |
                                   ((x * y * 29) & 0xFF));
    return image;
}

bool Near(std::uint32_t a, std::uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 1)
            return false;
    return true;
}

TEST(CompositorPlacement, ThePlaceShowsTheSurfaceAndTheRestOfTheTargetStays)
{
    Driver& driver = CurrentDriver();
    GLContext* context = driver.CreateGLContext(nullptr);
    ASSERT_TRUE(context && driver.MakeCurrent(context));
    const Image frameImage = Pattern(8, 4, 0x00);
    const Image layerImage = Pattern(5, 3, 0x80);
    shared::Compositor compositor;
    shared::Texture frame;
    std::map<int, shared::LayerTexture> layers;
    shared::Compositor::Upload(frameImage, frame);
    shared::Compositor::Upload(layerImage, layers[1].image);
    layers[1].x = 3;
    layers[1].y = 1;
    GLuint target = 0, colour = 0;
    glGenFramebuffers(1, &target);
    glGenRenderbuffers(1, &colour);
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, targetWidth, targetHeight);
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);

    const Rect area{0, 2, 20, 10};
    const std::vector<std::uint32_t> framePixels = frameImage.pixels;
    std::map<int, headless::Layer> cpuLayers{{1, headless::Layer{3, 1, layerImage}}};
    // The whole target (one window's own drawable), a place inside it, one cut by its edges.
    for (const Rect& place : {Rect{0, 0, targetWidth, targetHeight}, Rect{10, 5, 20, 12}, Rect{-6, 40, 20, 12}}) {
        SCOPED_TRACE(testing::Message() << place.x << "," << place.y);
        glBindFramebuffer(GL_FRAMEBUFFER, target);
        glClearColor(0.2f, 0.4f, 0.6f, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_TRUE(compositor.ComposeAt(target, targetWidth, targetHeight, place, frame, area, layers,
                                         shared::ScreenScale(1)));
        Image shown{targetWidth, targetHeight, std::vector<std::uint32_t>(targetWidth * targetHeight)};
        glBindFramebuffer(GL_READ_FRAMEBUFFER, target);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        for (std::uint32_t row = 0; row < targetHeight; ++row)
            shared::ReadBgraPixels(0, GLint(targetHeight - 1 - row), targetWidth, 1, &shown.pixels[row * targetWidth]);

        Image expected{place.width, place.height, std::vector<std::uint32_t>(place.width * place.height)};
        headless::Compose(headless::Frame{&framePixels, 8, 4}, area, cpuLayers, expected);
        int wrong = 0;
        for (int y = 0; y < int(targetHeight); ++y) {
            for (int x = 0; x < int(targetWidth); ++x) {
                const int u = x - place.x, v = y - place.y;
                const bool inside = u >= 0 && v >= 0 && u < int(place.width) && v < int(place.height);
                const std::uint32_t want = inside ? expected.pixels[std::size_t(v) * place.width + u] : marker;
                wrong += !Near(shown.pixels[std::size_t(y) * targetWidth + x], want);
            }
        }
        EXPECT_EQ(wrong, 0);
    }
    shared::Compositor::Delete(frame);
    shared::Compositor::Delete(layers[1].image);
    compositor.Release();
    glDeleteRenderbuffers(1, &colour);
    glDeleteFramebuffers(1, &target);
    driver.MakeCurrent(nullptr);
    driver.DestroyGLContext(context);
}

}  // namespace
}  // namespace quorvane::display

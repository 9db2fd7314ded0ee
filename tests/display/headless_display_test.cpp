// The headless display on its own: modes and full screen, window images and their PNG files.
#include "display/display.h"
#include "display/simulated_display.h"
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

using quorvane::display::CurrentDriver;
using quorvane::display::CurrentSimulatedDisplay;
using quorvane::display::Driver;
using quorvane::display::Image;
using quorvane::display::Mode;
using quorvane::display::SimulatedDisplay;
using quorvane::display::Window;
using quorvane::display::WindowDesc;

class HeadlessDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        modes_ = driver_.Modes();
        desktop_ = driver_.DesktopMode();
    }
    void TearDown() override { simulated_.ConfigureModes(modes_, desktop_); }

    Driver& driver_ = CurrentDriver();
    SimulatedDisplay& simulated_ = *CurrentSimulatedDisplay();
    std::vector<Mode> modes_;
    Mode desktop_;
};

TEST_F(HeadlessDisplayTest, FullScreenSwitchesTheCurrentModeUntilLeft)
{
    simulated_.ConfigureModes({{640, 480, 60}, {800, 600, 60}, {800, 600, 75}}, {800, 600, 60});
    Window* window = driver_.CreateDisplayWindow(WindowDesc{"w", 0, 0, 100, 80, true});
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(driver_.EnterFullScreen(window, {1024, 768, 0}));  // not offered
    EXPECT_FALSE(driver_.EnterFullScreen(window, {800, 600, 85}));
    ASSERT_TRUE(driver_.EnterFullScreen(window, {640, 480, 0}));
    EXPECT_EQ(driver_.CurrentMode(), (Mode{640, 480, 60}));
    EXPECT_EQ(driver_.DesktopMode(), (Mode{800, 600, 60}));
    driver_.LeaveFullScreen(window);
    EXPECT_EQ(driver_.CurrentMode(), (Mode{800, 600, 60}));
    ASSERT_TRUE(driver_.EnterFullScreen(window, {800, 600, 75}));
    driver_.DestroyDisplayWindow(window);  // destroying the window gives the display back
    EXPECT_EQ(driver_.CurrentMode(), (Mode{800, 600, 60}));
}

TEST_F(HeadlessDisplayTest, WindowsStartBlackAndFollowTheirSize)
{
    Window* window = driver_.CreateDisplayWindow(WindowDesc{"w", 5, 5, 3, 2, false});
    Image image;
    ASSERT_TRUE(driver_.ReadWindowImage(window, image));
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(6, 0xFF000000u));
    driver_.SetDisplayWindowRect(window, {0, 0, 4, 4});
    ASSERT_TRUE(driver_.ReadWindowImage(window, image));
    EXPECT_EQ(image.pixels.size(), 16u);
    driver_.DestroyDisplayWindow(window);
    EXPECT_FALSE(driver_.ReadWindowImage(window, image));  // a destroyed window is not read
}

TEST_F(HeadlessDisplayTest, PngOfAWindowHasItsSize)
{
    Window* window = driver_.CreateDisplayWindow(WindowDesc{"w", 0, 0, 7, 5, true});
    ASSERT_TRUE(driver_.WriteWindowPng(window, "window.png"));
    std::ifstream file("window.png", std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 24u);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, bytes.begin()));
    auto big = [&](size_t at) { return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3]; };
    EXPECT_EQ(big(16), 7);  // IHDR width
    EXPECT_EQ(big(20), 5);  // IHDR height
    EXPECT_FALSE(driver_.WriteWindowPng(window, "no/such/folder/window.png"));
    driver_.DestroyDisplayWindow(window);
    std::remove("window.png");
}

TEST_F(HeadlessDisplayTest, GLContextsAreCoreProfile33OrLater)
{
    Window* window = driver_.CreateDisplayWindow(WindowDesc{"w", 0, 0, 8, 8, true});
    quorvane::display::GLContext* context = driver_.CreateGLContext(window);
    ASSERT_NE(context, nullptr);
    EXPECT_TRUE(driver_.MakeCurrent(context));
    driver_.DestroyGLContext(context);
    driver_.DestroyDisplayWindow(window);
}

}  // namespace

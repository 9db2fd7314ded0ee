#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "display/sdl/desktop_scale.h"
#include "display/shared/screen_scale.h"

namespace quorvane::display::sdl {
namespace {

using shared::ScreenScale;

struct ScaleCase {
    const char* quorvaneScale;
    const char* gdkScale;
    std::optional<std::string_view> xftDpi;
    float scale;
    const char* complaint;  // the one line on the standard error names this, or no line
};

// Xft.dpi is read from the X resource database's text.
TEST(SdlDesktopScale, TheFirstSourceWithAScaleInRangeCountsRoundedToAQuarter)
{
    const ScaleCase cases[] = {
        {"2", "3", "288", 2, nullptr},
        {nullptr, "3", "288", 3, nullptr},
        {"", "", "\t192", 2, nullptr},
        {"1.3", nullptr, std::nullopt, 1.25f, nullptr},
        {"1.4", nullptr, " 96 ", 1.5f, nullptr},
        {nullptr, nullptr, std::nullopt, 1, nullptr},
        {" 5\t", "2", std::nullopt, 2, "QUORVANE_SCALE=5 is"},
        {"2x", nullptr, "120", 1.25f, "QUORVANE_SCALE=2x is"},
        {nullptr, nullptr, "\t72", 1, nullptr},
        {nullptr, nullptr, "\t0.5", 1, nullptr},
        {nullptr, nullptr, "\t0 ", 1, "Xft.dpi=0 is"},
        {nullptr, nullptr, "", 1, "Xft.dpi= is"},
    };
    for (const ScaleCase& c : cases) {
        testing::internal::CaptureStderr();
        float scale = ChooseScale(ScaleSources{c.quorvaneScale, c.gdkScale, c.xftDpi});
        std::string complaint = testing::internal::GetCapturedStderr();
        EXPECT_EQ(scale, c.scale) << (c.quorvaneScale ? c.quorvaneScale : "-") << " "
                                  << (c.gdkScale ? c.gdkScale : "-");
        EXPECT_EQ(std::count(complaint.begin(), complaint.end(), '\n'), c.complaint ? 1 : 0) << complaint;
        if (c.complaint) {
            EXPECT_NE(complaint.find(std::string("quorvane: ") + c.complaint), std::string::npos) << complaint;
        }
    }
    EXPECT_EQ(XftDpiOf("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), "\t192");
    EXPECT_FALSE(XftDpiOf("Xft.antialias:\t1\nXXft.dpi:\t192\n"));
}

TEST(SdlScreenScale, ALengthComesBackAsTheProgramGaveItAndAPointFallsInItsPixel)
{
    for (float factor : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 3.0f, 4.0f}) {
        ScreenScale scale(factor);
        for (int length = -50; length < 5000; ++length)
            ASSERT_EQ(scale.ToProgram(scale.ToScreen(length)), length) << factor;
    }
    EXPECT_EQ(ScreenScale(2).ToProgram(Mode{2560, 1440, 60}), (Mode{1280, 720, 60}));
    EXPECT_EQ(ScreenScale(2).PointToProgram(-1), -1);
    EXPECT_EQ(ScreenScale(1.5f).PointToProgram(299), 199);
}

}  // namespace
}  // namespace quorvane::display::sdl

// The viewer on a desktop scaled to 200 %, by QUORVANE_SCALE and by the X server's Xft.dpi: it
// sees the desktop it would see on a screen of half the size, and its window and About box are
// twice the size they have there, with a menu bar twice as tall.
#include "viewer_test.h"

#include "temp_directory.h"
#include "user32/window_frame.h"

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

constexpr int scale = 2;
constexpr int screenWidth = 1280;
constexpr int screenHeight = 1024;
constexpr std::uint32_t menuBarGrey = 0xF0F0F0;

// The viewer's window and its About box as the screen shows them.
struct Shown {
    ScreenRect surface;
    ScreenRect aboutBox;
    int barRows = 0;  // rows of menu-bar grey at the surface's right end
};

// Starts the viewer on `session` with `scale` (see ViewerProcess::Start), waits for its picture
// under a menu bar `factor` times as tall, opens its About box and measures both.
std::optional<Shown> Show(XSession& session, const std::string& scale, int factor)
{
    ViewerProcess viewer(session);
    auto client = [&] {
        ScreenRect area = viewer.Surface().value_or(ScreenRect{});
        area.y += user32::menuBarHeight * factor;
        area.height -= user32::menuBarHeight * factor;
        return area;
    };
    if (!viewer.Start(scale) || !viewer.WaitUntilSettled() ||
        !PollUntil([&] { return ShowsEarthAtCentre(session, client()); }, 30s))
        return std::nullopt;
    Shown shown;
    shown.surface = viewer.Surface().value_or(ScreenRect{});
    const int right = shown.surface.x + shown.surface.width - 1;
    while (shown.barRows < shown.surface.height &&
           session.PixelAt(right, shown.surface.y + shown.barRows) == menuBarGrey)
        ++shown.barRows;
    session.Xdotool({"windowactivate", "--sync", std::to_string(viewer.Window()), "key", "alt+slash"});
    if (!PollUntil([&] { return viewer.FindOwnWindow(aboutBoxTitle) != 0; }, 10s))
        return std::nullopt;
    std::optional<ScreenRect> about;
    PollUntil([&] { return (about = session.Geometry(viewer.FindOwnWindow(aboutBoxTitle))).has_value(); }, 10s);
    shown.aboutBox = about.value_or(ScreenRect{});
    return shown;
}

// Against the viewer on a screen of half the size, unscaled; once by QUORVANE_SCALE, once by
// Xft.dpi loaded with xrdb.
TEST_F(EndToEnd, AtAScaleOfTwoTheWindowAndTheAboutBoxAreTwiceAsLarge)
{
    XSession half(screenWidth / scale, screenHeight / scale);
    std::optional<Shown> unscaled = Show(half, "1", 1);
    ASSERT_TRUE(unscaled) << "the viewer did not show at scale 1";
    EXPECT_EQ(unscaled->barRows, user32::menuBarHeight);
    TempDirectory directory;
    directory.Write("resources", "Xft.dpi: 192\n");
    for (bool byXftDpi : {false, true}) {
        SCOPED_TRACE(byXftDpi ? "Xft.dpi" : "QUORVANE_SCALE");
        if (byXftDpi) {
            ASSERT_EQ(RunToEnd({"xrdb", "-merge", directory.Path("resources")}, QuietOn(session->DisplayName()), 10s),
                      0);
        }
        std::optional<Shown> scaled = Show(*session, byXftDpi ? "" : std::to_string(scale), scale);
        ASSERT_TRUE(scaled);
        EXPECT_EQ(scaled->surface.width, unscaled->surface.width * scale);
        EXPECT_EQ(scaled->surface.height, unscaled->surface.height * scale);
        EXPECT_EQ(scaled->barRows, user32::menuBarHeight * scale);
        EXPECT_EQ(scaled->aboutBox.width, unscaled->aboutBox.width * scale);
        EXPECT_EQ(scaled->aboutBox.height, unscaled->aboutBox.height * scale);
    }
}

}  // namespace
}  // namespace quorvane::tests

// Full screen and back under window managers whose rules differ: openbox, and metacity and mutter
// (GNOME's), which take an undecorated window covering the screen for a full-screen one and then
// ignore plain moves. A double-click on the picture or Alt+Enter makes the window cover the desktop without
// its menu bar, and the same again puts it back where it was, at its size, with its menu; a
// double-click right after a switch is not lost. A full screen the user asks of the window manager
// is the window manager's: the window keeps it, as a window the user sized to the screen.
#include "viewer_test.h"

#include "user32/window_frame.h"

#include <functional>

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

bool MenuBarShown(const XSession& session, const ScreenRect& client)
{
    return session.PixelAt(client.x + client.width - 10, client.y - user32::menuBarHeight / 2) == 0xF0F0F0;
}

class FullScreen : public EndToEnd, public testing::WithParamInterface<const char*> {
protected:
    std::string WindowManager() const override { return GetParam(); }

    ScreenRect Desktop() const { return {0, 0, session->ScreenWidth(), session->ScreenHeight()}; }
    bool IsFullScreen() const
    {
        return viewer->Surface() == Desktop() && session->HasState(viewer->Window(), "_NET_WM_STATE_FULLSCREEN");
    }
    bool IsBackAt(const std::optional<ScreenRect>& windowed) const
    {
        return viewer->Surface() == windowed && !session->HasState(viewer->Window(), "_NET_WM_STATE_FULLSCREEN");
    }
    // Double-clicks the Earth at the centre of the client area (with or without the menu bar).
    bool DoubleClickTheEarth(bool withMenu) const
    {
        // Right after a switch the window manager may still be reframing the window, which then
        // has no place on the screen for a moment; the click goes where it is once it has one.
        if (!PollUntil([&] { return viewer->Surface().has_value(); }, 5s))
            return false;
        const ScreenPoint centre = Project({0, 0, 0}, Client(withMenu));
        return session->DoubleClick(centre.x, centre.y);
    }
};

TEST_P(FullScreen, ADoubleClickOrAltEnterGoesFullScreenAtTheDesktopSizeAndBack)
{
    StartViewer();
    const std::optional<ScreenRect> windowed = viewer->Surface();
    ASSERT_TRUE(windowed);
    ASSERT_TRUE(MenuBarShown(*session, Client()));
    const std::pair<const char*, std::function<void(bool)>> toggles[] = {
        {"a double-click", [&](bool withMenu) { EXPECT_TRUE(DoubleClickTheEarth(withMenu)); }},
        {"Alt+Enter", [&](bool) { Key("alt+Return"); }},
    };
    for (const auto& [how, toggle] : toggles) {
        toggle(true);
        EXPECT_TRUE(PollUntil([&] { return IsFullScreen(); }, 10s)) << how << ": not full screen";
        // The picture fills the screen: the Earth at its centre, background where the menu bar was.
        EXPECT_TRUE(viewer->WaitUntilSettled());
        EXPECT_TRUE(viewer->WaitForPicture(false)) << how;
        EXPECT_FALSE(MenuBarShown(*session, {0, user32::menuBarHeight, Desktop().width, Desktop().height})) << how;

        toggle(false);
        EXPECT_TRUE(PollUntil([&] { return IsBackAt(windowed); }, 10s)) << how << ": not back in its place";
        EXPECT_TRUE(viewer->WaitUntilSettled());
        EXPECT_TRUE(viewer->WaitForPicture(true)) << how;
        EXPECT_TRUE(MenuBarShown(*session, Client())) << how;
        EXPECT_EQ(viewer->Surface(), windowed) << how;
    }
}

// The second double-click comes as soon as the window has switched, while the window manager and
// the viewer may still be at it.
TEST_P(FullScreen, ADoubleClickRightAfterASwitchIsNotLost)
{
    StartViewer();
    const std::optional<ScreenRect> windowed = viewer->Surface();
    ASSERT_TRUE(windowed);
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(DoubleClickTheEarth(true));
        ASSERT_TRUE(PollUntil([&] { return viewer->Surface() == Desktop(); }, 10s)) << round << ": not full screen";
        ASSERT_TRUE(DoubleClickTheEarth(false));
        ASSERT_TRUE(PollUntil([&] { return IsBackAt(windowed); }, 10s)) << round << ": not back in its place";
    }
}

// As a pager or the window manager's own key or menu asks it (wmctrl sends the same message): the
// window fills the screen with its menu bar laid out across it, and later comes back to its place.
TEST_P(FullScreen, AFullScreenAskedOfTheWindowManagerIsKeptAndLeftAsAResize)
{
    StartViewer();
    const std::optional<ScreenRect> windowed = viewer->Surface();
    ASSERT_TRUE(windowed);
    for (const std::string change : {"add", "remove"}) {
        const std::vector<std::string> wmctrl = {
            "wmctrl", "-i", "-r", std::to_string(viewer->Window()), "-b", change + ",fullscreen"};
        ASSERT_EQ(RunToEnd(wmctrl, QuietOn(session->DisplayName()), 10s), 0);
        auto arrived = [&] { return change == "add" ? IsFullScreen() : IsBackAt(windowed); };
        EXPECT_TRUE(PollUntil(arrived, 10s)) << change;
        EXPECT_TRUE(viewer->WaitUntilSettled()) << change;
        EXPECT_TRUE(arrived()) << change << ": taken back";
        EXPECT_TRUE(viewer->WaitForPicture(true)) << change;
        EXPECT_TRUE(PollUntil([&] { return MenuBarShown(*session, Client()); }, 10s)) << change;
    }
}

// The window manager's full screen and the program's, on and off in either order: once both are
// off, the window is back at its windowed place and size with its menu bar, whichever went first.
TEST_P(FullScreen, BothKindsOfFullScreenOffInAnyOrderGiveTheWindowedPlaceBack)
{
    StartViewer();
    const std::optional<ScreenRect> windowed = viewer->Surface();
    ASSERT_TRUE(windowed);
    // "wm+"/"wm-": wmctrl adds or removes the window manager's state; "own": Alt+Enter.
    const std::vector<std::vector<std::string>> orders = {
        {"wm+", "own", "own", "wm-"},
        {"wm+", "own", "wm-", "own"},
        {"own", "wm+", "own", "wm-"},
        {"own", "wm+", "wm-", "own"},
    };
    for (const std::vector<std::string>& order : orders) {
        const std::string steps = order[0] + " " + order[1] + " " + order[2] + " " + order[3];
        for (const std::string& step : order) {
            if (step == "own") {
                Key("alt+Return");
            } else {
                const std::vector<std::string> wmctrl = {
                    "wmctrl", "-i",
                    "-r",     std::to_string(viewer->Window()),
                    "-b",     (step == "wm+" ? "add" : "remove") + std::string(",fullscreen")};
                ASSERT_EQ(RunToEnd(wmctrl, QuietOn(session->DisplayName()), 10s), 0) << steps;
                const bool added = step == "wm+";
                EXPECT_TRUE(PollUntil(
                    [&] { return session->HasState(viewer->Window(), "_NET_WM_STATE_FULLSCREEN") == added; }, 10s))
                    << steps << ": after " << step;
            }
            EXPECT_TRUE(viewer->WaitUntilSettled()) << steps << ": after " << step;
        }
        EXPECT_TRUE(PollUntil([&] { return IsBackAt(windowed); }, 10s))
            << steps << ": at " << viewer->Surface().value_or(ScreenRect{}).x << ","
            << viewer->Surface().value_or(ScreenRect{}).y << " " << viewer->Surface().value_or(ScreenRect{}).width
            << "x" << viewer->Surface().value_or(ScreenRect{}).height;
        EXPECT_TRUE(viewer->WaitForPicture(true)) << steps;
        EXPECT_TRUE(PollUntil([&] { return MenuBarShown(*session, Client()); }, 10s)) << steps;
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(UnderWindowManagers, FullScreen, testing::Values("openbox", "metacity", "mutter"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace quorvane::tests

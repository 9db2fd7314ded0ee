// Full screen from a double-click on the picture: the window covers the desktop, without its
// menu bar, and a second double-click puts it back where it was, at its size, with its menu.
#include "viewer_test.h"

#include "user32/window_frame.h"

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

bool DoubleClick(const XSession& session, const ScreenPoint& point)
{
    return session.DoubleClick(point.x, point.y);
}

bool MenuBarShown(const XSession& session, const ScreenRect& client)
{
    return session.PixelAt(client.x + client.width - 10, client.y - user32::menuBarHeight / 2) == 0xF0F0F0;
}

TEST_F(EndToEnd, ADoubleClickGoesFullScreenAtTheDesktopSizeAndBack)
{
    StartViewer();
    const std::optional<ScreenRect> windowed = viewer->Surface();
    ASSERT_TRUE(windowed);
    ASSERT_TRUE(MenuBarShown(*session, Client()));

    ASSERT_TRUE(DoubleClick(*session, Project({0, 0, 0}, Client())));
    const ScreenRect desktop{0, 0, session->ScreenWidth(), session->ScreenHeight()};
    EXPECT_TRUE(PollUntil(
        [&] { return viewer->Surface() == desktop && session->HasState(viewer->Window(), "_NET_WM_STATE_FULLSCREEN"); },
        10s))
        << "not full screen";
    // The picture fills the screen: the Earth at its centre, background where the menu bar was.
    EXPECT_TRUE(viewer->WaitUntilSettled());
    EXPECT_TRUE(viewer->WaitForPicture(false));
    EXPECT_FALSE(MenuBarShown(*session, {0, user32::menuBarHeight, desktop.width, desktop.height}));

    ASSERT_TRUE(DoubleClick(*session, Project({0, 0, 0}, desktop)));
    EXPECT_TRUE(PollUntil([&] { return viewer->Surface() == windowed; }, 10s)) << "not back in its place";
    EXPECT_TRUE(viewer->WaitUntilSettled());
    EXPECT_TRUE(viewer->WaitForPicture(true));
    EXPECT_TRUE(MenuBarShown(*session, Client()));
    EXPECT_EQ(viewer->Surface(), windowed);
}

}  // namespace
}  // namespace quorvane::tests

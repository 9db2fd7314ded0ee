// GNOME on Wayland: the viewer, an X program, on mutter's own Wayland session through XWayland
// (headless, with a virtual screen). It starts, draws the Earth under its menu bar, and ends
// when the window manager closes its window as the title bar's close button does.
#include "viewer_test.h"

#include "user32/window_frame.h"

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

class OnWayland : public EndToEnd {
protected:
    std::string WindowManager() const override { return "mutter-wayland"; }
};

TEST_F(OnWayland, TheViewerStartsDrawsAndClosesThroughXWayland)
{
    StartViewer();  // until the Earth shows at the centre of the client area
    const ScreenRect client = Client();
    EXPECT_EQ(session->PixelAt(client.x + client.width - 10, client.y - user32::menuBarHeight / 2), 0xF0F0F0u);
    ASSERT_EQ(RunToEnd({"wmctrl", "-i", "-c", std::to_string(viewer->Window())}, QuietOn(session->DisplayName()), 10s),
              0);
    EXPECT_EQ(ExitCode(), 0);
}

}  // namespace
}  // namespace quorvane::tests

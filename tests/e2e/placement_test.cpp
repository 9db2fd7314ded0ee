// Where a new window appears: placed once, where it then stays, and at the same place at every
// start; the window manager's frame, which may come a little later, moves nothing.
#include "viewer_test.h"

#include "user32/window_frame.h"

namespace quorvane::tests {
namespace {

TEST_F(EndToEnd, TwentyStartsPlaceTheWindowOnceAtTheSamePlace)
{
    std::optional<ScreenRect> first;
    for (int start = 0; start < 20; ++start) {
        ViewerProcess run(*session);
        ASSERT_TRUE(run.Start()) << "start " << start;
        const Arrival arrival = run.WatchArrival();
        ASSERT_TRUE(arrival.firstFrame) << "start " << start << ": no picture";
        ASSERT_EQ(arrival.places.size(), 1u) << "start " << start << ": the window moved";
        if (!first)
            first = arrival.places[0];
        EXPECT_EQ(arrival.places[0], *first) << "start " << start;
    }
}

// Under a compositing window manager (mutter) a frame presented before the window manager has
// shown the window must not be lost: every start shows the Earth and the menu bar without any
// input, each time.
class FirstFrame : public EndToEnd, public testing::WithParamInterface<const char*> {
protected:
    std::string WindowManager() const override { return GetParam(); }
};

TEST_P(FirstFrame, EveryStartShowsItsPictureAndMenuBar)
{
    for (int start = 0; start < 8; ++start) {
        ViewerProcess run(*session);
        ASSERT_TRUE(run.Start()) << "start " << start;
        ASSERT_TRUE(run.WatchArrival().firstFrame) << "start " << start << ": no picture";
        const std::optional<ScreenRect> client = run.Client();
        ASSERT_TRUE(client) << "start " << start;
        EXPECT_EQ(session->PixelAt(client->x + client->width - 10, client->y - user32::menuBarHeight / 2), 0xF0F0F0u)
            << "start " << start << ": no menu bar";
    }
}

INSTANTIATE_TEST_SUITE_P(UnderWindowManagers, FirstFrame, testing::Values("mutter"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

}  // namespace
}  // namespace quorvane::tests

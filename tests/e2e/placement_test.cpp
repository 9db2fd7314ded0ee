// Where a new window appears: placed once, where it then stays, and at the same place at every
// start; the window manager's frame, which may come a little later, moves nothing.
#include "viewer_test.h"

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

}  // namespace
}  // namespace quorvane::tests

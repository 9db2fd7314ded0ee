#include "display/sdl/window_geometry.h"

#include <gtest/gtest.h>

namespace quorvane::display::sdl {
namespace {

constexpr Rect placed{100, 80, 400, 300};
constexpr Rect moved{130, 90, 400, 300};

TEST(SdlWindowGeometry, OnlyADifferenceFromThePlacedSurfaceIsNews)
{
    WindowGeometry geometry(placed);
    geometry.Reported(1000);
    EXPECT_FALSE(geometry.Settle(placed, true));
    EXPECT_EQ(geometry.Placed(), placed);
    geometry.Reported(2000);
    EXPECT_TRUE(geometry.Settle(moved, true));
    EXPECT_EQ(geometry.Placed(), moved);
    EXPECT_FALSE(geometry.SettleTime());
}

TEST(SdlWindowGeometry, ARequestWaitsForTheWindowManager)
{
    WindowGeometry geometry(placed);
    geometry.Place(moved, 1000);
    EXPECT_EQ(geometry.Placed(), moved);
    EXPECT_FALSE(geometry.Due(1000 + WindowGeometry::answerLimit - 1));
    // A late report or answer of the old place, while the request is on its way, changes nothing
    // yet; the answer that the window is where it was placed ends the wait at once.
    geometry.Reported(1010);
    geometry.Answered(placed, 1011);
    EXPECT_FALSE(geometry.Due(1011 + WindowGeometry::reportDelay));
    geometry.Answered(moved, 1030);
    EXPECT_TRUE(geometry.Due(1030));
    EXPECT_FALSE(geometry.Settle(moved, true));
}

TEST(SdlWindowGeometry, WithoutAnAnswerTheWaitEndsAfterTheLimit)
{
    WindowGeometry geometry(placed);
    geometry.Place(moved, 1000);
    EXPECT_TRUE(geometry.Due(1000 + WindowGeometry::answerLimit));
    // The window manager put it elsewhere: that is news.
    EXPECT_TRUE(geometry.Settle(placed, true));
    // Once settled, an answer is a report of the window manager's own change, looked at after
    // its burst.
    geometry.Answered(moved, 2000);
    EXPECT_EQ(geometry.SettleTime(), 2000 + WindowGeometry::reportDelay);
}

TEST(SdlWindowGeometry, ABurstOfReportsIsLookedAtOnce)
{
    WindowGeometry geometry(placed);
    geometry.Reported(1000);
    geometry.Reported(1010);
    geometry.Reported(1015);
    EXPECT_EQ(geometry.SettleTime(), 1000 + WindowGeometry::reportDelay);
    // A request during the burst waits longer.
    geometry.Place(placed, 1016);
    EXPECT_EQ(geometry.SettleTime(), 1016 + WindowGeometry::answerLimit);
}

TEST(SdlWindowGeometry, NothingIsReportedWhileTheWindowCannotBeMoved)
{
    WindowGeometry geometry(placed);
    geometry.Reported(1000);
    EXPECT_FALSE(geometry.Settle(Rect{0, 0, 1280, 1024}, false));  // full screen, say
    EXPECT_EQ(geometry.Placed(), placed);
    EXPECT_FALSE(geometry.SettleTime());
}

TEST(SdlWindowGeometry, TheClockMayWrap)
{
    WindowGeometry geometry(placed);
    geometry.Place(moved, 0xFFFFFFF0u);
    EXPECT_FALSE(geometry.Due(0xFFFFFFFFu));
    EXPECT_FALSE(geometry.Due(0x10u));
    EXPECT_TRUE(geometry.Due(0xFFFFFFF0u + WindowGeometry::answerLimit));  // past the wrap
}

}  // namespace
}  // namespace quorvane::display::sdl

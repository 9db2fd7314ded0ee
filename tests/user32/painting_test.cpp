// Painting: invalidations gather into one WM_PAINT that comes when nothing else waits;
// UpdateWindow paints at once; BeginPaint hands out what is invalid and validates it.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "recording_window.h"

namespace quorvane::tests {
namespace {

using test_controls::InjectMouseButton;
using test_controls::InjectMouseMove;
using test_controls::MouseButton;

class PaintingTest : public RecordingWindowTest {
protected:
    PaintingTest() : RecordingWindowTest({}, true) {}

    RECT UpdateRect()
    {
        RECT rect{};
        GetUpdateRect(window_.Handle(), &rect, FALSE);
        return rect;
    }
};

TEST_F(PaintingTest, ABurstOfInvalidationsAndMovesGivesOnePaintAfterTheInput)
{
    int paints = 0;
    window_.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT)
            ++paints;
        else if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST)
            InvalidateRect(window_.Handle(), nullptr, FALSE);  // as the viewer does on every drag step
        return std::nullopt;
    };
    HWND w = window_.Handle();
    // Moves separated by presses and releases stay separate; consecutive ones merge.
    InjectMouseMove(w, 1, 1);
    InjectMouseButton(w, MouseButton::Left, true, 1, 1);
    InjectMouseMove(w, 2, 2);
    InjectMouseMove(w, 3, 3);
    InjectMouseMove(w, 4, 4);
    InjectMouseButton(w, MouseButton::Left, false, 4, 4);
    InvalidateRect(w, nullptr, FALSE);
    std::vector<MSG> taken = PumpMessages();
    EXPECT_EQ(MessageIds(taken),
              (std::vector<UINT>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_PAINT}));
    EXPECT_EQ(taken[2].lParam, MAKELPARAM(4, 4));  // the latest position of the merged moves
    EXPECT_EQ(paints, 1);
}

TEST_F(PaintingTest, UpdateWindowPaintsAtOnceAndOnlyWhatIsInvalid)
{
    RECT first{10, 10, 20, 20}, second{50, 5, 60, 15};
    InvalidateRect(window_.Handle(), &first, FALSE);
    InvalidateRect(window_.Handle(), &second, FALSE);
    RECT painted{};
    window_.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT paint;
        BeginPaint(window_.Handle(), &paint);
        painted = paint.rcPaint;
        EndPaint(window_.Handle(), &paint);
        return 0;
    };
    UpdateWindow(window_.Handle());
    EXPECT_EQ(window_.Messages(), (std::vector<UINT>{WM_PAINT}));  // no erase was asked for
    EXPECT_EQ(painted.left, 10);
    EXPECT_EQ(painted.top, 5);
    EXPECT_EQ(painted.right, 60);
    EXPECT_EQ(painted.bottom, 20);
    EXPECT_FALSE(GetUpdateRect(window_.Handle(), nullptr, FALSE));
    UpdateWindow(window_.Handle());
    EXPECT_EQ(window_.Messages().size(), 1u);
}

TEST_F(PaintingTest, EraseIsAskedForOnlyWhenAnInvalidationWantsIt)
{
    InvalidateRect(window_.Handle(), nullptr, TRUE);
    InvalidateRect(window_.Handle(), nullptr, FALSE);  // does not cancel the erase
    PumpMessages();
    EXPECT_EQ(window_.Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
}

TEST_F(PaintingTest, HiddenAndMinimisedWindowsAreNotPainted)
{
    ShowWindow(window_.Handle(), SW_HIDE);
    InvalidateRect(window_.Handle(), nullptr, FALSE);
    EXPECT_TRUE(PumpMessages().empty());
    ShowWindow(window_.Handle(), SW_SHOWMINIMIZED);
    EXPECT_TRUE(PumpMessages().empty());
    ShowWindow(window_.Handle(), SW_RESTORE);
    EXPECT_EQ(MessageIds(PumpMessages()), (std::vector<UINT>{WM_PAINT}));
}

TEST_F(PaintingTest, ValidationTakesOffWholeBandsAndKeepsTheRest)
{
    RECT all{0, 0, 300, 200};
    InvalidateRect(window_.Handle(), &all, FALSE);
    RECT topBand{0, 0, 300, 50};
    ValidateRect(window_.Handle(), &topBand);
    EXPECT_EQ(UpdateRect().top, 50);
    RECT middle{100, 100, 120, 120};  // a hole: the bounding rectangle stays
    ValidateRect(window_.Handle(), &middle);
    EXPECT_EQ(UpdateRect().top, 50);
    EXPECT_EQ(UpdateRect().bottom, 200);
    RECT outside{-50, -50, 400, 400};
    InvalidateRect(window_.Handle(), &outside, FALSE);  // clipped to the client area
    EXPECT_EQ(UpdateRect().left, 0);
    EXPECT_EQ(UpdateRect().bottom, 200);
    ValidateRect(window_.Handle(), &outside);
    EXPECT_FALSE(GetUpdateRect(window_.Handle(), nullptr, FALSE));
}

TEST_F(PaintingTest, GrowingTheWindowInvalidatesWhatItUncovers)
{
    RECT outer{};
    GetWindowRect(window_.Handle(), &outer);
    SetWindowPos(window_.Handle(), nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT update = UpdateRect();  // the class has no CS_HREDRAW: the old area stays valid
    EXPECT_EQ(update.left, 300);
    EXPECT_EQ(update.right, 400);
    EXPECT_EQ(update.bottom, 200);

    RecordingWindow redrawn({.doubleClicks = true});  // that class has CS_HREDRAW and CS_VREDRAW
    ValidateRect(redrawn.Handle(), nullptr);
    SetWindowPos(redrawn.Handle(), nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetUpdateRect(redrawn.Handle(), &update, FALSE);
    EXPECT_EQ(update.left, 0);
    EXPECT_EQ(update.right, 400);
}

}  // namespace
}  // namespace quorvane::tests

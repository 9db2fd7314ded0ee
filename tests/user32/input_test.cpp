// Input from the display's event source: routing to the window under the mouse or the capture,
// double-clicks, the wheel, keys and their characters, and the menu bar's non-client area.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "recording_window.h"

namespace quorvane::tests {
namespace {

using test_controls::AdvanceInputClock;
using test_controls::InjectKey;
using test_controls::InjectMouseButton;
using test_controls::InjectMouseMove;
using test_controls::InjectMouseWheel;
using test_controls::MouseButton;

constexpr LONG frame = 8, caption = 23, menuBar = 20;

// The messages a press and release of the left button at (x, y) give.
std::vector<UINT> Click(HWND window, int x, int y)
{
    InjectMouseButton(window, MouseButton::Left, true, x, y);
    InjectMouseButton(window, MouseButton::Left, false, x, y);
    return MessageIds(PumpMessages());
}

TEST(InputTest, TheCaptureTakesEveryMouseMessage)
{
    RecordingWindow left({.x = 0, .y = 0}), right({.x = 400, .y = 0});
    PumpMessages();
    ASSERT_EQ(SetCapture(left.Handle()), nullptr);
    EXPECT_EQ(GetCapture(), left.Handle());
    // Over the right window, but the left one holds the mouse: client coordinates of the left.
    InjectMouseMove(right.Handle(), 10, 20);
    std::vector<MSG> taken = PumpMessages();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].hwnd, left.Handle());
    EXPECT_EQ(taken[0].lParam, MAKELPARAM(400 + 10, 20));

    EXPECT_EQ(SetCapture(right.Handle()), left.Handle());
    ASSERT_EQ(left.Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(left.Of(WM_CAPTURECHANGED)[0].lParam, LPARAM(right.Handle()));
    ReleaseCapture();
    EXPECT_EQ(right.Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    InjectMouseMove(right.Handle(), 10, 20);
    EXPECT_EQ(PumpMessages().at(0).hwnd, right.Handle());

    SetCapture(right.Handle());
    DestroyWindow(right.Handle());  // a destroyed window lets go
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(InputTest, DoubleClicksNeedTheClassStyleAndComeOnlyQuicklyAndClose)
{
    RecordingWindow plain, wanting({.doubleClicks = true});
    PumpMessages();
    std::vector<UINT> single{WM_LBUTTONDOWN, WM_LBUTTONUP}, dbl{WM_LBUTTONDBLCLK, WM_LBUTTONUP};

    Click(plain.Handle(), 50, 50);
    EXPECT_EQ(Click(plain.Handle(), 50, 50), single);

    Click(wanting.Handle(), 50, 50);
    AdvanceInputClock(499);
    EXPECT_EQ(Click(wanting.Handle(), 52, 48), dbl);     // 2 pixels off each way is close enough
    EXPECT_EQ(Click(wanting.Handle(), 52, 48), single);  // a third click starts again

    AdvanceInputClock(1000);
    Click(wanting.Handle(), 50, 50);
    AdvanceInputClock(500);
    EXPECT_EQ(Click(wanting.Handle(), 50, 50), single);  // too late

    AdvanceInputClock(1000);
    Click(wanting.Handle(), 50, 50);
    EXPECT_EQ(Click(wanting.Handle(), 53, 50), single);  // too far

    AdvanceInputClock(1000);
    Click(wanting.Handle(), 50, 50);
    InjectMouseButton(wanting.Handle(), MouseButton::Right, true, 50, 50);  // another button does not pair
    InjectMouseButton(wanting.Handle(), MouseButton::Right, false, 50, 50);
    EXPECT_EQ(MessageIds(PumpMessages()), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
}

TEST(InputTest, TheMenuBarIsNonClientAndAlwaysGetsDoubleClicks)
{
    RecordingWindow window({.x = 100, .y = 50, .menu = SomeMenu()});
    PumpMessages();
    // 10 pixels above the client area, right of the bar's only title (a press on a title opens the menu)
    InjectMouseButton(window.Handle(), MouseButton::Left, true, 250, -10);
    InjectMouseButton(window.Handle(), MouseButton::Left, false, 250, -10);
    InjectMouseButton(window.Handle(), MouseButton::Left, true, 250, -10);
    std::vector<MSG> taken = PumpMessages();
    ASSERT_EQ(MessageIds(taken), (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK}));
    EXPECT_EQ(taken[0].wParam, WPARAM(HTMENU));
    EXPECT_EQ(taken[0].lParam, MAKELPARAM(100 + frame + 250, 50 + frame + caption + menuBar - 10));
    InjectMouseButton(window.Handle(), MouseButton::Left, false, 250, -10);
}

TEST(InputTest, WheelTurnsArePassedOnInUnitsOf120AFinerWheelAddingUp)
{
    RecordingWindow window({.x = 100, .y = 50});
    PumpMessages();
    InjectMouseButton(window.Handle(), MouseButton::Right, true, 5, 5);
    InjectMouseWheel(window.Handle(), 1.0f, 10, 20);
    InjectMouseButton(window.Handle(), MouseButton::Right, false, 5, 5);
    InjectMouseWheel(window.Handle(), -0.5f, 10, 20);
    for (int i = 0; i < 3; ++i)
        InjectMouseWheel(window.Handle(), 0.004f, 10, 20);  // 0.48 units each
    PumpMessages();
    std::vector<Received> wheel = window.Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 3u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), 120);
    EXPECT_EQ(GET_KEYSTATE_WPARAM(wheel[0].wParam), MK_RBUTTON);
    EXPECT_EQ(wheel[0].lParam, MAKELPARAM(100 + frame + 10, 50 + frame + caption + 20));  // screen coordinates
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[1].wParam), -60);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[2].wParam), 1);  // the third small step completes one unit
}

TEST(InputTest, KeysBecomeKeyMessagesAndTranslateIntoCharacters)
{
    RecordingWindow window;
    PumpMessages();
    window.Clear();
    HWND w = window.Handle();
    InjectKey(w, 'A', true, L'a');
    InjectKey(w, 'A', false);
    InjectKey(w, VK_F1, true);
    PumpMessages();
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP, WM_KEYDOWN}));
    EXPECT_EQ(window.Of(WM_CHAR)[0].wParam, WPARAM(L'a'));
    EXPECT_EQ(window.Of(WM_KEYUP)[0].lParam & 0xC0000000, LPARAM(0xC0000000));  // was down, going up
    InjectKey(w, VK_F1, false);
    PumpMessages();

    // With Alt held, keys are system keys, and the character still comes (Alt+Shift+/ is '?').
    window.Clear();
    InjectKey(w, VK_MENU, true);
    InjectKey(w, VK_SHIFT, true);
    InjectKey(w, VK_OEM_2, true, L'?');
    PumpMessages();
    // The default procedure takes Alt+'?' for a menu mnemonic.
    EXPECT_EQ(window.Messages(),
              (std::vector<UINT>{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSCHAR, WM_SYSCOMMAND}));
    ASSERT_EQ(window.Of(WM_SYSCHAR).size(), 1u);
    EXPECT_EQ(window.Of(WM_SYSCHAR)[0].wParam, WPARAM(L'?'));
    EXPECT_TRUE(HIWORD(window.Of(WM_SYSCHAR)[0].lParam) & KF_ALTDOWN);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    InjectKey(w, VK_OEM_2, false);
    InjectKey(w, VK_SHIFT, false);
    InjectKey(w, VK_MENU, false);
    PumpMessages();
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);

    // Alt with Control is AltGr: ordinary keys; F10 alone is a system key.
    window.Clear();
    InjectKey(w, VK_CONTROL, true);
    InjectKey(w, VK_MENU, true);
    InjectKey(w, 'Q', true, L'@');
    PumpMessages();
    EXPECT_EQ(window.Messages().back(), UINT(WM_CHAR));
    EXPECT_EQ(window.Of(WM_KEYDOWN).back().wParam, WPARAM('Q'));
    InjectKey(w, 'Q', false);
    InjectKey(w, VK_MENU, false);
    InjectKey(w, VK_CONTROL, false);
    PumpMessages();
    window.Clear();
    InjectKey(w, VK_F10, true);
    test_controls::InjectText(w, L'é');  // text from an input method, without a key
    PumpMessages();
    EXPECT_EQ(window.Messages(), (std::vector<UINT>{WM_SYSKEYDOWN, WM_CHAR}));
    EXPECT_EQ(window.Of(WM_CHAR)[0].wParam, WPARAM(L'é'));
    InjectKey(w, VK_F10, false);
}

TEST(InputTest, KeysGoToTheFocusWhenItIsInTheWindow)
{
    RecordingWindow first, second;
    PumpMessages();
    EXPECT_EQ(SetFocus(second.Handle()), nullptr);
    EXPECT_EQ(second.Of(WM_SETFOCUS).size(), 1u);
    InjectKey(second.Handle(), VK_F2, true);
    InjectKey(first.Handle(), VK_F3, true);  // the focus is elsewhere: the window itself
    PumpMessages();
    ASSERT_EQ(second.Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(second.Of(WM_KEYDOWN)[0].wParam, WPARAM(VK_F2));
    ASSERT_EQ(first.Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(SetFocus(first.Handle()), second.Handle());
    EXPECT_EQ(second.Of(WM_KILLFOCUS).size(), 1u);
}

}  // namespace
}  // namespace quorvane::tests

// Window placement and state: WM_MOVE and WM_SIZE inside SetWindowPos and SetMenu, the client
// area with and without a menu bar, topmost, styles and long values, showing, minimising and
// maximising, enabling, and changes made by the window manager.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "recording_window.h"

namespace quorvane::tests {
namespace {

constexpr LONG frame = 8, caption = 23, menuBar = 20;  // WS_OVERLAPPEDWINDOW at 96 DPI

using PlacementTest = RecordingWindowTest;

TEST_F(PlacementTest, SetWindowPosDeliversMoveAndSizeBeforeItReturns)
{
    bool nestedDone = false;
    window_.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SIZE)
            nestedDone = SendMessageW(window_.Handle(), WM_USER, 0, 0) == 0;
        return std::nullopt;
    };
    ASSERT_TRUE(SetWindowPos(window_.Handle(), nullptr, 20, 30, 416, 339, SWP_NOZORDER));
    EXPECT_TRUE(nestedDone);
    ASSERT_EQ(window_.Messages(), (std::vector<UINT>{WM_MOVE, WM_SIZE, WM_USER}));
    EXPECT_EQ(window_.Log()[0].lParam, MAKELPARAM(20 + frame, 30 + frame + caption));
    EXPECT_EQ(window_.Log()[1].wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(window_.Log()[1].lParam, MAKELPARAM(400, 300));
    window_.Clear();
    SetWindowPos(window_.Handle(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(window_.Messages(), (std::vector<UINT>{WM_MOVE}));
    window_.Clear();
    SetWindowPos(window_.Handle(), nullptr, 0, 0, 416, 339, SWP_NOMOVE | SWP_NOZORDER);  // same size
    EXPECT_TRUE(window_.Messages().empty());
}

TEST_F(PlacementTest, AMenuBarTakesItsHeightFromTheClientArea)
{
    HMENU menu = SomeMenu();
    RecordingWindow withMenu({.clientWidth = 300, .clientHeight = 200, .menu = menu});
    EXPECT_EQ(GetMenu(withMenu.Handle()), menu);
    EXPECT_EQ(ClientRectOf(withMenu.Handle()).bottom, 200);
    RECT outer = WindowRectOf(withMenu.Handle());
    EXPECT_EQ(outer.bottom - outer.top, 200 + 2 * frame + caption + menuBar);

    withMenu.Clear();
    ASSERT_TRUE(SetMenu(withMenu.Handle(), nullptr));
    ASSERT_EQ(withMenu.Messages(), (std::vector<UINT>{WM_MOVE, WM_SIZE}));  // the client area starts higher
    EXPECT_EQ(withMenu.Log()[1].lParam, MAKELPARAM(300, 200 + menuBar));
    EXPECT_EQ(ClientRectOf(withMenu.Handle()).bottom, 200 + menuBar);
    EXPECT_EQ(WindowRectOf(withMenu.Handle()).bottom, outer.bottom);  // the window keeps its size
    EXPECT_TRUE(IsMenu(menu));                                        // taken off, not destroyed

    ASSERT_TRUE(SetMenu(withMenu.Handle(), menu));
    EXPECT_EQ(ClientRectOf(withMenu.Handle()).bottom, 200);
    EXPECT_EQ(withMenu.Log().back().lParam, MAKELPARAM(300, 200));
    EXPECT_FALSE(SetMenu(withMenu.Handle(), reinterpret_cast<HMENU>(ULONG_PTR{0x5E00})));
    EXPECT_EQ(GetMenu(withMenu.Handle()), menu);
    DestroyWindow(withMenu.Handle());
    EXPECT_FALSE(IsMenu(menu));  // the window's menu goes with it
}

TEST_F(PlacementTest, TopmostFollowsTheInsertAfterHandle)
{
    HWND w = window_.Handle();
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);  // order untouched
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(PlacementTest, StylesChangeTheFrameOnlyWithTheNextSetWindowPos)
{
    HWND w = window_.Handle();
    EXPECT_EQ(DWORD(GetWindowLongW(w, GWL_STYLE)), DWORD(WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(DWORD(SetWindowLongW(w, GWL_STYLE, LONG(WS_POPUP | WS_VISIBLE))), DWORD(WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(DWORD(GetWindowLongW(w, GWL_STYLE)), DWORD(WS_POPUP | WS_VISIBLE));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(ClientRectOf(w).right, 300);  // the old frame until the window is placed again
    SetWindowPos(w, nullptr, 0, 0, 640, 480, SWP_NOZORDER);
    EXPECT_EQ(ClientRectOf(w).right, 640);
    EXPECT_EQ(ClientRectOf(w).bottom, 480);

    EXPECT_EQ(SetWindowLongW(w, 4, 1234), 0);  // the class's extra bytes
    EXPECT_EQ(GetWindowLongW(w, 4), 1234);
    EXPECT_EQ(GetWindowLongW(w, 14), 0);  // past the end
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    EXPECT_EQ(GetWindowLongW(reinterpret_cast<HWND>(0x1234), GWL_STYLE), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(PlacementTest, ShowMinimiseMaximiseAndRestore)
{
    HWND w = window_.Handle();
    RECT normal = WindowRectOf(w);
    EXPECT_FALSE(ShowWindow(w, SW_SHOW));
    EXPECT_TRUE(ShowWindow(w, SW_SHOW));
    EXPECT_EQ(window_.Messages(), (std::vector<UINT>{WM_SHOWWINDOW}));

    window_.Clear();
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(w));
    RECT maximized = WindowRectOf(w);
    EXPECT_EQ(maximized.left, -frame);
    EXPECT_EQ(maximized.right, 1920 + frame);  // the headless desktop
    ASSERT_FALSE(window_.Of(WM_SIZE).empty());
    EXPECT_EQ(window_.Of(WM_SIZE).back().wParam, WPARAM(SIZE_MAXIMIZED));
    EXPECT_EQ(LOWORD(window_.Of(WM_SIZE).back().lParam), 1920);

    window_.Clear();
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(ClientRectOf(w).right, 0);
    ASSERT_EQ(window_.Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(window_.Of(WM_SIZE)[0].wParam, WPARAM(SIZE_MINIMIZED));

    ShowWindow(w, SW_RESTORE);  // back to maximised first, then to the normal place
    EXPECT_FALSE(IsIconic(w));
    EXPECT_TRUE(IsZoomed(w));
    ShowWindow(w, SW_RESTORE);
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_EQ(WindowRectOf(w).left, normal.left);
    EXPECT_EQ(WindowRectOf(w).bottom, normal.bottom);
    EXPECT_EQ(LOWORD(window_.Of(WM_SIZE).back().lParam), 300);
}

TEST_F(PlacementTest, ADisabledWindowSaysSoAndTakesNoInput)
{
    HWND w = window_.Handle();
    EXPECT_FALSE(EnableWindow(w, FALSE));  // it was enabled
    EXPECT_FALSE(IsWindowEnabled(w));
    EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_DISABLED);
    EXPECT_TRUE(EnableWindow(w, FALSE));  // already disabled: no new WM_ENABLE
    ASSERT_EQ(window_.Of(WM_ENABLE).size(), 1u);
    EXPECT_EQ(window_.Of(WM_ENABLE)[0].wParam, WPARAM(FALSE));
    test_controls::InjectMouseButton(w, test_controls::MouseButton::Left, true, 5, 5);
    test_controls::InjectKey(w, 'A', true, L'a');
    test_controls::InjectCloseRequest(w);
    PumpMessages();
    EXPECT_TRUE(window_.Of(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(window_.Of(WM_KEYDOWN).empty());
    EXPECT_TRUE(IsWindow(w));
    EXPECT_TRUE(EnableWindow(w, TRUE));
    EXPECT_TRUE(IsWindowEnabled(w));
}

TEST_F(PlacementTest, TheWindowManagersChangesReachTheProgramOnce)
{
    HWND w = window_.Handle();
    RECT before = WindowRectOf(w);
    // The surface (client area here, no menu) moved and grew by the window manager.
    ASSERT_TRUE(test_controls::MoveSurfaceAsWindowManager(w, 200, 150, 500, 400));
    PumpMessages();
    ASSERT_EQ(window_.Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(window_.Of(WM_SIZE)[0].lParam, MAKELPARAM(500, 400));
    ASSERT_EQ(window_.Of(WM_MOVE).size(), 1u);
    EXPECT_EQ(window_.Of(WM_MOVE)[0].lParam, MAKELPARAM(200, 150));
    RECT after = WindowRectOf(w);
    EXPECT_EQ(after.left, 200 - frame);
    EXPECT_EQ(after.top, 150 - frame - caption);
    EXPECT_EQ(after.right - after.left, before.right - before.left + 200);

    // The program places the window itself; a late report of that change is not news.
    SetWindowPos(w, nullptr, 10, 10, 316, 239, SWP_NOZORDER);
    window_.Clear();
    ASSERT_TRUE(test_controls::MoveSurfaceAsWindowManager(w, 10 + frame, 10 + frame + caption, 300, 200));
    PumpMessages();
    EXPECT_TRUE(window_.Of(WM_SIZE).empty());
    EXPECT_TRUE(window_.Of(WM_MOVE).empty());
}

TEST_F(PlacementTest, MinimisingAndRestoringByTheWindowManager)
{
    HWND w = window_.Handle();
    test_controls::InjectMinimized(w);
    PumpMessages();
    EXPECT_TRUE(IsIconic(w));
    ASSERT_EQ(window_.Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(window_.Of(WM_SIZE)[0].wParam, WPARAM(SIZE_MINIMIZED));
    test_controls::InjectRestored(w);
    PumpMessages();
    EXPECT_FALSE(IsIconic(w));
    EXPECT_EQ(window_.Of(WM_SIZE).back().wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(window_.Of(WM_SIZE).back().lParam, MAKELPARAM(300, 200));
}

}  // namespace
}  // namespace quorvane::tests

// What the default window procedure does for the program: closing, the system commands, Alt+F4,
// a double-click on the caption, and handing the menu's keys to the menu layer.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "recording_window.h"

namespace quorvane::tests {
namespace {

using test_controls::InjectKey;

class DefWindowProcTest : public RecordingWindowTest {
protected:
    DefWindowProcTest() : RecordingWindowTest({}, true) {}

    std::vector<WPARAM> SystemCommands() const { return window_.WParamsOf(WM_SYSCOMMAND); }
};

TEST_F(DefWindowProcTest, TheCloseButtonClosesThroughTheSystemCommand)
{
    ASSERT_TRUE(test_controls::InjectCloseRequest(window_.Handle()));
    PumpMessages();
    EXPECT_EQ(window_.Messages(), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(window_.Log()[0].wParam, WPARAM(SC_CLOSE));
    EXPECT_FALSE(IsWindow(window_.Handle()));
}

TEST_F(DefWindowProcTest, AltF4Closes)
{
    InjectKey(window_.Handle(), VK_MENU, true);
    InjectKey(window_.Handle(), VK_F4, true);
    PumpMessages();
    EXPECT_EQ(SystemCommands(), (std::vector<WPARAM>{SC_CLOSE}));
    EXPECT_FALSE(IsWindow(window_.Handle()));
    InjectKey(window_.Handle(), VK_F4, false);
    InjectKey(window_.Handle(), VK_MENU, false);
}

TEST_F(DefWindowProcTest, MaximiseRestoreAndTheCaptionDoubleClick)
{
    HWND w = window_.Handle();
    SendMessageW(w, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_EQ(SystemCommands(), (std::vector<WPARAM>{SC_MAXIMIZE}));
    EXPECT_TRUE(IsZoomed(w));
    SendMessageW(w, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);  // a maximised window goes back
    EXPECT_EQ(SystemCommands().back(), WPARAM(SC_RESTORE));
    EXPECT_FALSE(IsZoomed(w));
    SendMessageW(w, WM_NCLBUTTONDBLCLK, HTCLIENT, 0);
    EXPECT_EQ(SystemCommands().size(), 2u);
}

TEST_F(DefWindowProcTest, AProgramThatTakesTheMaximiseCommandKeepsItsWindowAsItWas)
{
    HWND w = window_.Handle();
    window_.handler = [](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SYSCOMMAND && wParam == SC_MAXIMIZE)
            return 0;  // as the viewer does: full screen instead
        return std::nullopt;
    };
    // A window manager that maximised the surface already, then asks.
    test_controls::MoveSurfaceAsWindowManager(w, 0, 0, 1920, 1080);
    test_controls::InjectMaximizeRequest(w);
    PumpMessages();
    EXPECT_EQ(SystemCommands(), (std::vector<WPARAM>{SC_MAXIMIZE}));
    EXPECT_FALSE(IsZoomed(w));
}

// Also from a control inside the window: the keys go to the focus, the commands to the window.
TEST_F(DefWindowProcTest, TheMenuKeysReachTheMenuLayerAsKeyMenuCommands)
{
    HWND w = window_.Handle();
    HWND control = CreateWindowExW(0, L"RecordingWindow", L"", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, w, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    for (HWND focus : {w, control}) {
        SCOPED_TRACE(focus == w ? "the window has the focus" : "a control has the focus");
        SetFocus(focus);
        window_.Clear();
        InjectKey(w, VK_MENU, true);
        InjectKey(w, VK_MENU, false);
        PumpMessages();
        ASSERT_EQ(window_.Of(WM_SYSCOMMAND).size(), 1u);
        EXPECT_EQ(window_.Of(WM_SYSCOMMAND)[0].wParam, WPARAM(SC_KEYMENU));
        EXPECT_EQ(window_.Of(WM_SYSCOMMAND)[0].lParam, 0);

        window_.Clear();
        InjectKey(w, VK_F10, true);
        InjectKey(w, VK_F10, false);
        PumpMessages();
        EXPECT_EQ(SystemCommands(), (std::vector<WPARAM>{SC_KEYMENU}));

        window_.Clear();
        InjectKey(w, VK_MENU, true);
        InjectKey(w, 'F', true, L'f');  // a mnemonic
        InjectKey(w, 'F', false);
        InjectKey(w, VK_MENU, false);
        PumpMessages();
        ASSERT_EQ(window_.Of(WM_SYSCOMMAND).size(), 1u);
        EXPECT_EQ(window_.Of(WM_SYSCOMMAND)[0].lParam, LPARAM(L'f'));
    }
}

TEST_F(DefWindowProcTest, AltEnterHandledByTheProgramDoesNotOpenTheMenu)
{
    HWND w = window_.Handle();
    window_.handler = [](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SYSKEYDOWN && wParam == VK_RETURN)
            return 0;  // the viewer's full-screen toggle
        if (message == WM_SYSCHAR && wParam == '\r')
            return 0;
        return std::nullopt;
    };
    InjectKey(w, VK_MENU, true);
    InjectKey(w, VK_RETURN, true, L'\r');
    InjectKey(w, VK_RETURN, false);
    InjectKey(w, VK_MENU, false);
    PumpMessages();
    EXPECT_TRUE(window_.Of(WM_SYSCOMMAND).empty());
}

}  // namespace
}  // namespace quorvane::tests

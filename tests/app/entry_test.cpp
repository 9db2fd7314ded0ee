// Start-up and shut-down as wWinMain runs them: every way of closing ends the loop with 0 and
// saves all 20 keys; without Direct3D or a draw device the window still works; without a window
// nothing is written.
#include "running_viewer.h"

#include "app/display_modes.h"
#include "graphics/scene_resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace quorvane::tests {
namespace {

using test_controls::InjectKey;

int KeyCount(const std::string& ini)
{
    return int(std::count(ini.begin(), ini.end(), '='));
}

enum class CloseWay {
    CaptionButton,
    AltF4,
    FileExit,
};

class ClosingTest : public RunningViewerTest, public testing::WithParamInterface<CloseWay> {};

TEST_P(ClosingTest, EndsTheLoopWithZeroAndSavesAllTwentyKeys)
{
    Start();
    ASSERT_NE(Window(), nullptr);
    Press(VK_F4);  // the Earth off: the saved file must say so
    Press(VK_F7);  // the rays on: a session's switch, not saved
    switch (GetParam()) {
    case CloseWay::CaptionButton: test_controls::InjectCloseRequest(Window()); break;
    case CloseWay::AltF4: PressWithAlt(VK_F4, 0); break;
    case CloseWay::FileExit:
        PressWithAlt('F', L'f');  // ファイル(&F), then アプリケーションの終了(&X)
        Press('X', L'x');
        break;
    }
    EXPECT_EQ(RunMessageLoop(startup.accelerators), 0);
    EXPECT_FALSE(IsWindow(Window()));
    EXPECT_EQ(SceneResources.drawDevice, nullptr);
    ShutDownViewer();
    EXPECT_EQ(direct3D, nullptr);
    const std::string ini = dir.Read("Quorvane.ini");
    EXPECT_EQ(KeyCount(ini), 20) << ini;
    EXPECT_NE(ini.find("SHOW_EARTH=0"), std::string::npos) << ini;
}

INSTANTIATE_TEST_SUITE_P(Ways, ClosingTest,
                         testing::Values(CloseWay::CaptionButton, CloseWay::AltF4, CloseWay::FileExit));

// The session ends while the loop waits (the page's end in the browser): every top-level window
// is asked and told, and the settings are on disk before the loop would have run again.
TEST_F(RunningViewerTest, TheSessionsEndSavesTheSettingsWithoutTheLoop)
{
    Start();
    ASSERT_NE(Window(), nullptr);
    Press(VK_F4);
    Pump();
    const auto endSession = [](HWND window, LPARAM ending) -> BOOL {
        if (SendMessageW(window, WM_QUERYENDSESSION, 0, 0) == FALSE)
            ADD_FAILURE() << "a window refused the session's end";
        SendMessageW(window, WM_ENDSESSION, WPARAM(ending), 0);
        return TRUE;
    };
    EnumWindows(endSession, FALSE);  // the end called off: nothing is written
    EXPECT_FALSE(dir.Exists("Quorvane.ini"));
    EXPECT_EQ(EnumWindows(endSession, TRUE), TRUE);
    const std::string ini = dir.Read("Quorvane.ini");
    EXPECT_EQ(KeyCount(ini), 20) << ini;
    EXPECT_NE(ini.find("SHOW_EARTH=0"), std::string::npos) << ini;
    EXPECT_TRUE(IsWindow(Window()));
}

TEST_F(RunningViewerTest, AWindowThatCannotBeCreatedLeavesTheSettingsFileAsItWas)
{
    const std::string mine = "; mine\r\n[QUORVANE]\r\nSHOW_HELP=0\r\n";
    dir.Write("Quorvane.ini", mine);
    ASSERT_TRUE(test_controls::SetWindowsRefused(true));
    Start();
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(direct3D, nullptr);
    EXPECT_EQ(ViewerSettings.showHelp, FALSE);  // read before the window
    EXPECT_EQ(dir.Read("Quorvane.ini"), mine);
}

// Without Direct3D no mode is listed and no device made; with Direct3D but no device the modes
// are listed. Either way the window and its menu work, and no full-screen request changes it.
class NoDrawDeviceTest : public RunningViewerTest, public testing::WithParamInterface<bool> {};

TEST_P(NoDrawDeviceTest, TheWindowWorksAndStaysAWindow)
{
    const bool direct3DAvailable = GetParam();
    test_controls::SetDirect3DAvailable(direct3DAvailable);
    test_controls::SetDeviceTypeFails(D3DDEVTYPE_HAL, true);
    test_controls::SetDeviceTypeFails(D3DDEVTYPE_REF, true);
    Start();
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(SceneResources.drawDevice, nullptr);
    EXPECT_EQ(GetMenuItemCount(Popup(2)), direct3DAvailable ? int(displayModes.size()) : 0);
    EXPECT_EQ(direct3DAvailable, !displayModes.empty());

    Press(VK_F2);
    Pump();
    EXPECT_EQ(ViewerSettings.showLatitudeLines, FALSE);
    EXPECT_FALSE(Checked(1, 230));

    const RECT before = WindowRect();
    const LONG style = GetWindowLongW(Window(), GWL_STYLE);
    for (int click = 0; click < 4; ++click)
        Click(test_controls::MouseButton::Left, click % 2 == 0, 60, 60);  // a double-click
    PressWithAlt(VK_RETURN, L'\r');
    SendMessageW(Window(), WM_COMMAND, 300, 0);
    SendMessageW(Window(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Pump();
    EXPECT_EQ(Edges(WindowRect()), Edges(before));
    EXPECT_EQ(GetWindowLongW(Window(), GWL_STYLE), style);
    EXPECT_NE(GetMenu(Window()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Direct3D, NoDrawDeviceTest, testing::Bool());

}  // namespace
}  // namespace quorvane::tests

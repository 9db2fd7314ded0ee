// The viewer's input as a person gives it: the wheel, drags (one at a time, ending also when
// their release went elsewhere), double-clicks, the function keys and view commands with their
// check marks, and the About box from its accelerators.
#include "running_viewer.h"

#include "viewer_data.h"

#include "app/commands.h"
#include "app/mouse.h"
#include "scene/camera.h"
#include "scene/session_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace quorvane::tests {
namespace {

using test_controls::MouseButton;

TEST_F(RunningViewerTest, TheWheelMovesByNotchesAndByFractionsOfThemInTheirOwnDirection)
{
    Start();
    // The wheel turned by some notches from the start distance of 10.
    auto distanceAfter = [&](float notches) {
        cameraDistance = 10.0f;
        test_controls::InjectMouseWheel(Window(), notches, 20, 20);
        Pump();
        return cameraDistance;
    };
    EXPECT_NEAR(distanceAfter(1.0f), 10.0f / 1.2f, 1e-4);  // 8.33
    EXPECT_NEAR(distanceAfter(-1.0f), 12.0f, 1e-4);
    // Half a notch (a fine wheel, a touchpad) moves the same way as a whole one, half as far.
    EXPECT_NEAR(distanceAfter(0.5f), 10.0f / std::sqrt(1.2f), 1e-4);
    EXPECT_NEAR(distanceAfter(-0.5f), 10.0f * std::sqrt(1.2f), 1e-4);
    // One message of two notches is two messages of one.
    cameraDistance = 10.0f;
    SendMessageW(Window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_NEAR(cameraDistance, 10.0f / 1.44f, 1e-4);

    EXPECT_FLOAT_EQ(distanceAfter(30.0f), 2.1f);
    EXPECT_FLOAT_EQ(distanceAfter(-30.0f), 100.0f);
}

// The Earth turned about the vertical axis by angle (radians).
void ExpectEarthTurnedAboutVertical(float angle)
{
    D3DXQUATERNION expected;
    const D3DXVECTOR3 vertical(0.0f, 1.0f, 0.0f);
    D3DXQuaternionRotationAxis(&expected, &vertical, angle);
    EXPECT_NEAR(earthOrientation.x, expected.x, 1e-5);
    EXPECT_NEAR(earthOrientation.y, expected.y, 1e-5);
    EXPECT_NEAR(earthOrientation.z, expected.z, 1e-5);
    EXPECT_NEAR(earthOrientation.w, expected.w, 1e-5);
}

TEST_F(RunningViewerTest, ARightPressDuringALeftDragIsIgnoredAndItsReleaseDoesNotEndTheDrag)
{
    Start();
    Click(MouseButton::Left, true, 100, 100);
    Click(MouseButton::Right, true, 100, 100);
    Click(MouseButton::Right, false, 100, 100);
    test_controls::InjectMouseMove(Window(), 150, 100);
    Pump();
    ExpectEarthTurnedAboutVertical(-0.5f);  // 50 pixels: half a radian, east going away
    EXPECT_EQ(cameraAzimuth, 0.0f);
    EXPECT_TRUE(leftDragging);
    EXPECT_EQ(GetCapture(), Window());
    Click(MouseButton::Left, false, 150, 100);
    Pump();
    EXPECT_FALSE(leftDragging);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(RunningViewerTest, ADragWhoseReleaseWentElsewhereEndsAtTheFirstMoveWithoutItsButton)
{
    Start();
    for (MouseButton button : {MouseButton::Left, MouseButton::Right}) {
        Click(button, true, 100, 100);
        test_controls::InjectMouseMove(Window(), 110, 120);
        Pump();
        const D3DXQUATERNION orientation = earthOrientation;
        const float azimuth = cameraAzimuth, elevation = cameraElevation;
        // The release reached another window; the next move here has no button down.
        SendMessageW(Window(), WM_MOUSEMOVE, 0, MAKELPARAM(300, 300));
        EXPECT_FALSE(leftDragging || rightDragging);
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(earthOrientation, orientation);
        EXPECT_EQ(cameraAzimuth, azimuth);
        EXPECT_EQ(cameraElevation, elevation);
        Click(button, false, 300, 300);
        Pump();
    }
    EXPECT_GT(cameraElevation, 0.0f);  // the right drag did orbit while its button was down
}

TEST_F(RunningViewerTest, ADoubleClickTogglesFullScreenAfterAShortDragAndLeavesNoDrag)
{
    Start();
    for (bool fullScreenAfter : {true, false}) {
        for (int click = 0; click < 4; ++click)
            Click(MouseButton::Left, click % 2 == 0, 50, 50);
        Pump();
        EXPECT_EQ(Windowed(), !fullScreenAfter);
        EXPECT_FALSE(leftDragging);
        EXPECT_EQ(GetCapture(), nullptr);
        test_controls::AdvanceInputClock(2000);  // the next clicks start afresh
    }
}

TEST_F(RunningViewerTest, FunctionKeysAndViewCommandsToggleTheirFlagAndCheckMark)
{
    Start();
    for (const FunctionKey& view : functionKeys) {
        if (view.flag == nullptr)
            continue;
        const BOOL loaded = *view.flag;  // the settings' defaults are on, the rays off
        ASSERT_NE(GetMenuState(Popup(1), view.command, MF_BYCOMMAND), UINT(-1)) << view.command;
        EXPECT_EQ(Checked(1, view.command), loaded != FALSE) << view.command;
        Press(UINT(view.key));
        Pump();
        EXPECT_NE(*view.flag, loaded) << view.command;
        EXPECT_NE(Checked(1, view.command), loaded != FALSE) << view.command;
        SendMessageW(Window(), WM_COMMAND, view.command, 0);
        EXPECT_EQ(*view.flag, loaded) << view.command;
        EXPECT_EQ(Checked(1, view.command), loaded != FALSE) << view.command;
    }
    // The picture follows at once: without the Earth its centre shows something else.
    const DWORD withEarth = ClientCentre();
    Press(VK_F4);
    Pump();
    EXPECT_NE(ClientCentre(), withEarth);
}

TEST_F(RunningViewerTest, InFullScreenKeysToggleFlagsAndTheMenuCatchesUpOnReturn)
{
    Start();
    PressWithAlt(VK_RETURN, L'\r');
    Pump();
    ASSERT_FALSE(Windowed());
    ASSERT_EQ(GetMenu(Window()), nullptr);
    Press(VK_F2);
    Press(VK_F5);
    Press(VK_F7);
    Press(VK_F8);
    Pump();
    EXPECT_EQ(ViewerSettings.showLatitudeLines, FALSE);
    EXPECT_EQ(ViewerSettings.showEarthOutline, FALSE);
    EXPECT_EQ(ViewerSession.showProjectionRays, TRUE);
    EXPECT_EQ(ViewerSession.showTissotCircles, TRUE);
    PressWithAlt(VK_RETURN, L'\r');
    Pump();
    ASSERT_TRUE(Windowed());
    EXPECT_FALSE(Checked(1, 230));
    EXPECT_FALSE(Checked(1, 205));
    EXPECT_TRUE(Checked(1, 200));
    EXPECT_TRUE(Checked(1, 240));
    EXPECT_TRUE(Checked(1, 250));
}

// The rays' item follows a separator, and Tissot's circles' item comes before the last separator
// (Clear Circles follows it); while the rays are on, a move without a button draws again, and
// the pointer is the one they follow.
TEST_F(RunningViewerTest, F7SwitchesTheProjectionRaysWhichFollowThePointer)
{
    Start();
    const int last = GetMenuItemCount(Popup(1)) - 3;
    const struct {
        int position;
        const wchar_t* text;
        UINT command;
    } items[] = {{last - 1, L"投影線の表示(&P)\tF7", 240u}, {last, L"ティソーの指示円の表示(&T)\tF8", 250u}};
    for (const auto& item : items) {
        WCHAR text[64] = {};
        GetMenuStringW(Popup(1), UINT(item.position), text, 64, MF_BYPOSITION);
        EXPECT_EQ(std::wstring(text), item.text);
        EXPECT_EQ(GetMenuItemID(Popup(1), item.position), item.command);
    }
    EXPECT_NE(GetMenuState(Popup(1), UINT(last - 2), MF_BYPOSITION) & MF_SEPARATOR, 0u);
    ProcedureSpy spy(Window());
    for (BOOL on : {FALSE, TRUE}) {
        test_controls::InjectMouseMove(Window(), on ? 300 : 200, 100);
        Pump();
        EXPECT_EQ(spy.Count(WM_PAINT), on ? 2 : 0);  // the key's frame, then the move's
        EXPECT_EQ(ViewerSession.pointer.x, on ? 300 : 200);
        Press(VK_F7);
        Pump();
    }
    EXPECT_EQ(ViewerSession.showProjectionRays, FALSE);
    EXPECT_FALSE(Checked(1, 240));
}

// Ctrl drags draw circles about the point pressed, wider the farther the pointer goes, and turn
// nothing; they outlive full screen and back; Delete removes the last, F9 the rest.
TEST_F(RunningViewerTest, CtrlDragsDrawCirclesThatOutliveFullScreenUntilDeleteOrF9)
{
    Start();
    RECT client{};
    GetClientRect(Window(), &client);
    const int x = client.right / 2, y = client.bottom / 2;
    const D3DXQUATERNION start = earthOrientation;
    // The Earth shows 0.087 of the client's height wide on each side of its centre.
    for (int reach : {client.bottom / 40, client.bottom / 20}) {
        test_controls::InjectKey(Window(), VK_CONTROL, true);
        Click(MouseButton::Left, true, x, y);
        test_controls::InjectMouseMove(Window(), x + reach, y);
        Click(MouseButton::Left, false, x + reach, y);
        test_controls::InjectKey(Window(), VK_CONTROL, false);
        Pump();
        test_controls::AdvanceInputClock(2000);  // no double-click
    }
    const std::deque<DrawnCircle>& circles = ViewerSession.circles.circles;
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(std::memcmp(&earthOrientation, &start, sizeof start), 0);
    const double inner = circles[0].model.radius;
    EXPECT_GT(circles[1].model.radius, inner);
    EXPECT_NEAR(Dot(circles[0].model.centre, circles[1].model.centre), 1.0, 1e-9);
    for (int switches = 0; switches < 2; ++switches) {
        PressWithAlt(VK_RETURN, L'\r');
        Pump();
    }
    ASSERT_TRUE(Windowed());
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0].model.radius, inner);
    Press(VK_DELETE);
    Pump();
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].model.radius, inner);
    Press(VK_F9);
    Pump();
    EXPECT_TRUE(circles.empty());
}

TEST_F(RunningViewerTest, F6OnlyDrawsAgain)
{
    Start();
    const ViewerSettingsRecord before = ViewerSettings;
    ProcedureSpy spy(Window());
    Press(VK_F6);
    Pump();
    EXPECT_EQ(spy.Count(WM_PAINT), 1);
    EXPECT_EQ(std::memcmp(&ViewerSettings, &before, sizeof before), 0);
}

// The About box's caption, and whether its icon shows the globe on the dialog's own face: the
// icon control's centre differs from the face, its corners (the icon's transparent surround)
// do not.
struct AboutBoxSeen {
    std::wstring caption;
    bool globeOnFace = false;
};

AboutBoxSeen Look(HWND dialog)
{
    AboutBoxSeen seen;
    WCHAR caption[64] = {};
    GetWindowTextW(dialog, caption, 64);
    seen.caption = caption;
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    const HWND icon = GetWindow(dialog, GW_CHILD);
    RECT rect{};
    POINT origin{0, 0};
    if (!test_controls::ReadWindowImage(dialog, width, height, pixels) || !GetWindowRect(icon, &rect) ||
        !ClientToScreen(dialog, &origin))
        return seen;
    auto at = [&](LONG x, LONG y) {
        return pixels[std::size_t(y - origin.y) * width + std::size_t(x - origin.x)] & 0xFFFFFF;
    };
    const DWORD face = at(origin.x + 2, origin.y + 2);
    const LONG size = std::min(rect.right - rect.left, rect.bottom - rect.top);
    seen.globeOnFace = at(rect.left + size / 2, rect.top + size / 2) != face && at(rect.left, rect.top) == face &&
                       at(rect.left + size - 1, rect.top + size - 1) == face;
    return seen;
}

TEST_F(RunningViewerTest, AltSlashAndAltQuestionMarkOpenTheAboutBoxAlsoInFullScreen)
{
    Start();
    ProcedureSpy spy(Window());
    std::vector<AboutBoxSeen> seen;
    spy.onIdle = [&](HWND dialog) {
        seen.push_back(Look(dialog));
        test_controls::InjectKey(dialog, VK_ESCAPE, true);
        test_controls::InjectKey(dialog, VK_ESCAPE, false);
    };
    PressWithAlt(VK_OEM_2, L'/');
    Pump();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, L"バージョン情報 Quorvane");
    EXPECT_TRUE(seen[0].globeOnFace);

    PressWithAlt(VK_RETURN, L'\r');
    test_controls::InjectKey(Window(), VK_MENU, true);
    test_controls::InjectKey(Window(), VK_SHIFT, true);
    Press(VK_OEM_2, L'?');
    test_controls::InjectKey(Window(), VK_SHIFT, false);
    test_controls::InjectKey(Window(), VK_MENU, false);
    Pump();
    EXPECT_FALSE(Windowed());
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].caption, L"バージョン情報 Quorvane");
}

}  // namespace
}  // namespace quorvane::tests

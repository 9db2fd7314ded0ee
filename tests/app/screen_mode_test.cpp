// Display modes and full screen: the popup's list and its mark of the desktop's size, full screen
// and back to the same window, requests that change nothing, modes the display refuses, and the
// back buffer following the window through minimising, empty client areas and storms of sizes.
#include "running_viewer.h"

#include "viewer_data.h"

#include "app/full_screen.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quorvane::tests {
namespace {

constexpr LONG fullScreenStyle = LONG(WS_POPUP | WS_VISIBLE);

std::vector<std::wstring> ItemTexts(HMENU popup)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        WCHAR text[64] = {};
        GetMenuStringW(popup, UINT(i), text, 64, MF_BYPOSITION);
        texts.push_back(std::wstring(text) + L"#" + std::to_wstring(GetMenuItemID(popup, i)));
    }
    return texts;
}

TEST_F(RunningViewerTest, ThePopupListsEachSizeOnceAndMarksTheDesktopsSize)
{
    ASSERT_TRUE(test_controls::SetAdapterModes({{640, 480, 60, D3DFMT_X8R8G8B8},
                                                {640, 480, 72, D3DFMT_X8R8G8B8},
                                                {640, 480, 75, D3DFMT_X8R8G8B8},
                                                {800, 600, 60, D3DFMT_X8R8G8B8}}));
    Start({800, 600});
    EXPECT_EQ(ItemTexts(Popup(2)), (std::vector<std::wstring>{L"640x480#300", L"800x600(現在の画面サイズ)#301"}));
    // The desktop changed outside the viewer: the mark moves, the list stays.
    ASSERT_TRUE(test_controls::SetDesktopSize(640, 480));
    Pump();
    EXPECT_EQ(ItemTexts(Popup(2)), (std::vector<std::wstring>{L"640x480(現在の画面サイズ)#300", L"800x600#301"}));
}

struct WindowState {
    std::tuple<LONG, LONG, LONG, LONG> rect;
    LONG style;
    LONG extendedStyle;
    HMENU menu;

    bool operator==(const WindowState&) const = default;
};

WindowState StateOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return {Edges(rect), GetWindowLongW(window, GWL_STYLE), GetWindowLongW(window, GWL_EXSTYLE), GetMenu(window)};
}

TEST_F(RunningViewerTest, FullScreenAndBackPutsTheWindowWhereItWasWithItsMenuAndTopmostState)
{
    Start();
    // Full screen asked for while minimised comes back to the normal window, with a picture.
    for (auto [topmost, minimised] : {std::pair{false, false}, {true, false}, {false, true}}) {
        SetWindowPos(Window(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 100, 100, 800, 600, 0);
        Pump();
        const WindowState before = StateOf(Window());
        ASSERT_EQ((before.extendedStyle & WS_EX_TOPMOST) != 0, topmost);
        if (minimised)
            test_controls::InjectMinimized(Window());

        PressWithAlt(VK_RETURN, L'\r');
        Pump();
        EXPECT_FALSE(Windowed());
        const WindowState full = StateOf(Window());
        EXPECT_EQ(full.rect, Edges(RECT{0, 0, 1024, 768}));
        EXPECT_EQ(full.style, fullScreenStyle);
        EXPECT_NE(full.extendedStyle & WS_EX_TOPMOST, 0);
        EXPECT_EQ(full.menu, nullptr);
        const D3DPRESENT_PARAMETERS& parameters = SceneResources.drawDevice->presentParameters;
        EXPECT_EQ(parameters.BackBufferWidth, 1024u);
        EXPECT_EQ(parameters.BackBufferHeight, 768u);

        // A second request, at the desktop's size or another, changes nothing.
        EnterDesktopFullScreen();
        SendMessageW(Window(), WM_COMMAND, 300, 0);  // 640x480
        EXPECT_EQ(SceneResources.drawDevice->ChangeScreenMode(800, 600, FALSE), S_OK);
        EXPECT_EQ(StateOf(Window()), full);
        EXPECT_EQ(parameters.BackBufferWidth, 1024u);

        PressWithAlt(VK_RETURN, L'\r');
        Pump();
        EXPECT_TRUE(Windowed());
        EXPECT_EQ(StateOf(Window()), before);
        EXPECT_EQ(LONG(parameters.BackBufferHeight), ClientRect().bottom);
        EXPECT_GT(ClientRect().bottom, 0);
    }
}

TEST_F(RunningViewerTest, MaximisingAndACaptionDoubleClickGoFullScreenAtTheDesktopsSize)
{
    Start();
    test_controls::InjectMaximizeRequest(Window());
    Pump();
    EXPECT_FALSE(Windowed());
    EXPECT_EQ(Edges(WindowRect()), Edges(RECT{0, 0, 1024, 768}));
    EXPECT_FALSE(IsZoomed(Window()));
    PressWithAlt(VK_RETURN, L'\r');
    Pump();
    ASSERT_TRUE(Windowed());

    SendMessageW(Window(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    Pump();
    EXPECT_FALSE(Windowed());
    EXPECT_EQ(Edges(WindowRect()), Edges(RECT{0, 0, 1024, 768}));
}

TEST_F(RunningViewerTest, AModeOfTheClientsOwnSizeResetsOnlyToGoFullScreen)
{
    Start();
    // A borderless window without a menu whose client area is already 800 x 600.
    SetMenu(Window(), nullptr);
    SetWindowLongW(Window(), GWL_STYLE, fullScreenStyle);
    SetWindowPos(Window(), nullptr, 0, 0, 800, 600, SWP_NOZORDER);
    Pump();
    ProcedureSpy spy(Window());
    SendMessageW(Window(), WM_COMMAND, 301, 0);  // 800x600
    EXPECT_EQ(spy.resetsInSize, 0);
    EXPECT_FALSE(Windowed());
    const HDC screen = GetDC(GetDesktopWindow());
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 800);  // the display switched
    ReleaseDC(GetDesktopWindow(), screen);
}

// A display that offers no modes, or none of the desktop's size: full screen is refused, and
// the window is as it was, windowed, with a picture.
class RefusedModeTest : public RunningViewerTest, public testing::WithParamInterface<std::vector<D3DDISPLAYMODE>> {};

TEST_P(RefusedModeTest, LeavesAUsableWindow)
{
    ASSERT_TRUE(test_controls::SetAdapterModes(GetParam()));
    Start();
    EXPECT_EQ(GetMenuItemCount(Popup(2)), int(GetParam().size()));
    const WindowState before = StateOf(Window());
    const DWORD picture = ClientCentre();
    PressWithAlt(VK_RETURN, L'\r');
    Pump();
    EXPECT_TRUE(Windowed());
    EXPECT_EQ(StateOf(Window()), before);
    IDirect3DDevice9* device = SceneResources.drawDevice->device;
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(LONG(SceneResources.drawDevice->presentParameters.BackBufferWidth), ClientRect().right);
    InvalidateRect(Window(), nullptr, FALSE);
    Pump();
    EXPECT_EQ(ClientCentre(), picture);
}

INSTANTIATE_TEST_SUITE_P(Displays, RefusedModeTest,
                         testing::Values(std::vector<D3DDISPLAYMODE>{},
                                         std::vector<D3DDISPLAYMODE>{{640, 480, 60, D3DFMT_X8R8G8B8}}));

TEST_F(RunningViewerTest, ADesktopChangedWhileFullScreenIsMarkedOnReturn)
{
    Start();
    PressWithAlt(VK_RETURN, L'\r');
    Pump();
    ASSERT_FALSE(Windowed());
    ASSERT_TRUE(test_controls::SetDesktopSize(1280, 1024));
    Pump();
    PressWithAlt(VK_RETURN, L'\r');
    Pump();
    const std::vector<std::wstring> items = ItemTexts(Popup(2));
    EXPECT_NE(std::find(items.begin(), items.end(), L"1280x1024(現在の画面サイズ)#304"), items.end());
    EXPECT_NE(std::find(items.begin(), items.end(), L"1024x768#302"), items.end());
}

TEST_F(RunningViewerTest, TheBackBufferFollowsTheClientAreaThroughMinimisingEmptySizesAndStorms)
{
    // The Earth alone, so that the client area's centre shows its colour at any size.
    dir.Write("Quorvane.ini", "[QUORVANE]\nSHOW_HELP=0\nSHOW_LATITUDELINE=0\nSHOW_LONGITUDELINE=0\n");
    Start();
    const DWORD picture = ClientCentre();
    const D3DPRESENT_PARAMETERS& parameters = SceneResources.drawDevice->presentParameters;
    auto expectPictureAtClientSize = [&] {
        InvalidateRect(Window(), nullptr, FALSE);
        Pump();
        EXPECT_EQ(LONG(parameters.BackBufferWidth), ClientRect().right);
        EXPECT_EQ(LONG(parameters.BackBufferHeight), ClientRect().bottom);
        EXPECT_TRUE(NearColor(ClientCentre(), picture, 8)) << std::hex << ClientCentre();
    };

    test_controls::InjectMinimized(Window());
    Pump();
    ASSERT_TRUE(IsIconic(Window()));
    EXPECT_EQ(SceneResources.drawDevice->device->TestCooperativeLevel(), D3D_OK);
    test_controls::InjectRestored(Window());
    expectPictureAtClientSize();

    // A frame sized so that the client area has no height, then some again.
    RECT frame = WindowRect();
    const LONG chrome = (frame.bottom - frame.top) - ClientRect().bottom;
    SetWindowPos(Window(), nullptr, 0, 0, 400, chrome, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(ClientRect().bottom, 0);
    SetWindowPos(Window(), nullptr, 0, 0, 400, chrome + 300, SWP_NOMOVE | SWP_NOZORDER);
    expectPictureAtClientSize();

    // Dragging the frame: a size for every step, each one reset, the last one shown.
    ProcedureSpy spy(Window());
    for (int step = 1; step <= 50; ++step)
        SetWindowPos(Window(), nullptr, 0, 0, 400 + 7 * step, chrome + 300 + 3 * step, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(spy.resetsInSize, 50);
    expectPictureAtClientSize();
}

}  // namespace
}  // namespace quorvane::tests

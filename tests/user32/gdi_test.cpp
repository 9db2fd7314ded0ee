// gdi32's part: the screen's size through a device context agrees with Direct3D's adapter mode,
// and a change of the desktop reaches top-level windows as WM_DISPLAYCHANGE.
#include <d3d9.h>
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "recording_window.h"

namespace quorvane::tests {
namespace {

struct ScreenSize {
    int width;
    int height;
    bool operator==(const ScreenSize&) const = default;
};

ScreenSize FromDeviceCaps()
{
    HDC dc = GetDC(GetDesktopWindow());
    ScreenSize size{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
    EXPECT_EQ(ReleaseDC(GetDesktopWindow(), dc), 1);
    return size;
}

ScreenSize FromDirect3D()
{
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DDISPLAYMODE mode{};
    EXPECT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    d3d->Release();
    return ScreenSize{int(mode.Width), int(mode.Height)};
}

// A change of the desktop is seen the same way by device contexts, Direct3D and the desktop
// window, and is sent to top-level windows.
TEST(GdiTest, ADesktopChangeReachesEveryViewOfTheScreenAndTheWindows)
{
    EXPECT_EQ(FromDeviceCaps(), FromDirect3D());
    RecordingWindow window;
    PumpMessages();
    window.Clear();
    ASSERT_TRUE(test_controls::SetDesktopSize(1280, 1024));
    EXPECT_EQ(FromDeviceCaps(), (ScreenSize{1280, 1024}));
    EXPECT_EQ(FromDirect3D(), (ScreenSize{1280, 1024}));
    ASSERT_TRUE(IsWindow(GetDesktopWindow()));
    RECT desktop = ClientRectOf(GetDesktopWindow());
    EXPECT_EQ((ScreenSize{int(desktop.right), int(desktop.bottom)}), (ScreenSize{1280, 1024}));
    PumpMessages();
    ASSERT_EQ(window.Of(WM_DISPLAYCHANGE).size(), 1u);
    EXPECT_EQ(window.Of(WM_DISPLAYCHANGE)[0].wParam, 32u);
    EXPECT_EQ(window.Of(WM_DISPLAYCHANGE)[0].lParam, MAKELPARAM(1280, 1024));
}

TEST(GdiTest, DeviceContextsAreReleasedOnceAndOnlyByTheirWindow)
{
    RecordingWindow window;
    HDC dc = GetDC(window.Handle());
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
    EXPECT_EQ(ReleaseDC(GetDesktopWindow(), dc), 0);
    EXPECT_EQ(ReleaseDC(window.Handle(), dc), 1);
    EXPECT_EQ(ReleaseDC(window.Handle(), dc), 0);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 0);  // a released context answers nothing
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(0x1234)), nullptr);
}

}  // namespace
}  // namespace quorvane::tests

// Frames presented through the window: the window's image is the frame in the client area with
// the surface's layers over it, and full screen passes through the window, which then agrees
// with the screen, with exactly the WM_SIZE messages the program's own calls cause.
#include <d3d9.h>
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "recording_window.h"
#include "test_window.h"
#include "user32/window_surface.h"
#include "window_picture.h"

namespace quorvane::tests {
namespace {

constexpr int clientWidth = 300, clientHeight = 200, menuBar = 20;

class PresentationTest : public RecordingWindowTest {
protected:
    PresentationTest()
        : RecordingWindowTest({.clientWidth = clientWidth, .clientHeight = clientHeight, .menu = SomeMenu()}, true)
    {
    }

    void SetUp() override
    {
        RecordingWindowTest::SetUp();
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
        parameters_ = WindowedParameters(window_.Handle(), clientWidth, clientHeight);
        ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_.Handle(),
                                     D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters_, &device_),
                  D3D_OK);
        // As the viewer's WM_SIZE does: the back buffer follows the client area.
        window_.handler = [this](UINT message, WPARAM kind, LPARAM size) -> std::optional<LRESULT> {
            if (message == WM_SIZE && device_ && kind != SIZE_MINIMIZED)
                ResizeBackBuffer(LOWORD(size), HIWORD(size));
            return std::nullopt;
        };
        PumpMessages();
        window_.Clear();
    }

    void TearDown() override
    {
        window_.handler = nullptr;
        if (device_)
            device_->Release();
        if (d3d_)
            d3d_->Release();
    }

    void ResizeBackBuffer(UINT width, UINT height)
    {
        if (width == parameters_.BackBufferWidth && height == parameters_.BackBufferHeight)
            return;
        parameters_.BackBufferWidth = width;
        parameters_.BackBufferHeight = height;
        EXPECT_EQ(device_->Reset(&parameters_), D3D_OK);
    }

    void PresentColor(D3DCOLOR color)
    {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
        ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }

    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    D3DPRESENT_PARAMETERS parameters_{};
};

TEST_F(PresentationTest, TheFrameFillsTheClientAreaUnderTheLayers)
{
    PresentColor(0xFFFF0000);
    WindowPicture image = PictureOf(window_.Handle());
    ASSERT_EQ(image.width, UINT(clientWidth));
    ASSERT_EQ(image.height, UINT(clientHeight + menuBar));  // the surface: menu bar and client area
    EXPECT_EQ(image.At(clientWidth / 2, menuBar + clientHeight / 2), 0xFF0000u);
    EXPECT_EQ(image.At(0, menuBar), 0xFF0000u);
    EXPECT_EQ(image.At(clientWidth - 1, menuBar + clientHeight - 1), 0xFF0000u);
    EXPECT_EQ(image.At(clientWidth / 2, menuBar / 2), 0xF0F0F0u);  // the menu bar, right of its titles

    display::Image bar{UINT(clientWidth), UINT(menuBar), std::vector<std::uint32_t>(clientWidth * menuBar, 0xFFF0F0F0)};
    ASSERT_TRUE(user32::SetSurfaceLayer(window_.Handle(), user32::layers::menuBar, POINT{0, 0}, bar));
    display::Image popup{40, 30, std::vector<std::uint32_t>(40 * 30, 0xFF0000FF)};
    ASSERT_TRUE(user32::SetSurfaceLayer(window_.Handle(), user32::layers::popupMenus, POINT{10, 15}, popup));
    image = PictureOf(window_.Handle());
    EXPECT_TRUE(test_controls::WriteWindowPng(window_.Handle(), "window_layers.png"));  // to look at
    EXPECT_EQ(image.At(clientWidth / 2, menuBar / 2), 0xF0F0F0u);
    EXPECT_EQ(image.At(12, 12), 0xF0F0F0u);
    EXPECT_EQ(image.At(12, 17), 0x0000FFu);  // the pop-up covers the bar and the frame
    EXPECT_EQ(image.At(12, menuBar + 20), 0x0000FFu);
    EXPECT_EQ(image.At(clientWidth / 2, menuBar + clientHeight / 2), 0xFF0000u);

    // Taking the pop-up away shows the frame again without a new one being presented.
    user32::RemoveSurfaceLayer(window_.Handle(), user32::layers::popupMenus);
    image = PictureOf(window_.Handle());
    EXPECT_EQ(image.At(12, menuBar + 20), 0xFF0000u);
    EXPECT_EQ(image.At(12, 17), 0xF0F0F0u);
}

TEST_F(PresentationTest, FullScreenAndBackAsTheViewerSwitches)
{
    HWND w = window_.Handle();
    RECT saved = WindowRectOf(w);
    HMENU savedMenu = GetMenu(w);
    LONG savedStyle = GetWindowLongW(w, GWL_STYLE);
    PresentColor(0xFF00FF00);

    // Entering: the window is sized to the mode first, then the device goes full screen.
    ShowWindow(w, SW_RESTORE);
    SetMenu(w, nullptr);
    SetWindowLongW(w, GWL_STYLE, LONG(WS_POPUP | WS_VISIBLE));
    window_.Clear();
    SetWindowPos(w, HWND_TOPMOST, 0, 0, 800, 600, SWP_SHOWWINDOW);
    ASSERT_EQ(window_.Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(window_.Of(WM_SIZE)[0].lParam, MAKELPARAM(800, 600));
    parameters_.Windowed = FALSE;
    ASSERT_EQ(device_->Reset(&parameters_), D3D_OK);
    PumpMessages();  // the display's late report of the new surface
    EXPECT_EQ(window_.Of(WM_SIZE).size(), 1u);

    RECT rect = WindowRectOf(w);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.right, 800);
    EXPECT_EQ(rect.bottom, 600);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 800);
    ReleaseDC(nullptr, screen);
    PresentColor(0xFF0000FF);
    WindowPicture image = PictureOf(w);
    ASSERT_EQ(image.width, 800u);
    ASSERT_EQ(image.height, 600u);
    EXPECT_EQ(image.At(0, 0), 0x0000FFu);
    EXPECT_EQ(image.At(799, 599), 0x0000FFu);

    // Leaving: the device goes back to a window, then the window gets its style, place and menu.
    window_.Clear();
    parameters_.Windowed = TRUE;
    ASSERT_EQ(device_->Reset(&parameters_), D3D_OK);
    PumpMessages();
    EXPECT_TRUE(window_.Of(WM_SIZE).empty());
    SetWindowLongW(w, GWL_STYLE, savedStyle);
    SetWindowPos(w, HWND_NOTOPMOST, saved.left, saved.top, saved.right - saved.left, saved.bottom - saved.top,
                 SWP_SHOWWINDOW);
    SetMenu(w, savedMenu);
    PumpMessages();
    rect = WindowRectOf(w);
    EXPECT_EQ(rect.left, saved.left);
    EXPECT_EQ(rect.bottom, saved.bottom);
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(parameters_.BackBufferWidth, UINT(clientWidth));
    EXPECT_EQ(parameters_.BackBufferHeight, UINT(clientHeight));
    PresentColor(0xFFFFFF00);
    image = PictureOf(w);
    ASSERT_EQ(image.width, UINT(clientWidth));
    ASSERT_EQ(image.height, UINT(clientHeight + menuBar));
    EXPECT_EQ(image.At(clientWidth / 2, menuBar + clientHeight / 2), 0xFFFF00u);
    EXPECT_EQ(image.At(clientWidth / 2, menuBar / 2), 0xF0F0F0u);  // the menu bar is back
}

TEST_F(PresentationTest, FullScreenWithoutSizingFirstMovesTheWindowQuietlyAndPutsItBack)
{
    HWND w = window_.Handle();
    RECT before = WindowRectOf(w);
    D3DPRESENT_PARAMETERS full = parameters_;
    full.Windowed = FALSE;
    full.BackBufferWidth = 640;
    full.BackBufferHeight = 480;
    window_.Clear();
    ASSERT_EQ(device_->Reset(&full), D3D_OK);
    PumpMessages();
    EXPECT_TRUE(window_.Of(WM_SIZE).empty());  // Direct3D's own change: the program is not told
    RECT rect = WindowRectOf(w);
    EXPECT_EQ(rect.right - rect.left, 640);
    EXPECT_EQ(rect.top, 0);
    DWORD style = DWORD(GetWindowLongW(w, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);

    ASSERT_EQ(device_->Reset(&parameters_), D3D_OK);
    PumpMessages();
    EXPECT_TRUE(window_.Of(WM_SIZE).empty());
    rect = WindowRectOf(w);
    EXPECT_EQ(rect.left, before.left);
    EXPECT_EQ(rect.bottom, before.bottom);
    EXPECT_EQ(DWORD(GetWindowLongW(w, GWL_STYLE)), DWORD(WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    EXPECT_FALSE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
}  // namespace quorvane::tests

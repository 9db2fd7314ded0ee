// The SDL display on a desktop scaled to 200 % (QUORVANE_SCALE=2, set by the CTest run of these
// cases under scripts/with-xvfb --wm): the program keeps its 96-DPI pixels, the window on the
// screen is twice as large, what the platform draws itself is drawn at the screen's resolution,
// and input comes back in the program's pixels.
#include <d3d9.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "recording_window.h"
#include "test_window.h"
#include "text/font.h"
#include "text/text_layout.h"
#include "user32/ui_fonts.h"
#include "user32/window_frame.h"
#include "x_server.h"

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

constexpr int scale = 2;
constexpr int clientWidth = 320;
constexpr int clientHeight = 240;
constexpr std::uint32_t barGrey = 0xF0F0F0;
constexpr D3DCOLOR frameColour = 0xFF2060C0;
const wchar_t* const title = L"View";

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 5000ms)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        PumpMessages();
        if (done())
            return true;
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

std::uint32_t At(const display::Image& image, unsigned x, unsigned y)
{
    return image.pixels[std::size_t{y} * image.width + x] & 0xFFFFFF;
}

// The title as the menu font at twice its size draws it in black on the bar's grey: the glyphs'
// pixels from the pen at (0, baseline), keyed by their place.
display::Image TitleAtDoubleSize(int& left, int& top)
{
    text::FontRequest request;
    request.height = -user32::PointsToPixels(user32::menuFontPoints) * scale;
    auto font = text::Font::Open(request);
    EXPECT_TRUE(font);
    auto glyphs = text::PlaceLine(*font, text::ToCodePoints(title), 0, font->Ascent());
    left = glyphs.front().x;
    top = font->LineHeight();
    int right = 0, bottom = 0;
    for (const text::PlacedGlyph& g : glyphs) {
        left = std::min(left, g.x), top = std::min(top, g.y);
        right = std::max(right, g.x + g.glyph->width), bottom = std::max(bottom, g.y + g.glyph->height);
    }
    display::Image image{unsigned(right - left), unsigned(bottom - top), {}};
    image.pixels.assign(std::size_t{image.width} * image.height, barGrey);
    for (const text::PlacedGlyph& g : glyphs) {
        for (int row = 0; row < g.glyph->height; ++row) {
            for (int column = 0; column < g.glyph->width; ++column) {
                unsigned coverage = g.glyph->coverage[std::size_t(row * g.glyph->width + column)];
                unsigned grey = (0xF0 * (255 - coverage) + 127) / 255;
                image.pixels[std::size_t(g.y - top + row) * image.width + std::size_t(g.x - left + column)] =
                    grey * 0x010101;
            }
        }
    }
    return image;
}

// The bounding box of the pixels that are not the bar's grey in the bar's first rows.
RECT InkOf(const display::Image& bar, unsigned rows)
{
    RECT ink{LONG(bar.width), LONG(rows), 0, 0};
    for (unsigned y = 0; y < rows; ++y) {
        for (unsigned x = 0; x < bar.width; ++x) {
            if (At(bar, x, y) != barGrey)
                ink = RECT{std::min(ink.left, LONG(x)), std::min(ink.top, LONG(y)), std::max(ink.right, LONG(x) + 1),
                           std::max(ink.bottom, LONG(y) + 1)};
        }
    }
    return ink;
}

// A shown window with a menu bar and a windowed device, on the scaled desktop.
class ScaledDesktop : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || !x.Connected())
            GTEST_SKIP() << "needs an X server: run through scripts/with-xvfb --wm";
        HMENU menu = CreateMenu();
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), title);
        window = std::make_unique<RecordingWindow>(RecordingWindowOptions{
            .clientWidth = clientWidth, .clientHeight = clientHeight, .x = 60, .y = 40, .menu = menu});
        ShowWindow(window->Handle(), SW_SHOWNORMAL);
        xWindow = XWindowOf(window->Handle());
        ASSERT_NE(xWindow, 0u);
        direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_TRUE(direct3d);
        parameters = WindowedParameters(window->Handle(), clientWidth, clientHeight);
        ASSERT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window->Handle(),
                                         D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
                  D3D_OK);
        EXPECT_TRUE(PumpUntil([&] { return x.Geometry(xWindow) == OnScreen(); }));
        PumpUntil([] { return false; }, 600ms);
        window->Clear();
    }

    void TearDown() override
    {
        if (device)
            device->Release();
        if (direct3d)
            direct3d->Release();
        window.reset();
    }

    // Where the window's surface (menu bar and client area) belongs on the screen: where user32
    // has it, at twice its size.
    XGeometry OnScreen() const
    {
        POINT origin{0, 0};
        ClientToScreen(window->Handle(), &origin);
        return XGeometry{origin.x * scale, (origin.y - user32::menuBarHeight) * scale, unsigned(clientWidth * scale),
                         unsigned((clientHeight + user32::menuBarHeight) * scale)};
    }

    display::Image Screen() const
    {
        XGeometry g = x.Geometry(xWindow);
        return x.Read(g.x, g.y, g.width, g.height);
    }

    void Present(D3DCOLOR colour)
    {
        ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 1.0f, 0), D3D_OK);
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        PumpUntil([] { return false; }, 100ms);
    }

    XServer x;
    std::unique_ptr<RecordingWindow> window;
    unsigned long xWindow = 0;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS parameters{};
};

TEST_F(ScaledDesktop, TheWindowIsTwiceTheProgramsSizeAndTheDesktopHalfTheScreens)
{
    EXPECT_EQ(x.Geometry(xWindow), OnScreen());
    RECT client = ClientRectOf(window->Handle());
    EXPECT_EQ(client.right, clientWidth);
    EXPECT_EQ(client.bottom, clientHeight);

    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), int(x.ScreenWidth()) / scale);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), int(x.ScreenHeight()) / scale);
    ReleaseDC(nullptr, screen);
    // The adapter's modes stay the screen's own.
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, 0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, x.ScreenWidth());
    EXPECT_EQ(mode.Height, x.ScreenHeight());
}

TEST_F(ScaledDesktop, TheMenuBarIsTwiceAsTallWithGlyphsDrawnAtTwiceTheFontSize)
{
    Present(frameColour);
    display::Image screen = Screen();
    const unsigned barRows = user32::menuBarHeight * scale;
    ASSERT_EQ(screen.height, (clientHeight + user32::menuBarHeight) * scale);
    EXPECT_EQ(At(screen, screen.width - 1, barRows - 1), barGrey);
    EXPECT_EQ(At(screen, screen.width - 1, barRows), frameColour & 0xFFFFFF);

    // The title's pixels are those of the font rasterised at twice its size, not a stretch of
    // the small glyphs (which would differ at nearly every edge).
    int left = 0, top = 0;
    display::Image expected = TitleAtDoubleSize(left, top);
    RECT ink = InkOf(screen, barRows);
    ASSERT_EQ(unsigned(ink.right - ink.left), expected.width);
    ASSERT_EQ(unsigned(ink.bottom - ink.top), expected.height);
    int differing = 0;
    for (unsigned y = 0; y < expected.height; ++y) {
        for (unsigned x = 0; x < expected.width; ++x) {
            int shown = int(At(screen, unsigned(ink.left) + x, unsigned(ink.top) + y) & 0xFF);
            differing += std::abs(shown - int(At(expected, x, y) & 0xFF)) > 2;
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(ScaledDesktop, AClickOnTheScreenReachesTheProgramAtHalfItsCoordinates)
{
    XGeometry g = x.Geometry(xWindow);
    const int onScreenX = 101, onScreenY = user32::menuBarHeight * scale + 81;
    std::string to = std::to_string(g.x + onScreenX) + " " + std::to_string(g.y + onScreenY);
    ASSERT_TRUE(Xdotool("mousemove --sync " + to + " click 1"));
    ASSERT_TRUE(PumpUntil([&] { return !window->Of(WM_LBUTTONUP).empty(); }));
    auto downs = window->Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(LOWORD(downs[0].lParam), onScreenX / scale);
    EXPECT_EQ(HIWORD(downs[0].lParam), onScreenY / scale - user32::menuBarHeight);
}

// At the desktop's size the program sees the scaled desktop, shown on the whole screen; at a
// mode of the screen's the mode is the screen, unscaled. As the viewer does, the window gives up
// its menu in full screen.
TEST_F(ScaledDesktop, FullScreenAtTheDesktopsSizeIsScaledAndAtAModeIsNot)
{
    const XGeometry wholeScreen{0, 0, x.ScreenWidth(), x.ScreenHeight()};
    HMENU menu = GetMenu(window->Handle());
    for (unsigned factor : {scale, 1}) {
        SCOPED_TRACE(factor);
        SetMenu(window->Handle(), nullptr);
        parameters = WindowedParameters(window->Handle(), x.ScreenWidth() / factor, x.ScreenHeight() / factor);
        parameters.Windowed = FALSE;
        ASSERT_EQ(device->Reset(&parameters), D3D_OK);
        EXPECT_TRUE(PumpUntil([&] { return x.Geometry(xWindow) == wholeScreen; }));
        RECT client = ClientRectOf(window->Handle());
        EXPECT_EQ(unsigned(client.right), x.ScreenWidth() / factor);
        EXPECT_EQ(unsigned(client.bottom), x.ScreenHeight() / factor);
        Present(frameColour);
        display::Image shown = x.Read(0, 0, x.ScreenWidth(), x.ScreenHeight());
        EXPECT_EQ(At(shown, shown.width - 1, shown.height - 1), frameColour & 0xFFFFFF);

        parameters = WindowedParameters(window->Handle(), clientWidth, clientHeight);
        ASSERT_EQ(device->Reset(&parameters), D3D_OK);
        SetMenu(window->Handle(), menu);
        EXPECT_TRUE(PumpUntil([&] { return x.Geometry(xWindow) == OnScreen(); }));
        PumpUntil([] { return false; }, 600ms);
    }
}

}  // namespace
}  // namespace quorvane::tests

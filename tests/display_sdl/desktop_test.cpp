// The SDL display on a real X server with a window manager (scripts/with-xvfb --wm starts both):
// windows, what they show, input and the window manager's buttons, seen from the X server's side
// and as the messages the program gets.
#include <d3d9.h>
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>

#include "display/display.h"
#include "recording_window.h"
#include "test_window.h"
#include "text/font.h"
#include "text/text_layout.h"
#include "user32/ui_fonts.h"
#include "user32/window.h"
#include "user32/window_frame.h"
#include "user32/window_surface.h"
#include "x_server.h"

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

constexpr int clientWidth = 320;
constexpr int clientHeight = 240;
constexpr D3DCOLOR bandColour = 0xFF2060C0;
constexpr int bandHeight = 20;

// Takes and dispatches messages until `done` says so or five seconds have passed.
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

// Lets the window manager's answers arrive and be reported (longer than the display waits).
void Settle()
{
    PumpUntil([] { return false; }, 600ms);
}

std::uint32_t Channel(std::uint32_t pixel, int shift)
{
    return (pixel >> shift) & 0xFF;
}

bool Near(std::uint32_t a, std::uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(int(Channel(a, shift)) - int(Channel(b, shift))) > 1)
            return false;
    }
    return true;
}

std::uint32_t At(const display::Image& image, unsigned x, unsigned y)
{
    return image.pixels[std::size_t{y} * image.width + x];
}

// A shown window of the recording class on the SDL display, a windowed device in it, and a
// view of the X server.
class Desktop : public testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY") || !x.Connected())
            GTEST_SKIP() << "needs an X server: run through scripts/with-xvfb --wm";
        window = std::make_unique<RecordingWindow>(
            RecordingWindowOptions{.clientWidth = clientWidth, .clientHeight = clientHeight, .doubleClicks = true});
        ASSERT_TRUE(window->Handle());
        ShowWindow(window->Handle(), SW_SHOWNORMAL);
        xWindow = XWindowOf(window->Handle());
        ASSERT_NE(xWindow, 0u);
        direct3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_TRUE(direct3d);
        parameters = Windowed(clientWidth, clientHeight);
        ASSERT_EQ(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window->Handle(),
                                         D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device),
                  D3D_OK);
        // Where the window manager has put it, and where user32 has it, agree once it settles.
        PumpUntil([&] {
            XGeometry g = x.Geometry(xWindow);
            POINT origin = ClientOrigin();
            return g == XGeometry{origin.x * scale, origin.y * scale, unsigned(clientWidth * scale),
                                  unsigned(clientHeight * scale)};
        });
        Settle();
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

    D3DPRESENT_PARAMETERS Windowed(UINT width, UINT height) const
    {
        return WindowedParameters(window->Handle(), width, height);
    }
    D3DPRESENT_PARAMETERS FullScreen() const
    {
        D3DPRESENT_PARAMETERS fullScreen = Windowed(x.ScreenWidth(), x.ScreenHeight());
        fullScreen.Windowed = FALSE;
        return fullScreen;
    }
    XGeometry WholeScreen() const { return XGeometry{0, 0, x.ScreenWidth(), x.ScreenHeight()}; }
    // Types keys through xdotool, takes messages until `arrived`, then lets any late ones come.
    void Type(const std::string& keys, const std::function<bool()>& arrived)
    {
        window->Clear();
        EXPECT_TRUE(Xdotool("key " + keys));
        EXPECT_TRUE(PumpUntil(arrived)) << keys;
        Settle();
    }
    bool Activate() const { return Xdotool("windowactivate --sync " + std::to_string(xWindow)); }

    // Clears the back buffer in four quarters (top-left, top-right, bottom-left, bottom-right)
    // and presents it.
    void PresentQuarters(const D3DCOLOR (&colours)[4])
    {
        UINT w = parameters.BackBufferWidth, h = parameters.BackBufferHeight;
        for (int i = 0; i < 4; ++i) {
            D3DRECT quarter{LONG(i % 2 * w / 2), LONG(i / 2 * h / 2), LONG((i % 2 + 1) * w / 2),
                            LONG((i / 2 + 1) * h / 2)};
            ASSERT_EQ(device->Clear(1, &quarter, D3DCLEAR_TARGET, colours[i], 1.0f, 0), D3D_OK);
        }
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    }

    // Waits (taking messages) until the window is where `wanted` says, then lets it settle.
    bool WaitForGeometry(const XGeometry& wanted)
    {
        bool reached = PumpUntil([&] { return x.Geometry(xWindow) == wanted; });
        Settle();
        return reached;
    }

    // The X window is the client area where user32 has it, at this size.
    void ExpectPlacedAsUser32Has(int width, int height) const
    {
        RECT client;
        GetClientRect(window->Handle(), &client);
        EXPECT_EQ(client.right, width);
        EXPECT_EQ(client.bottom, height);
        POINT origin = ClientOrigin();
        EXPECT_EQ(x.Geometry(xWindow), (XGeometry{origin.x, origin.y, unsigned(width), unsigned(height)}));
    }

    POINT ClientOrigin() const
    {
        POINT origin{0, 0};
        ClientToScreen(window->Handle(), &origin);
        return origin;
    }

    display::Image Screen() const
    {
        XGeometry g = x.Geometry(xWindow);
        return x.Read(g.x, g.y, g.width, g.height);
    }

    // The centre of the window manager's title bar, from the frame it says it draws.
    POINT CaptionCentre() const
    {
        XGeometry g = x.Geometry(xWindow);
        std::vector<unsigned long> extents = x.Property(xWindow, "_NET_FRAME_EXTENTS");  // left, right, top, bottom
        LONG top = extents.size() == 4 ? LONG(extents[2]) : 0;
        return POINT{g.x + LONG(g.width) / 2, g.y - top / 2};
    }

    // xdotool's --sync waits for the pointer to move: it steps aside first, in case it is there.
    bool Click(int screenX, int screenY, int button = 1, int repeat = 1)
    {
        std::string to = std::to_string(screenX) + " " + std::to_string(screenY);
        std::string aside = std::to_string(screenX + 1) + " " + std::to_string(screenY);
        return Xdotool("mousemove " + aside + " mousemove --sync " + to + " click --repeat " + std::to_string(repeat) +
                       " --delay 80 " + std::to_string(button));
    }

    int scale = 1;  // screen pixels per program pixel (QUORVANE_SCALE of the run)
    XServer x;
    std::unique_ptr<RecordingWindow> window;
    unsigned long xWindow = 0;
    IDirect3D9* direct3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS parameters{};
};

TEST_F(Desktop, AWindowOpensAtItsSizeWhereUser32HasIt)
{
    ExpectPlacedAsUser32Has(clientWidth, clientHeight);
    EXPECT_FALSE(x.Property(xWindow, "_NET_FRAME_EXTENTS").empty()) << "the window manager frames the window";
}

TEST_F(Desktop, ThePresentedFrameAndTheLayerAreWhatIsOnTheScreen)
{
    // A back buffer half the client's size, stretched over it, under an opaque band.
    parameters = Windowed(clientWidth / 2, clientHeight / 2);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    display::Image band{clientWidth, bandHeight, std::vector<std::uint32_t>(clientWidth * bandHeight, bandColour)};
    ASSERT_TRUE(user32::SetSurfaceLayer(window->Handle(), 0, POINT{0, 0}, band));
    const D3DCOLOR colours[4] = {0xFFE03030, 0xFF30A030, 0xFF3050E0, 0xFFE0E040};
    PresentQuarters(colours);
    Settle();
    display::Image screen = Screen();
    ASSERT_EQ(screen.width, unsigned(clientWidth));
    EXPECT_EQ(At(screen, clientWidth / 2, bandHeight / 2), bandColour);
    EXPECT_EQ(At(screen, clientWidth / 4, clientHeight / 4 + bandHeight), colours[0]);
    EXPECT_EQ(At(screen, clientWidth * 3 / 4, clientHeight / 4 + bandHeight), colours[1]);
    EXPECT_EQ(At(screen, clientWidth / 4, clientHeight * 3 / 4), colours[2]);
    EXPECT_EQ(At(screen, clientWidth * 3 / 4, clientHeight * 3 / 4), colours[3]);
    // The quarters' edges fall where the stretch puts them: column 159 of the back buffer covers
    // screen columns 318 and 319.
    EXPECT_EQ(At(screen, clientWidth / 2 - 1, clientHeight / 4 + bandHeight), colours[0]);
    EXPECT_EQ(At(screen, clientWidth / 2, clientHeight / 4 + bandHeight), colours[1]);

    // What the display reads back from GL is what the X server shows, pixel for pixel.
    UINT width = 0, height = 0;
    std::vector<DWORD> readBack;
    ASSERT_TRUE(test_controls::ReadWindowImage(window->Handle(), width, height, readBack));
    ASSERT_EQ(width, screen.width);
    ASSERT_EQ(height, screen.height);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < readBack.size(); ++i)
        differing += Near(readBack[i], screen.pixels[i]) ? 0 : 1;
    EXPECT_EQ(differing, 0u);

    // A new frame replaces the old one on the screen; taking the layer away uncovers the frame.
    const D3DCOLOR next[4] = {0xFF101010, 0xFF808080, 0xFFF0F0F0, 0xFF40C0C0};
    PresentQuarters(next);
    user32::RemoveSurfaceLayer(window->Handle(), 0);
    Settle();
    screen = Screen();
    EXPECT_EQ(At(screen, clientWidth / 4, bandHeight / 2), next[0]);
    EXPECT_EQ(At(screen, clientWidth * 3 / 4, clientHeight * 3 / 4), next[3]);
}

// Without the display's own X error handler, Xlib's would end the test program here.
TEST_F(Desktop, AnErrorAboutAWindowThatIsGoneLeavesTheProgramRunning)
{
    ASSERT_TRUE(SendToAWindowThatIsGone(window->Handle()));
    const D3DCOLOR colours[4] = {0xFF204080, 0xFF204080, 0xFF802040, 0xFF802040};
    PresentQuarters(colours);
    Settle();
    display::Image screen = Screen();
    ASSERT_EQ(screen.width, unsigned(clientWidth));
    EXPECT_EQ(At(screen, clientWidth / 2, clientHeight * 3 / 4), colours[2]);
}

TEST_F(Desktop, AClickAndKeysArriveAsMessages)
{
    ASSERT_TRUE(Activate());
    POINT origin = ClientOrigin();
    ASSERT_TRUE(Click(origin.x + 50, origin.y + 40));
    ASSERT_TRUE(PumpUntil([&] { return !window->Of(WM_LBUTTONUP).empty(); }));
    auto downs = window->Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(LOWORD(downs[0].lParam), 50);
    EXPECT_EQ(HIWORD(downs[0].lParam), 40);

    Type("F5", [&] { return !window->Of(WM_KEYUP).empty(); });
    auto keys = window->Of(WM_KEYDOWN);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].wParam, WPARAM(VK_F5));
    EXPECT_TRUE(window->Of(WM_CHAR).empty());

    // A character comes once, with the Shift state.
    Type("shift+a", [&] { return window->Of(WM_KEYUP).size() >= 2; });
    auto characters = window->Of(WM_CHAR);
    ASSERT_EQ(characters.size(), 1u);
    EXPECT_EQ(characters[0].wParam, WPARAM('A'));

    // With Alt held the key is a system key and still types its character, once.
    Type("alt+slash", [&] { return !window->Of(WM_SYSKEYUP).empty() || window->Of(WM_KEYUP).size() >= 2; });
    auto systemKeys = window->Of(WM_SYSKEYDOWN);
    ASSERT_EQ(systemKeys.size(), 2u);  // Alt, then '/'
    EXPECT_EQ(systemKeys[0].wParam, WPARAM(VK_MENU));
    EXPECT_EQ(systemKeys[1].wParam, WPARAM(VK_OEM_2));
    auto systemCharacters = window->Of(WM_SYSCHAR);
    ASSERT_EQ(systemCharacters.size(), 1u);
    EXPECT_EQ(systemCharacters[0].wParam, WPARAM('/'));
    EXPECT_TRUE(window->Of(WM_CHAR).empty());
}

TEST_F(Desktop, TheWheelTurnsInNotches)
{
    POINT origin = ClientOrigin();
    ASSERT_TRUE(Click(origin.x + 100, origin.y + 60, 4));
    ASSERT_TRUE(PumpUntil([&] { return !window->Of(WM_MOUSEWHEEL).empty(); }));
    ASSERT_TRUE(Click(origin.x + 100, origin.y + 60, 5, 2));
    ASSERT_TRUE(PumpUntil([&] { return window->Of(WM_MOUSEWHEEL).size() >= 3; }));
    auto wheels = window->Of(WM_MOUSEWHEEL);
    ASSERT_EQ(wheels.size(), 3u);
    EXPECT_EQ(short(HIWORD(wheels[0].wParam)), WHEEL_DELTA);
    EXPECT_EQ(short(HIWORD(wheels[1].wParam)), -WHEEL_DELTA);
    EXPECT_EQ(short(HIWORD(wheels[2].wParam)), -WHEEL_DELTA);
    // The wheel's position is on the screen.
    EXPECT_EQ(short(LOWORD(wheels[0].lParam)), origin.x + 100);
    EXPECT_EQ(short(HIWORD(wheels[0].lParam)), origin.y + 60);
}

TEST_F(Desktop, TheCloseButtonAsksTheProgramToClose)
{
    // Openbox's close button is the rightmost of the title bar, as wide as the bar is high.
    XGeometry g = x.Geometry(xWindow);
    POINT caption = CaptionCentre();
    int buttonHalf = g.y - caption.y;
    ASSERT_TRUE(Click(g.x + int(g.width) - buttonHalf, caption.y));
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(window->Handle()); }));
    auto commands = window->Of(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam & 0xFFF0, WPARAM(SC_CLOSE));
    EXPECT_EQ(window->Of(WM_CLOSE).size(), 1u);
}

TEST_F(Desktop, ACaptionDoubleClickAsksTheProgramWhoDecidesWhatMaximisingIs)
{
    // Like the viewer, the program takes SC_MAXIMIZE for itself and does not maximise.
    window->handler = [](UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MAXIMIZE)
            return 0;
        return std::nullopt;
    };
    XGeometry before = x.Geometry(xWindow);
    POINT caption = CaptionCentre();
    ASSERT_TRUE(Click(caption.x, caption.y, 1, 2));
    ASSERT_TRUE(PumpUntil([&] { return !window->Of(WM_SYSCOMMAND).empty(); }));
    EXPECT_TRUE(WaitForGeometry(before));
    auto commands = window->Of(WM_SYSCOMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam & 0xFFF0, WPARAM(SC_MAXIMIZE));
    // Whatever the window manager did is taken back.
    EXPECT_EQ(x.Geometry(xWindow), before);
    EXPECT_FALSE(x.HasState(xWindow, "_NET_WM_STATE_MAXIMIZED_VERT"));
    EXPECT_TRUE(window->Of(WM_SIZE).empty());
    EXPECT_FALSE(IsZoomed(window->Handle()));
}

TEST_F(Desktop, FullScreenAndBackRestoresTheWindow)
{
    XGeometry before = x.Geometry(xWindow);
    parameters = FullScreen();
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    const D3DCOLOR colours[4] = {0xFFC04000, 0xFF00C040, 0xFF4000C0, 0xFFC0C0C0};
    PresentQuarters(colours);
    EXPECT_TRUE(WaitForGeometry(WholeScreen()));
    PresentQuarters(colours);
    EXPECT_EQ(x.Geometry(xWindow), WholeScreen());
    display::Image screen = x.Read(0, 0, x.ScreenWidth(), x.ScreenHeight());
    EXPECT_EQ(At(screen, screen.width / 4, screen.height / 4), colours[0]);
    EXPECT_EQ(At(screen, screen.width * 3 / 4, screen.height * 3 / 4), colours[3]);

    parameters = Windowed(clientWidth, clientHeight);
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    EXPECT_TRUE(WaitForGeometry(before));
    EXPECT_EQ(x.Geometry(xWindow), before);
    ExpectPlacedAsUser32Has(clientWidth, clientHeight);
    // The switch is Direct3D's own: the window manager's late reports make no WM_SIZE of it.
    EXPECT_TRUE(window->Of(WM_SIZE).empty());
}

// As the viewer switches: the window made a topmost popup covering the screen first, then
// full screen, then windowed again and put back by the program while the window manager is still
// giving it its frame back. It comes back exactly where it was, not a caption's height lower.
TEST_F(Desktop, AWindowPutBackRightAfterFullScreenComesBackWhereItWas)
{
    const XGeometry before = x.Geometry(xWindow);
    RECT placed{};
    GetWindowRect(window->Handle(), &placed);
    const LONG style = GetWindowLongW(window->Handle(), GWL_STYLE);
    SetWindowLongW(window->Handle(), GWL_STYLE, LONG(WS_POPUP | WS_VISIBLE));
    SetWindowPos(window->Handle(), HWND_TOPMOST, 0, 0, int(x.ScreenWidth()), int(x.ScreenHeight()), SWP_SHOWWINDOW);
    D3DPRESENT_PARAMETERS fullScreen = FullScreen();
    ASSERT_EQ(device->Reset(&fullScreen), D3D_OK);
    EXPECT_TRUE(WaitForGeometry(WholeScreen()));

    parameters = Windowed(x.ScreenWidth(), x.ScreenHeight());
    ASSERT_EQ(device->Reset(&parameters), D3D_OK);
    SetWindowLongW(window->Handle(), GWL_STYLE, style);
    SetWindowPos(window->Handle(), HWND_NOTOPMOST, placed.left, placed.top, placed.right - placed.left,
                 placed.bottom - placed.top, SWP_SHOWWINDOW);
    EXPECT_TRUE(WaitForGeometry(before));
    EXPECT_EQ(x.Geometry(xWindow), before);
    ExpectPlacedAsUser32Has(clientWidth, clientHeight);
}

TEST_F(Desktop, ASizeTheWindowManagerImposesReachesTheProgram)
{
    ASSERT_TRUE(Xdotool("windowsize --sync " + std::to_string(xWindow) + " 400 260"));
    ASSERT_TRUE(PumpUntil([&] { return !window->Of(WM_SIZE).empty(); }));
    Settle();
    auto sizes = window->Of(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(LOWORD(sizes.back().lParam), 400);
    EXPECT_EQ(HIWORD(sizes.back().lParam), 260);
    ExpectPlacedAsUser32Has(400, 260);
}

TEST_F(Desktop, MinimisedByTheProgramRestoredByTheWindowManager)
{
    ShowWindow(window->Handle(), SW_MINIMIZE);
    EXPECT_TRUE(PumpUntil([&] { return x.HasState(xWindow, "_NET_WM_STATE_HIDDEN"); }));
    window->Clear();
    ASSERT_TRUE(Activate());
    ASSERT_TRUE(PumpUntil([&] { return !IsIconic(window->Handle()); }));
    auto sizes = window->Of(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(sizes.back().lParam), clientWidth);
}

TEST_F(Desktop, TheIconIsTheWindowManagers)
{
    display::Image icon{2, 1, {0xFF112233u, 0x80445566u}};
    display::CurrentDriver().SetDisplayWindowIcon(user32::DisplayWindowOf(window->Handle()), icon);
    std::vector<unsigned long> property = x.Property(xWindow, "_NET_WM_ICON");
    ASSERT_EQ(property.size(), 4u);  // width, height, pixels
    EXPECT_EQ(property[0], 2u);
    EXPECT_EQ(property[1], 1u);
    EXPECT_EQ(property[2] & 0xFFFFFFFFu, 0xFF112233u);
    EXPECT_EQ(property[3] & 0xFFFFFFFFu, 0x80445566u);
}

// A dialog's frame (caption and close box, no sizing border) is framed by the window manager as
// its owner's dialog: kept with it, and not offered to be resized or maximised.
TEST_F(Desktop, ADialogIsItsOwnersAndCannotBeMaximised)
{
    RecordingWindow dialog(RecordingWindowOptions{.style = WS_POPUP | WS_CAPTION | WS_SYSMENU});
    ASSERT_TRUE(dialog.Handle());
    display::CurrentDriver().SetDisplayWindowOwner(user32::DisplayWindowOf(dialog.Handle()),
                                                   user32::DisplayWindowOf(window->Handle()));
    ShowWindow(dialog.Handle(), SW_SHOWNORMAL);
    const unsigned long dialogWindow = XWindowOf(dialog.Handle());
    ASSERT_NE(dialogWindow, 0u);
    ASSERT_TRUE(PumpUntil([&] { return x.Allows(dialogWindow, "_NET_WM_ACTION_CLOSE"); }));
    EXPECT_EQ(x.Property(dialogWindow, "WM_TRANSIENT_FOR"), std::vector<unsigned long>{xWindow});
    EXPECT_FALSE(x.Allows(dialogWindow, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_FALSE(x.Allows(dialogWindow, "_NET_WM_ACTION_RESIZE"));
    EXPECT_TRUE(x.Allows(xWindow, "_NET_WM_ACTION_MAXIMIZE_HORZ"));
    EXPECT_TRUE(x.Allows(xWindow, "_NET_WM_ACTION_RESIZE"));
}

// SDL makes a colormap for each window it creates and leaves it behind when the window goes; the
// display frees it, so that dialogs opened and closed leave nothing in the X server.
TEST_F(Desktop, AWindowsColormapGoesWithIt)
{
    auto dialog = std::make_unique<RecordingWindow>(RecordingWindowOptions{.style = WS_POPUP | WS_CAPTION});
    ShowWindow(dialog->Handle(), SW_SHOWNORMAL);
    const unsigned long colormap = x.Colormap(XWindowOf(dialog->Handle()));
    ASSERT_NE(colormap, 0u);
    ASSERT_TRUE(x.ColormapExists(colormap));
    dialog.reset();
    EXPECT_FALSE(x.ColormapExists(colormap));
    EXPECT_TRUE(x.ColormapExists(x.Colormap(xWindow))) << "the other window keeps its own";
}

TEST_F(Desktop, TheDisplaysModesAndTheDesktopAreTheServers)
{
    D3DDISPLAYMODE desktop{};
    ASSERT_EQ(direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop), D3D_OK);
    EXPECT_EQ(desktop.Width, x.ScreenWidth());
    EXPECT_EQ(desktop.Height, x.ScreenHeight());
    UINT count = direct3d->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8);
    ASSERT_GE(count, 1u);
    bool listed = false;
    for (UINT i = 0; i < count; ++i) {
        D3DDISPLAYMODE mode{};
        ASSERT_EQ(direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, i, &mode), D3D_OK);
        listed = listed || (mode.Width == desktop.Width && mode.Height == desktop.Height);
    }
    EXPECT_TRUE(listed);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), int(x.ScreenWidth()));
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), int(x.ScreenHeight()));
    ReleaseDC(nullptr, screen);
    // A real display cannot be configured by tests.
    EXPECT_FALSE(test_controls::SetDesktopSize(640, 480));
}

TEST_F(Desktop, WaitingForEventsTakesNoProcessorTime)
{
    auto processorTime = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
    };
    auto startWall = std::chrono::steady_clock::now();
    auto startProcessor = processorTime();
    display::Event event;
    while (std::chrono::steady_clock::now() - startWall < 1s)
        display::CurrentDriver().WaitEvent(event, 250);
    auto used = processorTime() - startProcessor;
    // A busy wait would use the whole second.
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(used).count(), 200);
}

// The desktop scaled to 200 % (SdlDisplayScaledOnXvfb sets QUORVANE_SCALE=2): the program keeps
// its 96-DPI pixels and the window on the screen is twice as large.
class ScaledDesktop : public Desktop {
protected:
    ScaledDesktop() { scale = 2; }

    // A menu bar with one title, and a frame of one colour under it.
    std::uint32_t ShowMenuBar(const wchar_t* title)
    {
        HMENU menu = CreateMenu();
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), title);
        SetMenu(window->Handle(), menu);
        const D3DCOLOR colours[4] = {bandColour, bandColour, bandColour, bandColour};
        PresentQuarters(colours);
        Settle();
        return bandColour & 0xFFFFFF;
    }
};

// The title as the menu font at twice its size rasterises it, black on the bar's grey.
display::Image TitleAtTwiceTheSize(const wchar_t* title)
{
    text::FontRequest request;
    request.height = -user32::PointsToPixels(user32::menuFontPoints) * 2;
    auto font = text::Font::Open(request);
    auto glyphs = text::PlaceLine(*font, text::ToCodePoints(title), 0, 0);
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const text::PlacedGlyph& g : glyphs) {
        left = std::min(left, g.x), top = std::min(top, g.y);
        right = std::max(right, g.x + g.glyph->width), bottom = std::max(bottom, g.y + g.glyph->height);
    }
    display::Image image{unsigned(right - left), unsigned(bottom - top), {}};
    image.pixels.assign(std::size_t{image.width} * image.height, 0xF0);
    for (const text::PlacedGlyph& g : glyphs) {
        for (int i = 0; i < g.glyph->width * g.glyph->height; ++i)
            image.pixels[std::size_t(g.y - top + i / g.glyph->width) * image.width +
                         std::size_t(g.x - left + i % g.glyph->width)] =
                (0xF0 * (255u - g.glyph->coverage[std::size_t(i)]) + 127) / 255;
    }
    return image;
}

TEST_F(ScaledDesktop, TheWindowIsTwiceTheProgramsSizeAndTheDesktopHalfTheScreens)
{
    POINT origin = ClientOrigin();
    EXPECT_EQ(x.Geometry(xWindow), (XGeometry{origin.x * 2, origin.y * 2, clientWidth * 2, clientHeight * 2}));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), int(x.ScreenWidth()) / 2);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), int(x.ScreenHeight()) / 2);
    ReleaseDC(nullptr, screen);
    D3DDISPLAYMODE mode{};  // the adapter's modes stay the screen's own
    ASSERT_EQ(direct3d->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, 0, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, x.ScreenWidth());
}

// The bar is twice as tall, and its title's pixels are those of the font rasterised at twice its
// size, not a stretch of the small glyphs (which would differ at nearly every edge).
TEST_F(ScaledDesktop, TheMenuBarIsTwiceAsTallWithGlyphsOfTwiceTheFontSize)
{
    const std::uint32_t frame = ShowMenuBar(L"View");
    display::Image shown = Screen();
    const unsigned bar = user32::menuBarHeight * 2;
    EXPECT_EQ(At(shown, shown.width - 1, bar - 1), 0xFFF0F0F0u);
    EXPECT_EQ(At(shown, shown.width - 1, bar) & 0xFFFFFF, frame);
    display::Image expected = TitleAtTwiceTheSize(L"View");
    unsigned left = shown.width, top = bar;
    for (unsigned i = 0; i < shown.width * bar; ++i) {
        if ((At(shown, i % shown.width, i / shown.width) & 0xFF) != 0xF0)
            left = std::min(left, i % shown.width), top = std::min(top, i / shown.width);
    }
    int differing = 0;
    for (unsigned i = 0; i < expected.width * expected.height; ++i) {
        unsigned column = i % expected.width, row = i / expected.width;
        differing += std::abs(int(At(shown, left + column, top + row) & 0xFF) - int(expected.pixels[i])) > 2;
    }
    EXPECT_EQ(differing, 0);
}

TEST_F(ScaledDesktop, AClickOnTheScreenReachesTheProgramAtHalfItsCoordinates)
{
    XGeometry g = x.Geometry(xWindow);
    ASSERT_TRUE(Click(g.x + 101, g.y + 81));
    ASSERT_TRUE(PumpUntil([&] { return !window->Of(WM_LBUTTONUP).empty(); }));
    auto downs = window->Of(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(LOWORD(downs[0].lParam), 50);
    EXPECT_EQ(HIWORD(downs[0].lParam), 40);
}

// At the desktop's size the program sees the scaled desktop, shown on the whole screen; at a mode
// of the screen's the mode is the screen, unscaled.
TEST_F(ScaledDesktop, FullScreenAtTheDesktopsSizeIsScaledAndAtAModeIsNot)
{
    const XGeometry before = x.Geometry(xWindow);
    for (unsigned factor : {2, 1}) {
        parameters = Windowed(x.ScreenWidth() / factor, x.ScreenHeight() / factor);
        parameters.Windowed = FALSE;
        ASSERT_EQ(device->Reset(&parameters), D3D_OK);
        EXPECT_TRUE(WaitForGeometry(WholeScreen())) << factor;
        RECT client = ClientRectOf(window->Handle());
        EXPECT_EQ(unsigned(client.right), x.ScreenWidth() / factor);
        EXPECT_EQ(unsigned(client.bottom), x.ScreenHeight() / factor);
        parameters = Windowed(clientWidth, clientHeight);
        ASSERT_EQ(device->Reset(&parameters), D3D_OK);
        EXPECT_TRUE(WaitForGeometry(before)) << factor;
    }
}

}  // namespace
}  // namespace quorvane::tests

#include "running_viewer.h"

#include "viewer_data.h"
#include "viewer_scene.h"

#include "app/display_modes.h"
#include "app/mouse.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"

namespace quorvane::tests {

namespace {

ProcedureSpy* currentSpy = nullptr;

}  // namespace

ProcedureSpy::ProcedureSpy(HWND window)
    : window_(window), original_(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)))
{
    currentSpy = this;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ProcedureSpy::Procedure));
}

ProcedureSpy::~ProcedureSpy()
{
    if (IsWindow(window_))
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    currentSpy = nullptr;
}

int ProcedureSpy::Count(UINT message) const
{
    auto found = counts_.find(message);
    return found == counts_.end() ? 0 : found->second;
}

LRESULT CALLBACK ProcedureSpy::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ProcedureSpy& spy = *currentSpy;
    ++spy.counts_[message];
    if (message == WM_ENTERIDLE && spy.onIdle)
        spy.onIdle(reinterpret_cast<HWND>(lParam));
    CDrawDevice* drawDevice = SceneResources.drawDevice;
    if (message != WM_SIZE || drawDevice == nullptr)
        return CallWindowProcW(spy.original_, window, message, wParam, lParam);
    // A reset marks the device's states dirty; the mark is put back as it was when none came.
    const BOOL dirty = drawDevice->statesDirty;
    drawDevice->statesDirty = FALSE;
    const LRESULT result = CallWindowProcW(spy.original_, window, message, wParam, lParam);
    if (SceneResources.drawDevice == drawDevice) {
        spy.resetsInSize += drawDevice->statesDirty ? 1 : 0;
        drawDevice->statesDirty = drawDevice->statesDirty || dirty;
    }
    return result;
}

void RunningViewerTest::SetUp()
{
    savedSettings_ = ViewerSettings;
    RestoreStartupState();
    WriteSmallViewerData(dir.Path());
    directory_.emplace(dir.Path());
    ViewerSettings = InitSettings(dir.WidePath("Quorvane.ini").c_str());
}

void RunningViewerTest::TearDown()
{
    if (IsWindow(Window())) {
        SendMessageW(Window(), WM_CLOSE, 0, 0);
        Pump();
    }
    ReleaseDirect3D();
    displayModes.clear();
    leftDragging = rightDragging = FALSE;
    test_controls::RestoreDefaults();
    RestoreStartupState();
    ViewerSettings = savedSettings_;
    directory_.reset();
}

void RunningViewerTest::Start(SIZE desktop)
{
    ASSERT_TRUE(test_controls::SetDesktopSize(UINT(desktop.cx), UINT(desktop.cy)));
    startup = StartViewer(GetModuleHandleW(nullptr), SW_SHOWNORMAL);
    Pump();
}

bool RunningViewerTest::Pump()
{
    MSG message{};
    bool quit = false;
    // Bounded: a window that never validated would be painted for ever.
    for (int i = 0; i < 100000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT) {
            quit = true;
            quitCode = int(message.wParam);
            continue;
        }
        HandleMessage(message, startup.accelerators);
    }
    return quit;
}

bool RunningViewerTest::Windowed() const
{
    BOOL windowed = FALSE;
    return IsDrawDeviceWindowed(&windowed) && windowed;
}

RECT RunningViewerTest::WindowRect() const
{
    RECT rect{};
    GetWindowRect(Window(), &rect);
    return rect;
}

RECT RunningViewerTest::ClientRect() const
{
    RECT rect{};
    GetClientRect(Window(), &rect);
    return rect;
}

DWORD RunningViewerTest::ClientCentre() const
{
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    if (!test_controls::ReadWindowImage(Window(), width, height, pixels))
        return 0xFFFFFFFF;
    // The client area is the surface's bottom part, under any menu bar.
    const RECT client = ClientRect();
    const UINT y = height - UINT(client.bottom) / 2, x = width / 2;
    return pixels[std::size_t(y) * width + x] & 0xFFFFFF;
}

void RunningViewerTest::Press(UINT key, wchar_t character)
{
    test_controls::InjectKey(Window(), key, true, character);
    test_controls::InjectKey(Window(), key, false);
}

void RunningViewerTest::PressWithAlt(UINT key, wchar_t character)
{
    test_controls::InjectKey(Window(), VK_MENU, true);
    Press(key, character);
    test_controls::InjectKey(Window(), VK_MENU, false);
}

void RunningViewerTest::Click(test_controls::MouseButton button, bool down, int x, int y)
{
    test_controls::InjectMouseButton(Window(), button, down, x, y);
}

}  // namespace quorvane::tests

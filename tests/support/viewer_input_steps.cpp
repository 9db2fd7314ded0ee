#include "viewer_input_steps.h"

#include "app/commands.h"
#include "app/resource.h"

#include <quorvane_testing.h>

#include <algorithm>
#include <array>
#include <vector>

namespace quorvane::tests::viewer_input {

namespace {

using test_controls::MouseButton;

enum class Step : std::uint8_t {
    Move,
    Press,
    Release,
    Click,
    DoubleClick,
    Wheel,
    Key,
    Resize,
    Minimise,
    Restore,
    FullScreenRequest,
    ChooseScreenMode,
    DesktopSize,
    AdapterModes,
    LoseDevice,
    MakeResettable,
    ResetFails,
    ClockTick,
    count
};

struct Key {
    UINT virtualKey;
    wchar_t character;
    bool shift = false;
};

// Alt and the menus' letters, and what moves through a menu or a dialog, Ctrl (held, its drags
// draw circles) and Delete: the keys given besides the viewer's function keys.
constexpr Key otherKeys[] = {
    {VK_F10, 0},        {VK_MENU, 0},     {'F', L'f'},
    {'V', L'v'},        {'S', L's'},      {'H', L'h'},
    {'O', L'o'},        {'N', L'n'},      {'E', L'e'},
    {'A', L'a'},        {'X', L'x'},      {VK_LEFT, 0},
    {VK_RIGHT, 0},      {VK_UP, 0},       {VK_DOWN, 0},
    {VK_RETURN, L'\r'}, {VK_ESCAPE, 27},  {VK_SPACE, L' '},
    {VK_TAB, L'\t'},    {VK_OEM_2, L'/'}, {VK_OEM_2, L'?', true},
    {VK_CONTROL, 0},    {VK_DELETE, 0},
};

// Every key a step may give: the viewer's function keys (functionKeys), then the others.
constexpr std::size_t keyCount = std::size(functionKeys) + std::size(otherKeys);

Key KeyAt(std::size_t index)
{
    if (index < std::size(functionKeys))
        return Key{static_cast<UINT>(functionKeys[index].key), 0};
    return otherKeys[index - std::size(functionKeys)];
}

// Sizes from nothing to the largest back buffer (8192), mostly small ones. A window manager
// gives no window a size past that: X11 stops at 32767, Windows at about the desktop's size.
UINT Size(InputBytes& bytes)
{
    constexpr std::array<UINT, 16> large = {0,    1,    2,    3,    640,  800,  1023, 1024,
                                            1280, 1920, 2048, 4095, 4096, 8190, 8191, 8192};
    const std::uint8_t b = bytes.Byte();
    return b < 240 ? UINT(b) * 4 : large[b - 240];
}

// A coordinate along a client extent: mostly in the window or just beside it (the menu bar is
// above the client area), else anywhere a 16-bit position reaches.
int Coordinate(InputBytes& bytes, LONG extent)
{
    const int v = bytes.Short();
    return v >= 0 ? v % (int(extent) + 41) - 20 : v;
}

POINT Position(InputBytes& bytes, HWND target)
{
    RECT client{};
    GetClientRect(target, &client);
    const int x = Coordinate(bytes, client.right);
    return POINT{x, Coordinate(bytes, client.bottom)};
}

MouseButton Button(InputBytes& bytes)
{
    return static_cast<MouseButton>(bytes.Byte() % 3);
}

void Click(HWND target, MouseButton button, POINT at)
{
    test_controls::InjectMouseButton(target, button, true, at.x, at.y);
    test_controls::InjectMouseButton(target, button, false, at.x, at.y);
}

// A key pressed and let go, pressed with Alt held, only pressed, or only let go.
void GiveKey(InputBytes& bytes, HWND target)
{
    const Key key = KeyAt(bytes.Byte() % keyCount);
    switch (bytes.Byte() % 4) {
    case 0: PressKey(target, key.virtualKey, key.character, false, key.shift); break;
    case 1: PressKey(target, key.virtualKey, key.character, true, key.shift); break;
    case 2: test_controls::InjectKey(target, key.virtualKey, true, key.character); break;
    default: test_controls::InjectKey(target, key.virtualKey, false); break;
    }
}

std::vector<D3DDISPLAYMODE> AdapterModes(std::uint8_t choice)
{
    const std::vector<std::vector<D3DDISPLAYMODE>> lists = {
        {},
        {{640, 480, 60, D3DFMT_X8R8G8B8}},
        {{800, 600, 60, D3DFMT_X8R8G8B8}, {1024, 768, 60, D3DFMT_X8R8G8B8}, {1024, 768, 75, D3DFMT_X8R8G8B8}},
        {{640, 480, 60, D3DFMT_X8R8G8B8},
         {800, 600, 60, D3DFMT_X8R8G8B8},
         {1024, 768, 60, D3DFMT_X8R8G8B8},
         {1280, 1024, 60, D3DFMT_X8R8G8B8},
         {1920, 1080, 60, D3DFMT_X8R8G8B8}},
    };
    return lists[choice % lists.size()];
}

void ApplyWindowManagerStep(Step step, InputBytes& bytes, HWND mainWindow, HWND target)
{
    switch (step) {
    case Step::Resize: {
        const int x = bytes.Short(), y = bytes.Short();
        const UINT width = Size(bytes);
        test_controls::MoveSurfaceAsWindowManager(mainWindow, x, y, width, Size(bytes));
        break;
    }
    case Step::Minimise: test_controls::InjectMinimized(mainWindow); break;
    case Step::Restore: test_controls::InjectRestored(mainWindow); break;
    case Step::FullScreenRequest: test_controls::InjectMaximizeRequest(mainWindow); break;
    case Step::ChooseScreenMode: {
        // What the full-screen pop-up's items send (and ids past them), but not while a dialog,
        // which keeps the menu from being used, runs.
        const UINT command = IDM_SCREEN_MODE_FIRST + bytes.Byte() % 8;
        if (target == mainWindow)
            PostMessageW(mainWindow, WM_COMMAND, command, 0);
        break;
    }
    default: break;
    }
}

void ApplySystemStep(Step step, InputBytes& bytes)
{
    switch (step) {
    case Step::DesktopSize: {
        const UINT width = Size(bytes);
        test_controls::SetDesktopSize(width > 0 ? width : 1, std::max<UINT>(Size(bytes), 1));
        break;
    }
    case Step::AdapterModes: test_controls::SetAdapterModes(AdapterModes(bytes.Byte())); break;
    case Step::LoseDevice: test_controls::LoseDevice(nullptr); break;
    case Step::MakeResettable: test_controls::MakeDeviceResettable(nullptr); break;
    case Step::ResetFails: test_controls::SetResetFails(bytes.Byte() & 1); break;
    case Step::ClockTick: test_controls::AdvanceInputClock(DWORD(bytes.Byte()) * 8); break;
    default: break;
    }
}

}  // namespace

void PressKey(HWND window, UINT virtualKey, wchar_t character, bool alt, bool shift)
{
    if (alt)
        test_controls::InjectKey(window, VK_MENU, true);
    if (shift)
        test_controls::InjectKey(window, VK_SHIFT, true);
    test_controls::InjectKey(window, virtualKey, true, character);
    test_controls::InjectKey(window, virtualKey, false);
    if (shift)
        test_controls::InjectKey(window, VK_SHIFT, false);
    if (alt)
        test_controls::InjectKey(window, VK_MENU, false);
}

void ApplyStep(InputBytes& bytes, HWND mainWindow, HWND target)
{
    const Step step = static_cast<Step>(bytes.Byte() % std::uint8_t(Step::count));
    switch (step) {
    case Step::Move: {
        const POINT at = Position(bytes, target);
        test_controls::InjectMouseMove(target, at.x, at.y);
        break;
    }
    case Step::Press:
    case Step::Release: {
        const MouseButton button = Button(bytes);
        const POINT at = Position(bytes, target);
        test_controls::InjectMouseButton(target, button, step == Step::Press, at.x, at.y);
        break;
    }
    case Step::Click: {
        const MouseButton button = Button(bytes);
        Click(target, button, Position(bytes, target));
        break;
    }
    case Step::DoubleClick: {
        const POINT at = Position(bytes, target);
        Click(target, MouseButton::Left, at);
        Click(target, MouseButton::Left, at);
        break;
    }
    case Step::Wheel: {
        const float notches = float(bytes.Short()) / 120.0f;  // any delta, not only whole notches
        const POINT at = Position(bytes, target);
        test_controls::InjectMouseWheel(target, notches, at.x, at.y);
        break;
    }
    case Step::Key: GiveKey(bytes, target); break;
    default:
        ApplyWindowManagerStep(step, bytes, mainWindow, target);
        ApplySystemStep(step, bytes);
        break;
    }
}

}  // namespace quorvane::tests::viewer_input

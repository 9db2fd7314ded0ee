#include <quorvane_testing.h>

#include "d3d9/device.h"
#include "d3d9/simulation.h"
#include "display/display.h"
#include "display/shared/gl_profile.h"
#include "display/simulated_display.h"
#include "kernel32/module_resources.h"
#include "user32/menu.h"
#include "user32/mouse_input.h"
#include "user32/window.h"
#include "user32/window_surface.h"

namespace quorvane::test_controls {

namespace {

// The display's configuration before any test changed it.
struct DisplayDefaults {
    std::vector<display::Mode> modes;
    display::Mode desktop;
};

const DisplayDefaults& OriginalDisplay()
{
    static const auto* defaults =
        new DisplayDefaults{display::CurrentDriver().Modes(), display::CurrentDriver().DesktopMode()};
    return *defaults;
}

// The table served before a test gave its own, and the copy of the test's entries served now.
struct LinkedResourceControl {
    bool changed = false;
    kernel32::LinkedResourceTable original;
    std::vector<kernel32::LinkedResource> served;
};

LinkedResourceControl& LinkedResources()
{
    static auto* control = new LinkedResourceControl;
    return *control;
}

// The keyboard and clock behind injected input.
struct InputDevice {
    std::uint32_t modifiers = 0;
    std::uint32_t clock = 1000;
};

InputDevice& Input()
{
    static InputDevice device;
    return device;
}

std::uint32_t ModifierOf(UINT virtualKey)
{
    switch (virtualKey) {
    case VK_SHIFT: return display::modifiers::shift;
    case VK_CONTROL: return display::modifiers::control;
    case VK_MENU: return display::modifiers::alt;
    default: return 0;
    }
}

bool Inject(HWND window, display::Event event)
{
    display::SimulatedDisplay* simulated = display::CurrentSimulatedDisplay();
    event.window = user32::DisplayWindowOf(window);
    if (!simulated || !event.window)
        return false;
    event.time = Input().clock;
    event.modifiers = Input().modifiers;
    simulated->InjectEvent(event);
    return true;
}

// Client coordinates to the surface's.
bool InjectAt(HWND window, display::Event event, int x, int y)
{
    RECT client = user32::ClientAreaInSurface(window);
    event.x = client.left + x;
    event.y = client.top + y;
    return Inject(window, event);
}

display::MouseButton ToDisplay(MouseButton button)
{
    switch (button) {
    case MouseButton::Right: return display::MouseButton::Right;
    case MouseButton::Middle: return display::MouseButton::Middle;
    default: return display::MouseButton::Left;
    }
}

template <class Action>
void ForDevices(IDirect3DDevice9* device, Action action)
{
    for (d3d9::Device* live : d3d9::LiveDevices()) {
        if (device == nullptr || device == live)
            action(*live);
    }
}

}  // namespace

bool SetAdapterModes(const std::vector<D3DDISPLAYMODE>& modes)
{
    OriginalDisplay();
    std::vector<display::Mode> converted;
    for (const D3DDISPLAYMODE& mode : modes)
        converted.push_back(display::Mode{mode.Width, mode.Height, mode.RefreshRate});
    display::SimulatedDisplay* simulated = display::CurrentSimulatedDisplay();
    if (!simulated)
        return false;
    simulated->ConfigureModes(converted, display::CurrentDriver().DesktopMode());
    return true;
}

bool SetWindowsRefused(bool refused)
{
    display::SimulatedDisplay* simulated = display::CurrentSimulatedDisplay();
    if (simulated)
        simulated->RefuseWindows(refused);
    return simulated != nullptr;
}

bool SetDesktopSize(UINT width, UINT height)
{
    OriginalDisplay();
    display::Driver& driver = display::CurrentDriver();
    display::SimulatedDisplay* simulated = display::CurrentSimulatedDisplay();
    if (!simulated)
        return false;
    display::Mode desktop = driver.DesktopMode();
    desktop.width = width;
    desktop.height = height;
    simulated->ConfigureModes(driver.Modes(), desktop);
    return true;
}

void SetDirect3DAvailable(bool available)
{
    d3d9::CurrentSimulation().noRuntime = !available;
}

void SetDeviceTypeFails(D3DDEVTYPE type, bool fails)
{
    if (type == D3DDEVTYPE_HAL)
        d3d9::CurrentSimulation().failHal = fails;
    else if (type == D3DDEVTYPE_REF)
        d3d9::CurrentSimulation().failRef = fails;
}

void LoseDevice(IDirect3DDevice9* device)
{
    ForDevices(device, [](d3d9::Device& d) { d.SimulateLoss(); });
}

void MakeDeviceResettable(IDirect3DDevice9* device)
{
    ForDevices(device, [](d3d9::Device& d) { d.SimulateResettable(); });
}

void SetResetFails(bool fails)
{
    d3d9::CurrentSimulation().failReset = fails;
}

LiveCounts ReadLiveCounts()
{
    LiveCounts counts{.windows = user32::AllWindows().size(), .menus = user32::LiveMenuCount()};
    ForDevices(nullptr, [&](d3d9::Device& d) {
        ++counts.devices;
        counts.deviceResources += d.LiveResourceCount();
        counts.presentedFrames += d.PresentedFrames();
    });
    return counts;
}

bool ReadWindowImage(HWND window, UINT& width, UINT& height, std::vector<DWORD>& pixels)
{
    display::Window* shown = user32::DisplayWindowOf(window);
    display::Image image;
    if (!shown || !display::CurrentDriver().ReadWindowImage(shown, image))
        return false;
    width = image.width;
    height = image.height;
    pixels.assign(image.pixels.begin(), image.pixels.end());
    return true;
}

bool WriteWindowPng(HWND window, const std::string& path)
{
    display::Window* shown = user32::DisplayWindowOf(window);
    return shown && display::CurrentDriver().WriteWindowPng(shown, path);
}

ShaderProgramCounts ReadShaderProgramCounts(IDirect3DDevice9* device)
{
    ShaderProgramCounts counts;
    ForDevices(device, [&](d3d9::Device& d) {
        d3d9::ProgramCounts read = d.TakeProgramCounts();
        counts.cached += read.cached;
        counts.compiled += read.compiled;
        counts.used += read.used;
    });
    return counts;
}

std::string MissingGLProblem()
{
    return display::shared::MissingGL();
}

void SetLinkedResources(const std::vector<LinkedResource>& resources)
{
    LinkedResourceControl& control = LinkedResources();
    std::vector<kernel32::LinkedResource> served;
    for (const LinkedResource& resource : resources)
        served.push_back({resource.type, resource.name, resource.bytes, resource.size, resource.language});
    const kernel32::LinkedResourceTable previous = kernel32::SetLinkedResources({served.data(), served.size()});
    if (!control.changed)
        control.original = previous;
    control.changed = true;
    control.served = std::move(served);
}

bool InjectMouseMove(HWND window, int x, int y)
{
    return InjectAt(window, display::Event{.type = display::EventType::MouseMove}, x, y);
}

bool InjectMouseButton(HWND window, MouseButton button, bool down, int x, int y)
{
    display::Event event{.type = down ? display::EventType::MouseButtonDown : display::EventType::MouseButtonUp};
    event.button = ToDisplay(button);
    return InjectAt(window, event, x, y);
}

bool InjectMouseWheel(HWND window, float notches, int x, int y)
{
    display::Event event{.type = display::EventType::MouseWheel};
    event.wheel = notches;
    return InjectAt(window, event, x, y);
}

bool InjectKey(HWND window, UINT virtualKey, bool down, wchar_t character)
{
    std::uint32_t& held = Input().modifiers;
    held = down ? (held | ModifierOf(virtualKey)) : (held & ~ModifierOf(virtualKey));
    display::Event event{.type = down ? display::EventType::KeyDown : display::EventType::KeyUp};
    event.key = display::KeyCode(virtualKey);
    event.character = down ? char32_t(character) : 0;
    return Inject(window, event);
}

bool InjectText(HWND window, wchar_t character)
{
    display::Event event{.type = display::EventType::Text};
    event.character = char32_t(character);
    return Inject(window, event);
}

void AdvanceInputClock(DWORD milliseconds)
{
    Input().clock += milliseconds;
}

bool InjectCloseRequest(HWND window)
{
    return Inject(window, display::Event{.type = display::EventType::CloseRequest});
}

bool InjectMaximizeRequest(HWND window)
{
    return Inject(window, display::Event{.type = display::EventType::MaximizeRequest});
}

bool InjectMinimized(HWND window)
{
    return Inject(window, display::Event{.type = display::EventType::Minimized});
}

bool InjectRestored(HWND window)
{
    return Inject(window, display::Event{.type = display::EventType::Restored});
}

bool MoveSurfaceAsWindowManager(HWND window, int x, int y, UINT width, UINT height)
{
    display::Window* surface = user32::DisplayWindowOf(window);
    if (!surface)
        return false;
    display::CurrentDriver().SetDisplayWindowRect(surface, display::Rect{x, y, width, height});
    return Inject(window, display::Event{.type = display::EventType::WindowChanged});
}

void RestoreDefaults()
{
    // Keys are let go, and the clock moves on far enough that no click pairs with a later one.
    Input().modifiers = 0;
    Input().clock += 10 * user32::doubleClickTime;
    const DisplayDefaults& defaults = OriginalDisplay();
    if (display::SimulatedDisplay* simulated = display::CurrentSimulatedDisplay()) {
        simulated->ConfigureModes(defaults.modes, defaults.desktop);
        simulated->RefuseWindows(false);
    }
    d3d9::CurrentSimulation() = d3d9::Simulation{};
    LinkedResourceControl& resources = LinkedResources();
    if (resources.changed) {
        kernel32::SetLinkedResources(resources.original);
        resources = LinkedResourceControl{};
    }
}

}  // namespace quorvane::test_controls

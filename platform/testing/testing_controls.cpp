#include <quorvane_testing.h>

#include "d3d9/device.h"
#include "d3d9/simulation.h"
#include "display/display.h"
#include "kernel32/module_resources.h"
#include "user32/window.h"

namespace quorvane::test_controls {

namespace {

// The display's configuration before any test changed it.
struct DisplayDefaults {
    std::vector<display::Mode> modes;
    display::Mode desktop;
};

const DisplayDefaults& OriginalDisplay()
{
    static const DisplayDefaults defaults{display::CurrentDriver().Modes(), display::CurrentDriver().DesktopMode()};
    return defaults;
}

// The table served before a test gave its own, and the copy of the test's entries served now.
struct LinkedResourceControl {
    bool changed = false;
    kernel32::LinkedResourceTable original;
    std::vector<kernel32::LinkedResource> served;
};

LinkedResourceControl& LinkedResources()
{
    static LinkedResourceControl control;
    return control;
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
    display::Driver& driver = display::CurrentDriver();
    return driver.ConfigureModes(converted, driver.DesktopMode());
}

bool SetDesktopSize(UINT width, UINT height)
{
    OriginalDisplay();
    display::Driver& driver = display::CurrentDriver();
    display::Mode desktop = driver.DesktopMode();
    desktop.width = width;
    desktop.height = height;
    return driver.ConfigureModes(driver.Modes(), desktop);
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

void SetLinkedResources(const std::vector<LinkedResource>& resources)
{
    LinkedResourceControl& control = LinkedResources();
    std::vector<kernel32::LinkedResource> served;
    for (const LinkedResource& resource : resources)
        served.push_back({resource.type, resource.name, resource.bytes, resource.size});
    const kernel32::LinkedResourceTable previous = kernel32::SetLinkedResources({served.data(), served.size()});
    if (!control.changed)
        control.original = previous;
    control.changed = true;
    control.served = std::move(served);
}

void RestoreDefaults()
{
    const DisplayDefaults& defaults = OriginalDisplay();
    display::CurrentDriver().ConfigureModes(defaults.modes, defaults.desktop);
    d3d9::CurrentSimulation() = d3d9::Simulation{};
    LinkedResourceControl& resources = LinkedResources();
    if (resources.changed) {
        kernel32::SetLinkedResources(resources.original);
        resources = LinkedResourceControl{};
    }
}

}  // namespace quorvane::test_controls

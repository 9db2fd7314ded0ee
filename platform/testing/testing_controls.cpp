#include <quorvane_testing.h>

#include "d3d9/device.h"
#include "d3d9/simulation.h"
#include "display/display.h"
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

void RestoreDefaults()
{
    const DisplayDefaults& defaults = OriginalDisplay();
    display::CurrentDriver().ConfigureModes(defaults.modes, defaults.desktop);
    d3d9::CurrentSimulation() = d3d9::Simulation{};
}

}  // namespace quorvane::test_controls

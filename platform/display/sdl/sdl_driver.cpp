// The driver as the platform finds it, and the windows it keeps.
#include "display/sdl/sdl_driver.h"

#include "display/simulated_display.h"

#include <algorithm>

namespace quorvane::display {

// A real display: nothing of it is simulated.
SimulatedDisplay* CurrentSimulatedDisplay()
{
    return nullptr;
}

Driver& CurrentDriver()
{
    // Never destroyed: the program's static objects may release windows and devices at exit.
    static auto* driver = new sdl::SdlDriver;
    return *driver;
}

namespace sdl {

bool SdlDriver::Owns(const Window* window) const
{
    return windows_.Owns(window);
}

Window* SdlDriver::WindowOfId(Uint32 id) const
{
    for (auto& window : windows_) {
        if (window->id == id)
            return window.get();
    }
    return nullptr;
}

Window* SdlDriver::WindowOfXWindow(unsigned long xWindow) const
{
    for (auto& window : windows_) {
        if (window->xWindow == xWindow && xWindow != 0)
            return window.get();
    }
    return nullptr;
}

}  // namespace sdl
}  // namespace quorvane::display

#include "user32/window_surface.h"

#include "user32/window.h"

namespace quorvane::user32 {

namespace {

display::Window* SurfaceOf(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && !(window->style & WS_CHILD) ? window->displayWindow : nullptr;
}

}  // namespace

RECT ClientAreaInSurface(HWND handle)
{
    Window* window = LookUpWindow(handle);
    return window && window->displayWindow ? ClientRectInSurface(*window) : RECT{};
}

float SurfaceScale(HWND handle)
{
    display::Window* surface = SurfaceOf(handle);
    return surface ? display::CurrentDriver().SurfaceScale(surface) : 1;
}

bool SetSurfaceLayer(HWND handle, int layer, POINT at, const display::Image& image)
{
    display::Window* surface = SurfaceOf(handle);
    return surface && display::CurrentDriver().SetLayer(surface, layer, at.x, at.y, image);
}

void RemoveSurfaceLayer(HWND handle, int layer)
{
    if (display::Window* surface = SurfaceOf(handle))
        display::CurrentDriver().RemoveLayer(surface, layer);
}

}  // namespace quorvane::user32

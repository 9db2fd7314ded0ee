// The colormap SDL's X11 driver makes for every window it creates (XCreateColormap for the
// window's visual) and does not free when the window is destroyed (SDL 2.26): each window made
// and destroyed would leave one behind in the X server for as long as the program runs. The
// display takes it over when it makes a window and frees it once SDL has destroyed the window.
#pragma once

#include <SDL.h>

namespace quorvane::display::sdl {

class WindowColormap {
public:
    WindowColormap() = default;
    // The window's colormap, when SDL's video runs on X11 and made one of its own for it.
    explicit WindowColormap(SDL_Window* window);

    unsigned long Id() const { return colormap_; }
    // Frees the colormap; call it after SDL_DestroyWindow (a colormap still in use by a window
    // would leave the window with none).
    void Free();

private:
    void* display_ = nullptr;  // Xlib's Display
    unsigned long colormap_ = 0;
};

}  // namespace quorvane::display::sdl

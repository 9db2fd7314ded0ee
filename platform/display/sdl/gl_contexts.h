// The SDL display's OpenGL contexts. The display keeps a root context of its own, on a hidden
// window, and every other context shares its objects (so a window's kept frame outlives the
// device that presented it). Devices render into framebuffer objects, never into a window's
// drawable, so their contexts are made current on the hidden window: a context stays usable
// after the window it was made for has gone. Only the root context draws into windows, when a
// window's surface is composed.
#pragma once

#include <SDL.h>

#include <string>

#include "display/shared/gl_profile.h"

namespace quorvane::display {

struct GLContext {
    SDL_GLContext gl = nullptr;
};

namespace sdl {

class GlContexts {
public:
    GlContexts() = default;
    GlContexts(const GlContexts&) = delete;
    GlContexts& operator=(const GlContexts&) = delete;

    // Sets the attributes every window and context of the display is made with (OpenGL 3.3 core
    // or OpenGL ES 3.0, double-buffered); before the first window. The root context settles the
    // profile: the first of shared::ProfilesToTry() the machine can make.
    static void SetAttributes(shared::GLProfile profile = shared::GLProfile::desktop33);

    // A new context sharing with the root one, made when first needed; null without GL.
    SDL_GLContext Create();
    void Destroy(SDL_GLContext context);
    bool MakeCurrent(const GLContext* context);

    // Runs `action` with the root context current on `window` (the hidden one when null), then
    // makes the previous context current again. False when GL is unavailable.
    template <class Action>
    bool WithRoot(SDL_Window* window, Action action)
    {
        if (!Open() || SDL_GL_MakeCurrent(window ? window : hidden_, root_) != 0)
            return false;
        action();
        Restore();
        return true;
    }
    bool Opened() const { return root_ != nullptr; }

private:
    bool Open();
    void Restore();
    std::string OfferedGL();

    SDL_Window* hidden_ = nullptr;
    SDL_GLContext root_ = nullptr;
    const GLContext* current_ = nullptr;
    bool failed_ = false;
};

}  // namespace sdl
}  // namespace quorvane::display

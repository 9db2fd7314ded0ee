// Starting SDL's video subsystem, the mouse capture and the OpenGL contexts.
#include "display/sdl/desktop_scale.h"
#include "display/sdl/sdl_driver.h"
#include "display/sdl/x11_errors.h"
#include "display/sdl/x11_window_manager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvane::display::sdl {

namespace {

// SDL falls back to drivers that show nothing (offscreen, dummy) when it can open no display; a
// program there would wait for input that never comes. They are taken only when asked for.
bool ShowsNothing(const char* driver)
{
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool AskedFor(const char* driver)
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked && std::strstr(asked, driver);
}

void ReportNoDisplay(const char* why)
{
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "quorvane: no display to show windows on (DISPLAY is %s%s%s): %s\n", display ? "\"" : "unset",
                 display ? display : "", display ? "\"" : "", why);
}

}  // namespace

bool SdlDriver::Video()
{
    if (videoStarted_ || videoFailed_)
        return videoStarted_;
    // The program's own signals stay the program's; a window that loses the focus in full
    // screen stays full screen; closing the last window is the program's business.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ReportNoDisplay(SDL_GetError());
        videoFailed_ = true;
        return false;
    }
    if (const char* driver = SDL_GetCurrentVideoDriver(); ShowsNothing(driver) && !AskedFor(driver)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ReportNoDisplay("SDL's only video driver shows nothing");
        videoFailed_ = true;
        return false;
    }
    TolerateErrorsAboutGoneWindows();
    x11::ListenToWindowManager();
    GlContexts::SetAttributes();
    videoStarted_ = true;
    desktopScale_ = ScreenScale(DesktopScale());
    desktopSeen_ = DesktopMode();
    return true;
}

void SdlDriver::CaptureMouse(Window* window)
{
    if (videoStarted_)
        SDL_CaptureMouse(window ? SDL_TRUE : SDL_FALSE);
}

GLContext* SdlDriver::CreateGLContext(Window*)
{
    if (!Video())
        return nullptr;
    SDL_GLContext gl = contexts_.Create();
    if (!gl)
        return nullptr;
    return glContexts_.Add(std::make_unique<GLContext>(GLContext{gl}));
}

void SdlDriver::DestroyGLContext(GLContext* context)
{
    if (!glContexts_.Owns(context))
        return;
    contexts_.Destroy(context->gl);
    glContexts_.Remove(context);
}

bool SdlDriver::MakeCurrent(GLContext* context)
{
    return contexts_.MakeCurrent(context);
}

}  // namespace quorvane::display::sdl

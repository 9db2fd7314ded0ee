// OpenGL 3.3 core contexts without any window system: EGL on Mesa's surfaceless platform.
// Rendering goes into framebuffer objects; nothing is ever shown on a screen.
#pragma once

#include <epoxy/egl.h>

namespace quorvane::display::headless {

class EglSurfaceless {
public:
    EglSurfaceless() = default;
    EglSurfaceless(const EglSurfaceless&) = delete;
    EglSurfaceless& operator=(const EglSurfaceless&) = delete;
    ~EglSurfaceless();

    // A new core-profile context, or EGL_NO_CONTEXT when EGL or GL 3.3 is unavailable. The
    // display connection opens with the first context.
    EGLContext CreateContext();
    void DestroyContext(EGLContext context);
    bool MakeCurrent(EGLContext context);

private:
    bool Open();

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext current_ = EGL_NO_CONTEXT;
};

}  // namespace quorvane::display::headless

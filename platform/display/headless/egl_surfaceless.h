// OpenGL 3.3 core contexts without any window system: EGL on Mesa's surfaceless platform.
// Rendering goes into framebuffer objects; nothing is ever shown on a screen. Every context
// shares its objects with a root context that lives as long as the display, so textures kept
// for windows survive the contexts that filled them.
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
    // display connection and the root context open with the first context.
    EGLContext CreateContext();
    void DestroyContext(EGLContext context);
    bool MakeCurrent(EGLContext context);
    EGLContext Current() const { return current_; }
    // The root context, or EGL_NO_CONTEXT before the first context was made.
    EGLContext Root() const { return root_; }

private:
    bool Open();
    EGLContext NewContext(EGLContext shareWith);

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext root_ = EGL_NO_CONTEXT;
    EGLContext current_ = EGL_NO_CONTEXT;
};

}  // namespace quorvane::display::headless

// OpenGL 3.3 core or OpenGL ES 3.0 contexts (shared::ProfilesToTry) without any window system: EGL on Mesa's surfaceless platform.
// Rendering goes into framebuffer objects; nothing is ever shown on a screen. Every context
// shares its objects with a root context that lives as long as the display, so textures kept
// for windows survive the contexts that filled them.
#pragma once

#include <epoxy/egl.h>

#include <string>

#include "display/shared/gl_profile.h"

namespace quorvane::display::headless {

class EglSurfaceless {
public:
    EglSurfaceless() = default;
    EglSurfaceless(const EglSurfaceless&) = delete;
    EglSurfaceless& operator=(const EglSurfaceless&) = delete;
    ~EglSurfaceless();

    // A new context of the display's profile, or EGL_NO_CONTEXT when EGL or both profiles are
    // unavailable. The display connection, the profile and the root context are settled with the
    // first context.
    EGLContext CreateContext();
    void DestroyContext(EGLContext context);
    bool MakeCurrent(EGLContext context);
    EGLContext Current() const { return current_; }
    // The root context, or EGL_NO_CONTEXT before the first context was made.
    EGLContext Root() const { return root_; }
    shared::GLProfile Profile() const { return profile_; }

private:
    bool Open();
    EGLContext NewContext(EGLContext shareWith);
    std::string OfferedGL();

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext root_ = EGL_NO_CONTEXT;
    EGLContext current_ = EGL_NO_CONTEXT;
    shared::GLProfile profile_ = shared::GLProfile::desktop33;
    bool failed_ = false;
};

}  // namespace quorvane::display::headless

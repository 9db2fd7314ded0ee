// OpenGL 3.3 core or OpenGL ES 3.0 contexts (the first of shared::ProfilesToTry() that can be had
// when the context is made) without any window system: EGL on Mesa's surfaceless platform.
// Rendering goes into framebuffer objects; nothing is ever shown on a screen. Every context
// shares its objects with the root context of its profile, which lives as long as the display, so
// textures kept for windows survive the contexts that filled them.
#pragma once

#include <epoxy/egl.h>

#include <map>
#include <string>

#include "display/shared/gl_profile.h"

namespace quorvane::display::headless {

class EglSurfaceless {
public:
    EglSurfaceless() = default;
    EglSurfaceless(const EglSurfaceless&) = delete;
    EglSurfaceless& operator=(const EglSurfaceless&) = delete;
    ~EglSurfaceless();

    // A new context of the first profile to try that can be had, or EGL_NO_CONTEXT when EGL or
    // every profile is unavailable (said once on standard error). The display connection opens
    // with the first context, a profile's root context with its first.
    EGLContext CreateContext();
    void DestroyContext(EGLContext context);
    bool MakeCurrent(EGLContext context);
    EGLContext Current() const { return current_; }
    // The root context of a profile, or EGL_NO_CONTEXT before its first context was made.
    EGLContext Root(shared::GLProfile profile) const { return roots_[int(profile)]; }
    shared::GLProfile ProfileOf(EGLContext context) const;

private:
    bool Open();
    EGLContext NewContext(shared::GLProfile profile, EGLContext shareWith);
    std::string OfferedGL();

    EGLDisplay display_ = EGL_NO_DISPLAY;
    EGLContext roots_[2] = {EGL_NO_CONTEXT, EGL_NO_CONTEXT};  // by shared::GLProfile
    std::map<EGLContext, shared::GLProfile> profiles_;
    EGLContext current_ = EGL_NO_CONTEXT;
};

}  // namespace quorvane::display::headless

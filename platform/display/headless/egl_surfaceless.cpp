#include "display/headless/egl_surfaceless.h"

namespace quorvane::display::headless {

// The display connection and the root context stay until the process ends: terminating the
// connection unloads Mesa's driver, and what the driver keeps for the process could no longer be
// told apart from leaks.
EglSurfaceless::~EglSurfaceless() = default;

bool EglSurfaceless::Open()
{
    if (display_ != EGL_NO_DISPLAY)
        return true;
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless"))
        return false;
    EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY)
        return false;
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor))
        return false;
    if (!epoxy_has_egl_extension(display, "EGL_KHR_no_config_context") ||
        !epoxy_has_egl_extension(display, "EGL_KHR_surfaceless_context") || !eglBindAPI(EGL_OPENGL_API)) {
        eglTerminate(display);
        return false;
    }
    display_ = display;
    return true;
}

EGLContext EglSurfaceless::NewContext(EGLContext shareWith)
{
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    return eglCreateContext(display_, EGL_NO_CONFIG_KHR, shareWith, attributes);
}

EGLContext EglSurfaceless::CreateContext()
{
    if (!Open())
        return EGL_NO_CONTEXT;
    if (root_ == EGL_NO_CONTEXT)
        root_ = NewContext(EGL_NO_CONTEXT);
    if (root_ == EGL_NO_CONTEXT)
        return EGL_NO_CONTEXT;
    return NewContext(root_);
}

void EglSurfaceless::DestroyContext(EGLContext context)
{
    if (display_ == EGL_NO_DISPLAY || context == EGL_NO_CONTEXT || context == root_)
        return;
    if (current_ == context) {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        current_ = EGL_NO_CONTEXT;
    }
    eglDestroyContext(display_, context);
}

bool EglSurfaceless::MakeCurrent(EGLContext context)
{
    if (display_ == EGL_NO_DISPLAY)
        return false;
    if (current_ == context)
        return true;
    if (!eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context))
        return false;
    current_ = context;
    return true;
}

}  // namespace quorvane::display::headless

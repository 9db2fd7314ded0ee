#include "display/headless/egl_surfaceless.h"

#include <epoxy/gl.h>

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
        !epoxy_has_egl_extension(display, "EGL_KHR_surfaceless_context")) {
        eglTerminate(display);
        return false;
    }
    display_ = display;
    return true;
}

EGLContext EglSurfaceless::NewContext(shared::GLProfile profile, EGLContext shareWith)
{
    if (profile == shared::GLProfile::es3) {
        const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0, EGL_NONE};
        if (!eglBindAPI(EGL_OPENGL_ES_API))
            return EGL_NO_CONTEXT;
        return eglCreateContext(display_, EGL_NO_CONFIG_KHR, shareWith, attributes);
    }
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    if (!eglBindAPI(EGL_OPENGL_API))
        return EGL_NO_CONTEXT;
    return eglCreateContext(display_, EGL_NO_CONFIG_KHR, shareWith, attributes);
}

// The version string of whatever desktop GL context the driver makes when asked for none in
// particular: what the message names when no profile could be had.
std::string EglSurfaceless::OfferedGL()
{
    if (!eglBindAPI(EGL_OPENGL_API))
        return "";
    EGLContext probe = eglCreateContext(display_, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, nullptr);
    if (probe == EGL_NO_CONTEXT)
        return "";
    std::string found;
    if (eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, probe)) {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        found = version ? std::string("OpenGL ") + version : "";
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(display_, probe);
    return found;
}

EGLContext EglSurfaceless::CreateContext()
{
    std::vector<shared::GLProfile> tried = shared::ProfilesToTry();
    if (Open()) {
        for (shared::GLProfile profile : tried) {
            EGLContext& root = roots_[int(profile)];
            if (root == EGL_NO_CONTEXT)
                root = NewContext(profile, EGL_NO_CONTEXT);
            EGLContext context = root != EGL_NO_CONTEXT ? NewContext(profile, root) : EGL_NO_CONTEXT;
            if (context != EGL_NO_CONTEXT) {
                profiles_[context] = profile;
                return context;
            }
        }
    }
    shared::ReportMissingGL(shared::DescribeMissingGL(tried, display_ != EGL_NO_DISPLAY ? OfferedGL() : std::string()));
    return EGL_NO_CONTEXT;
}

shared::GLProfile EglSurfaceless::ProfileOf(EGLContext context) const
{
    auto found = profiles_.find(context);
    return found != profiles_.end() ? found->second : shared::GLProfile::desktop33;
}

void EglSurfaceless::DestroyContext(EGLContext context)
{
    if (display_ == EGL_NO_DISPLAY || context == EGL_NO_CONTEXT || context == roots_[0] || context == roots_[1])
        return;
    profiles_.erase(context);
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

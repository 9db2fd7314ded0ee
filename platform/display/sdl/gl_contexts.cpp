#include "display/sdl/gl_contexts.h"

#include <epoxy/gl.h>

#include <string>

namespace quorvane::display::sdl {

void GlContexts::SetAttributes(shared::GLProfile profile)
{
    bool es = profile == shared::GLProfile::es3;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, es ? 0 : 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, es ? SDL_GL_CONTEXT_PROFILE_ES : SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
}

bool GlContexts::Open()
{
    if (root_ || failed_)
        return root_ != nullptr;
    hidden_ = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    std::vector<shared::GLProfile> tried = shared::ProfilesToTry();
    if (hidden_) {
        SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
        for (shared::GLProfile profile : tried) {
            SetAttributes(profile);
            root_ = SDL_GL_CreateContext(hidden_);
            if (root_)
                break;
        }
    }
    if (!root_) {
        std::string found = hidden_ ? OfferedGL() : "";
        if (hidden_)
            SDL_DestroyWindow(hidden_);
        hidden_ = nullptr;
        failed_ = true;
        shared::ReportMissingGL(shared::DescribeMissingGL(tried, found));
        return false;
    }
    // Composing a surface swaps its window: wait for the vertical blank, as Direct3D's default
    // presentation interval does, where the display has one.
    SDL_GL_SetSwapInterval(1);
    Restore();
    return true;
}

// The version string of the context SDL makes when asked for no version in particular.
std::string GlContexts::OfferedGL()
{
    SDL_GL_ResetAttributes();
    SDL_GLContext probe = SDL_GL_CreateContext(hidden_);
    std::string found;
    if (probe) {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        found = version ? std::string("OpenGL ") + version : "";
        SDL_GL_MakeCurrent(hidden_, nullptr);
        SDL_GL_DeleteContext(probe);
    }
    SetAttributes(shared::GLProfile::desktop33);
    return found;
}

void GlContexts::Restore()
{
    if (current_)
        SDL_GL_MakeCurrent(hidden_, current_->gl);
    else
        SDL_GL_MakeCurrent(hidden_, nullptr);
}

SDL_GLContext GlContexts::Create()
{
    if (!Open() || SDL_GL_MakeCurrent(hidden_, root_) != 0)
        return nullptr;
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    SDL_GLContext context = SDL_GL_CreateContext(hidden_);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    Restore();
    return context;
}

void GlContexts::Destroy(SDL_GLContext context)
{
    if (current_ && current_->gl == context) {
        current_ = nullptr;
        Restore();
    }
    SDL_GL_DeleteContext(context);
}

bool GlContexts::MakeCurrent(const GLContext* context)
{
    if (context == current_)
        return true;
    if (!root_)
        return context == nullptr;
    if (SDL_GL_MakeCurrent(hidden_, context ? context->gl : nullptr) != 0)
        return false;
    current_ = context;
    return true;
}

}  // namespace quorvane::display::sdl

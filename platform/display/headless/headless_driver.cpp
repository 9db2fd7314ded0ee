#include "display/headless/headless_driver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/shared/gl_pixels.h"

#include "display/shared/png_writer.h"

namespace quorvane::display {

namespace {

// Never destroyed: the program's own static objects (the scene record) release their devices
// and windows at process exit, after every function-local static would have gone.
headless::HeadlessDriver& TheDriver()
{
    static auto* driver = new headless::HeadlessDriver;
    return *driver;
}

}  // namespace

Driver& CurrentDriver()
{
    return TheDriver();
}

SimulatedDisplay* CurrentSimulatedDisplay()
{
    return &TheDriver();
}

namespace headless {

namespace {

// What a compositor drawing in the presenting context leaves behind: its own vertex array and
// program, other pixel-store alignments, the opposite winding, its own current attribute values,
// and (where the context has them) OpenGL's default provoking vertex and depth convention. A
// device that set any of these once at creation draws wrongly after it.
void LeaveCompositorState()
{
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    glFrontFace(GL_CW);
    for (GLuint attribute = 0; attribute < 8; ++attribute)
        glVertexAttrib4f(attribute, 0.5f, 0.25f, 0.75f, 0.5f);
    if (!shared::CurrentContextIsES()) {
        glProvokingVertex(GL_LAST_VERTEX_CONVENTION);
        if (epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control"))
            glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    }
}

}  // namespace

namespace {

Rect SurfaceOf(const WindowDesc& desc)
{
    return Rect{desc.x, desc.y, desc.width, desc.height};
}

}  // namespace

std::vector<Mode> DefaultModes()
{
    return {{640, 480, 60},  {640, 480, 75},  {800, 600, 60},   {800, 600, 75},   {1024, 768, 60},
            {1024, 768, 75}, {1280, 720, 60}, {1280, 1024, 60}, {1280, 1024, 75}, {1920, 1080, 60}};
}

Mode DefaultDesktopMode()
{
    return {1920, 1080, 60};
}

HeadlessDriver::HeadlessDriver() : modes_(DefaultModes()), desktop_(DefaultDesktopMode())
{
    const char* compose = std::getenv("QUORVANE_HEADLESS_COMPOSE");
    composeInDevice_ = compose && std::strcmp(compose, "device") == 0;
}

Mode HeadlessDriver::CurrentMode()
{
    return fullScreenWindow_ ? fullScreenMode_ : desktop_;
}

void HeadlessDriver::ConfigureModes(const std::vector<Mode>& modes, const Mode& desktop)
{
    bool desktopChanged = desktop.width != desktop_.width || desktop.height != desktop_.height;
    modes_ = modes;
    desktop_ = desktop;
    if (desktopChanged)
        events_.Push(Event{.type = EventType::DesktopChanged});
}

bool HeadlessDriver::Owns(const Window* window) const
{
    return windows_.Owns(window);
}

Window* HeadlessDriver::CreateDisplayWindow(const WindowDesc& desc)
{
    if (windowsRefused_)
        return nullptr;
    auto window = std::make_unique<Window>();
    window->desc = desc;
    return windows_.Add(std::move(window));
}

void HeadlessDriver::RefuseWindows(bool refused)
{
    windowsRefused_ = refused;
}

void HeadlessDriver::DestroyDisplayWindow(Window* window)
{
    if (!Owns(window))
        return;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    if (!window->frame.Empty())
        WithRootContext(window->frameProfile, [&] { window->frame.Release(); });
    events_.Forget(window);
    windows_.Remove(window);
}

void HeadlessDriver::SetDisplayWindowRect(Window* window, const Rect& rect)
{
    if (!Owns(window))
        return;
    window->desc.x = rect.x;
    window->desc.y = rect.y;
    window->desc.width = rect.width;
    window->desc.height = rect.height;
    window->shownCurrent = false;
}

Rect HeadlessDriver::DisplayWindowRect(Window* window)
{
    return Owns(window) ? SurfaceOf(window->desc) : Rect{};
}

void HeadlessDriver::MoveSurface(Window& window, const Rect& rect)
{
    if (SurfaceOf(window.desc) == rect)
        return;
    SetDisplayWindowRect(&window, rect);
    events_.Push(Event{.type = EventType::WindowChanged, .window = &window});
}

void HeadlessDriver::ShowDisplayWindow(Window* window, bool visible)
{
    if (Owns(window))
        window->desc.visible = visible;
}

void HeadlessDriver::MinimizeDisplayWindow(Window* window, bool minimized)
{
    if (Owns(window))
        window->minimized = minimized;
}

void HeadlessDriver::SetDisplayWindowTopmost(Window* window, bool topmost)
{
    if (Owns(window))
        window->topmost = topmost;
}

void HeadlessDriver::SetDisplayWindowTitle(Window* window, const std::string& title)
{
    if (Owns(window))
        window->desc.title = title;
}

void HeadlessDriver::SetDisplayWindowIcon(Window* window, const Image& icon)
{
    if (Owns(window))
        window->icon = icon;
}

// No window manager frames the windows here.
void HeadlessDriver::SetDisplayWindowOwner(Window*, Window*)
{
}

bool HeadlessDriver::EnterFullScreen(Window* window, const Mode& mode)
{
    if (!Owns(window))
        return false;
    auto offered = std::find_if(modes_.begin(), modes_.end(), [&](const Mode& m) {
        return m.width == mode.width && m.height == mode.height &&
               (mode.refreshRate == 0 || m.refreshRate == mode.refreshRate);
    });
    if (offered == modes_.end())
        return false;
    if (fullScreenWindow_ && fullScreenWindow_ != window)
        LeaveFullScreen(fullScreenWindow_);
    if (!window->fullScreen)
        window->windowedRect = SurfaceOf(window->desc);
    fullScreenWindow_ = window;
    fullScreenMode_ = *offered;
    window->fullScreen = true;
    // Like a real display, the surface covers the screen and the change is reported late.
    MoveSurface(*window, Rect{0, 0, offered->width, offered->height});
    return true;
}

void HeadlessDriver::LeaveFullScreen(Window* window)
{
    if (!Owns(window) || !window->fullScreen)
        return;
    window->fullScreen = false;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    MoveSurface(*window, window->windowedRect);
}

void HeadlessDriver::InjectEvent(const Event& event)
{
    events_.Push(event);
}

GLContext* HeadlessDriver::CreateGLContext(Window*)
{
    EGLContext egl = egl_.CreateContext();
    if (egl == EGL_NO_CONTEXT)
        return nullptr;
    return contexts_.Add(std::make_unique<GLContext>(GLContext{egl}));
}

void HeadlessDriver::DestroyGLContext(GLContext* context)
{
    if (!contexts_.Owns(context))
        return;
    egl_.DestroyContext(context->egl);
    contexts_.Remove(context);
}

bool HeadlessDriver::MakeCurrent(GLContext* context)
{
    return egl_.MakeCurrent(context ? context->egl : EGL_NO_CONTEXT);
}

template <class Action>
bool HeadlessDriver::WithRootContext(shared::GLProfile profile, Action action)
{
    EGLContext previous = egl_.Current();
    if (egl_.Root(profile) == EGL_NO_CONTEXT || !egl_.MakeCurrent(egl_.Root(profile)))
        return false;
    action();
    egl_.MakeCurrent(previous);
    return true;
}

bool HeadlessDriver::PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    if (!Owns(window) || width == 0 || height == 0)
        return false;
    window->shownCurrent = false;
    if (composeInDevice_) {
        window->ownFrame.resize(std::size_t{width} * height);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ROW_LENGTH, 0);
        shared::ReadBgraPixels(0, 0, GLsizei(width), GLsizei(height), window->ownFrame.data());
        window->ownFrameWidth = width;
        window->ownFrameHeight = height;
        LeaveCompositorState();
        return glGetError() == GL_NO_ERROR;
    }
    // A frame kept from a context of the other profile is in the other share group: let it go.
    shared::GLProfile profile = egl_.ProfileOf(egl_.Current());
    if (profile != window->frameProfile && !window->frame.Empty()) {
        WithRootContext(window->frameProfile, [&] { window->frame.Release(); });
    }
    window->frameProfile = profile;
    return window->frame.Keep(framebuffer, width, height);
}

void HeadlessDriver::SetFrameArea(Window* window, const Rect& area)
{
    if (!Owns(window))
        return;
    window->frameArea = area;
    window->shownCurrent = false;
}

bool HeadlessDriver::SetLayer(Window* window, int layer, int x, int y, const Image& image)
{
    if (!Owns(window) || image.pixels.size() != std::size_t{image.width} * image.height)
        return false;
    window->layers[layer] = Layer{x, y, image};
    window->shownCurrent = false;
    return true;
}

void HeadlessDriver::RemoveLayer(Window* window, int layer)
{
    if (Owns(window) && window->layers.erase(layer) > 0)
        window->shownCurrent = false;
}

bool HeadlessDriver::Recompose(Window& window)
{
    Frame frame;
    if (!window.ownFrame.empty()) {
        frame = Frame{&window.ownFrame, window.ownFrameWidth, window.ownFrameHeight};
    } else if (!window.frame.Empty()) {
        bool read = false;
        WithRootContext(window.frameProfile, [&] {
            GLuint& readFramebuffer = readFramebuffers_[int(window.frameProfile)];
            if (readFramebuffer == 0)
                glGenFramebuffers(1, &readFramebuffer);
            read = window.frame.Read(readFramebuffer, frameBuffer_);
        });
        if (!read)
            return false;
        frame = Frame{&frameBuffer_, window.frame.Width(), window.frame.Height()};
    }
    Image& shown = window.shown;
    shown.width = window.desc.width;
    shown.height = window.desc.height;
    shown.pixels.resize(std::size_t{shown.width} * shown.height);
    Rect area = window.frameArea.value_or(Rect{0, 0, shown.width, shown.height});
    Compose(frame, area, window.layers, shown);
    window.shownCurrent = true;
    return true;
}

bool HeadlessDriver::ReadWindowImage(Window* window, Image& image)
{
    if (!Owns(window) || (!window->shownCurrent && !Recompose(*window)))
        return false;
    image = window->shown;
    return true;
}

bool HeadlessDriver::WriteWindowPng(Window* window, const std::string& path)
{
    Image image;
    return ReadWindowImage(window, image) && shared::WritePng(image, path);
}

}  // namespace headless
}  // namespace quorvane::display

#include "display/headless/headless_driver.h"

#include <epoxy/gl.h>

#include <algorithm>

#include "display/headless/png_writer.h"

namespace quorvane::display {

Driver& CurrentDriver()
{
    static headless::HeadlessDriver driver;
    return driver;
}

namespace headless {

namespace {

constexpr std::uint32_t opaqueBlack = 0xFF000000u;

void ResizeImage(Image& image, std::uint32_t width, std::uint32_t height)
{
    if (image.width == width && image.height == height)
        return;
    image.width = width;
    image.height = height;
    image.pixels.assign(size_t{width} * height, opaqueBlack);
}

// Nearest-pixel stretch of a source picture over the whole destination image.
void StretchInto(const std::vector<std::uint32_t>& source, std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                 Image& destination)
{
    for (std::uint32_t y = 0; y < destination.height; ++y) {
        std::uint32_t sy = static_cast<std::uint32_t>(std::uint64_t{y} * sourceHeight / destination.height);
        for (std::uint32_t x = 0; x < destination.width; ++x) {
            std::uint32_t sx = static_cast<std::uint32_t>(std::uint64_t{x} * sourceWidth / destination.width);
            destination.pixels[size_t{y} * destination.width + x] = source[size_t{sy} * sourceWidth + sx];
        }
    }
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
}

Mode HeadlessDriver::CurrentMode()
{
    return fullScreenWindow_ ? fullScreenMode_ : desktop_;
}

bool HeadlessDriver::ConfigureModes(const std::vector<Mode>& modes, const Mode& desktop)
{
    modes_ = modes;
    desktop_ = desktop;
    return true;
}

bool HeadlessDriver::Owns(const Window* window) const
{
    return window && std::any_of(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == window; });
}

Window* HeadlessDriver::CreateDisplayWindow(const WindowDesc& desc)
{
    auto window = std::make_unique<Window>();
    window->desc = desc;
    ResizeImage(window->image, desc.width, desc.height);
    windows_.push_back(std::move(window));
    return windows_.back().get();
}

void HeadlessDriver::DestroyDisplayWindow(Window* window)
{
    if (!Owns(window))
        return;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    std::erase_if(windows_, [&](auto& w) { return w.get() == window; });
}

void HeadlessDriver::SetDisplayWindowRect(Window* window, int x, int y, std::uint32_t width, std::uint32_t height)
{
    if (!Owns(window))
        return;
    window->desc.x = x;
    window->desc.y = y;
    window->desc.width = width;
    window->desc.height = height;
    ResizeImage(window->image, width, height);
}

void HeadlessDriver::ShowDisplayWindow(Window* window, bool visible)
{
    if (Owns(window))
        window->desc.visible = visible;
}

void HeadlessDriver::SetDisplayWindowTitle(Window* window, const std::string& title)
{
    if (Owns(window))
        window->desc.title = title;
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
        fullScreenWindow_->fullScreen = false;
    fullScreenWindow_ = window;
    fullScreenMode_ = *offered;
    // The window keeps its rectangle: user32 sizes it (the program does so before the
    // device goes full screen), and Present stretches the back buffer over it.
    window->fullScreen = true;
    return true;
}

void HeadlessDriver::LeaveFullScreen(Window* window)
{
    if (!Owns(window) || !window->fullScreen)
        return;
    window->fullScreen = false;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
}

GLContext* HeadlessDriver::CreateGLContext(Window*)
{
    EGLContext egl = egl_.CreateContext();
    if (egl == EGL_NO_CONTEXT)
        return nullptr;
    contexts_.push_back(std::make_unique<GLContext>(GLContext{egl}));
    return contexts_.back().get();
}

void HeadlessDriver::DestroyGLContext(GLContext* context)
{
    auto found = std::find_if(contexts_.begin(), contexts_.end(), [&](auto& c) { return c.get() == context; });
    if (found == contexts_.end())
        return;
    egl_.DestroyContext(context->egl);
    contexts_.erase(found);
}

bool HeadlessDriver::MakeCurrent(GLContext* context)
{
    return egl_.MakeCurrent(context ? context->egl : EGL_NO_CONTEXT);
}

bool HeadlessDriver::PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    if (!Owns(window) || width == 0 || height == 0)
        return false;
    Image& image = window->image;
    if (image.width == 0 || image.height == 0)
        return true;  // nothing of the window is visible
    bool direct = image.width == width && image.height == height;
    std::uint32_t* target = image.pixels.data();
    if (!direct) {
        readBuffer_.resize(size_t{width} * height);
        target = readBuffer_.data();
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height), GL_BGRA, GL_UNSIGNED_BYTE, target);
    if (!direct)
        StretchInto(readBuffer_, width, height, image);
    return true;
}

bool HeadlessDriver::ReadWindowImage(Window* window, Image& image)
{
    if (!Owns(window))
        return false;
    image = window->image;
    return true;
}

bool HeadlessDriver::WriteWindowPng(Window* window, const std::string& path)
{
    return Owns(window) && WritePng(window->image, path);
}

}  // namespace headless
}  // namespace quorvane::display

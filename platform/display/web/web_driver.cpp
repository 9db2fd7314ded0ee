// The browser display's windows, modes, WebGL context and composition.
#include "display/web/web_driver.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>

#include "display/shared/gl_pixels.h"
#include "display/shared/gl_profile.h"
#include "display/shared/png_writer.h"
#include "display/web/gl_state.h"

namespace quorvane::display {

namespace {

constexpr const char* canvas = "#canvas";
// The browser does not say how often the screen refreshes; the mode offers the usual rate.
constexpr std::uint32_t screenRefreshRate = 60;

// Never destroyed: the program's static objects release their devices and windows at exit.
web::WebDriver& TheDriver()
{
    static auto* driver = new web::WebDriver;
    return *driver;
}

}  // namespace

Driver& CurrentDriver()
{
    return TheDriver();
}

namespace web {

namespace {

// The page's scripts are JavaScript, which the C++ formatter would break.
// clang-format off
// What the browser offers instead of WebGL 2, for the message that says why the viewer cannot
// start.
EM_JS(int, OffersWebGl1, (), {
    try {
        return document.createElement('canvas').getContext('webgl') ? 1 : 0;
    } catch (e) {
        return 0;
    }
});

EM_JS(int, ScreenWidth, (), { return screen.width | 0; });
EM_JS(int, ScreenHeight, (), { return screen.height | 0; });

EM_JS(void, SetDocumentTitle, (const char* title), { document.title = UTF8ToString(title); });

// The page's icon from 0xAARRGGBB pixels (B, G, R, A bytes), as a PNG data URL.
EM_JS(void, SetPageIcon, (const unsigned char* pixels, int width, int height), {
    var links = document.querySelectorAll('link[rel="icon"]');
    for (var i = 0; i < links.length; ++i)
        links[i].remove();
    if (width <= 0 || height <= 0)
        return;
    var picture = document.createElement('canvas');
    picture.width = width;
    picture.height = height;
    var context = picture.getContext('2d');
    var image = context.createImageData(width, height);
    for (var p = 0; p < width * height * 4; p += 4) {
        image.data[p] = HEAPU8[pixels + p + 2];
        image.data[p + 1] = HEAPU8[pixels + p + 1];
        image.data[p + 2] = HEAPU8[pixels + p];
        image.data[p + 3] = HEAPU8[pixels + p + 3];
    }
    context.putImageData(image, 0, 0);
    var link = document.createElement('link');
    link.rel = 'icon';
    link.href = picture.toDataURL('image/png');
    document.head.appendChild(link);
});

// The browser's full screen of the canvas. It needs the user's recent gesture, which the key
// press or click that asked for it is while the browser counts it as recent; when it has stopped
// counting, the request is made again at the next press or click.
EM_JS(void, RequestCanvasFullScreen, (), {
    var canvas = document.getElementById('canvas');
    if (!canvas || document.fullscreenElement == canvas)
        return;
    var request = function()
    {
        return canvas.requestFullscreen({navigationUI : 'hide'});
    };
    request().catch(function() {
        var again = function()
        {
            document.removeEventListener('keydown', again, true);
            document.removeEventListener('mouseup', again, true);
            if (Module.quorvaneWantsFullScreen)
                request().catch(function(e) { console.warn('quorvane: no full screen: ' + e); });
        };
        document.addEventListener('keydown', again, true);
        document.addEventListener('mouseup', again, true);
    });
});

EM_JS(void, WantFullScreen, (int wanted), { Module.quorvaneWantsFullScreen = wanted != 0; });

// What the page tells whoever drives it (window.quorvane): the frames the page's window has
// presented, when the first and the last came (performance.now()), and where its client area is
// in the page's CSS pixels.
EM_JS(void, NotePageFrame, (), {
    var q = window.quorvane = window.quorvane || {};
    var now = performance.now();
    q.frames = (q.frames || 0) + 1;
    if (q.firstFrameAt === undefined)
        q.firstFrameAt = now;
    q.lastFrameAt = now;
});

EM_JS(void, NotePageClientArea, (double x, double y, int width, int height), {
    var q = window.quorvane = window.quorvane || {};
    q.clientArea = {x : x, y : y, width : width, height : height};
});

EM_JS(void, ExitCanvasFullScreen, (), {
    if (document.fullscreenElement)
        document.exitFullscreen().catch(function(){});
});

// clang-format on

}  // namespace

bool WebDriver::Context()
{
    if (webgl_ != 0)
        return true;
    if (contextFailed_)
        return false;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    // Kept between compositions, so that a picture read back is the one shown.
    attributes.preserveDrawingBuffer = EM_TRUE;
    webgl_ = emscripten_webgl_create_context(canvas, &attributes);
    if (webgl_ <= 0) {
        webgl_ = 0;
        contextFailed_ = true;
        shared::ReportMissingGL("no WebGL 2 context: the viewer needs WebGL 2 (" +
                                std::string(shared::ProfileName(shared::GLProfile::es3)) +
                                "), and this browser offers " + (OffersWebGl1() ? "WebGL 1 only" : "no WebGL at all"));
        return false;
    }
    emscripten_webgl_make_context_current(webgl_);
    return true;
}

template <class Action>
bool WebDriver::InContext(Action action)
{
    if (!Context())
        return false;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE previous = emscripten_webgl_get_current_context();
    emscripten_webgl_make_context_current(webgl_);
    {
        SavedGlState saved;
        action();
    }
    if (previous != webgl_)
        emscripten_webgl_make_context_current(previous);
    return true;
}

void WebDriver::FollowCanvas()
{
    started_ = true;
    double width = 0, height = 0;
    emscripten_get_element_css_size(canvas, &width, &height);
    const double ratio = emscripten_get_device_pixel_ratio();
    const shared::ScreenScale scale(float(ratio > 0 ? ratio : 1));
    double left = EM_ASM_DOUBLE({
        var c = document.getElementById('canvas');
        return c ? c.getBoundingClientRect().left : 0;
    });
    double top = EM_ASM_DOUBLE({
        var c = document.getElementById('canvas');
        return c ? c.getBoundingClientRect().top : 0;
    });
    canvasLeft_ = left;
    canvasTop_ = top;
    const bool rescaled = scale.Factor() != scale_.Factor();
    if (width == canvasWidth_ && height == canvasHeight_ && !rescaled)
        return;
    canvasWidth_ = width;
    canvasHeight_ = height;
    scale_ = scale;
    emscripten_set_canvas_element_size(canvas, std::max(1, scale_.ToScreen(int(std::lround(width)))),
                                       std::max(1, scale_.ToScreen(int(std::lround(height)))));
    for (Window* window : stacking_) {
        const bool moved = window->fillsPage && window->rect != PageRect();
        if (moved)
            window->rect = PageRect();
        if (moved || rescaled)
            events_.Push(Event{.type = EventType::WindowChanged, .window = window});
    }
    ComposeCanvas();
}

Rect WebDriver::PageRect() const
{
    return Rect{0, 0, std::uint32_t(std::lround(canvasWidth_)), std::uint32_t(std::lround(canvasHeight_))};
}

std::vector<Mode> WebDriver::Modes()
{
    return {
        Mode{std::uint32_t(std::max(ScreenWidth(), 1)), std::uint32_t(std::max(ScreenHeight(), 1)), screenRefreshRate}};
}

// The desktop is the screen the browser is on, as a desktop's is: the page's window is a window on
// it, and full screen at the desktop's size is the browser's full screen at the screen's size.
Mode WebDriver::DesktopMode()
{
    return Modes().front();
}

Mode WebDriver::CurrentMode()
{
    return fullScreenWindow_ ? fullScreenMode_ : DesktopMode();
}

Window* WebDriver::CreateDisplayWindow(const WindowDesc& desc)
{
    if (!started_)
        FollowCanvas();
    auto made = std::make_unique<Window>();
    made->rect = Rect{desc.x, desc.y, desc.width, desc.height};
    made->visible = desc.visible;
    // The first window is the program's main one: it is the page.
    made->fillsPage = windows_.begin() == windows_.end();
    if (made->fillsPage) {
        made->rect = PageRect();
        SetDocumentTitle(desc.title.c_str());
    }
    Window* window = windows_.Add(std::move(made));
    stacking_.push_back(window);
    if (window->fillsPage && window->rect != Rect{desc.x, desc.y, desc.width, desc.height})
        events_.Push(Event{.type = EventType::WindowChanged, .window = window});
    if (window->visible)
        ComposeCanvas();
    return window;
}

void WebDriver::DestroyDisplayWindow(Window* window)
{
    if (!Owns(window))
        return;
    if (fullScreenWindow_ == window)
        LeaveFullScreen(window);
    if (capture_ == window)
        capture_ = nullptr;
    InContext([&] {
        window->frame.Release();
        for (auto& [order, layer] : window->layers)
            shared::Compositor::Delete(layer.image);
    });
    for (auto& other : windows_) {
        if (other->owner == window)
            other->owner = nullptr;
    }
    std::erase(stacking_, window);
    events_.Forget(window);
    const bool wasShown = window->visible;
    windows_.Remove(window);
    if (wasShown)
        ComposeCanvas();
}

// The page window stays the page: asked elsewhere, it says where it still is.
void WebDriver::SetDisplayWindowRect(Window* window, const Rect& rect)
{
    if (!Owns(window) || window->rect == rect)
        return;
    if (window->fillsPage) {
        events_.Push(Event{.type = EventType::WindowChanged, .window = window});
        return;
    }
    window->rect = rect;
    if (window->visible)
        ComposeCanvas();
}

Rect WebDriver::DisplayWindowRect(Window* window)
{
    return Owns(window) ? window->rect : Rect{};
}

void WebDriver::ShowDisplayWindow(Window* window, bool visible)
{
    if (!Owns(window) || window->visible == visible)
        return;
    window->visible = visible;
    if (visible)
        Raise(window);
    ComposeCanvas();
}

// There is no task bar to minimise to, nor a way back from one: the window stays shown, and says
// at once that it is back, so that the program does not wait for a restore that cannot come.
void WebDriver::MinimizeDisplayWindow(Window* window, bool minimized)
{
    if (Owns(window) && minimized)
        events_.Push(Event{.type = EventType::Restored, .window = window});
}

// Nothing else is on this desktop to stay above.
void WebDriver::SetDisplayWindowTopmost(Window*, bool)
{
}

void WebDriver::SetDisplayWindowTitle(Window* window, const std::string& title)
{
    if (Owns(window) && window->fillsPage)
        SetDocumentTitle(title.c_str());
}

void WebDriver::SetDisplayWindowIcon(Window* window, const Image& icon)
{
    if (!Owns(window) || !window->fillsPage || icon.pixels.size() != std::size_t{icon.width} * icon.height)
        return;
    SetPageIcon(reinterpret_cast<const unsigned char*>(icon.pixels.data()), int(icon.width), int(icon.height));
}

void WebDriver::SetDisplayWindowOwner(Window* window, Window* owner)
{
    if (!Owns(window) || (owner && !Owns(owner)) || owner == window)
        return;
    window->owner = owner;
    if (owner)
        Raise(owner);
    ComposeCanvas();
}

void WebDriver::Raise(Window* window)
{
    std::erase(stacking_, window);
    stacking_.push_back(window);
    for (Window* owned : std::vector<Window*>(stacking_)) {
        if (owned->owner == window)
            Raise(owned);
    }
}

// Full screen is the browser's, of the canvas, at the screen's size: the page window follows the
// canvas there and back as it follows any other change of its size.
bool WebDriver::EnterFullScreen(Window* window, const Mode& mode)
{
    if (!Owns(window) || !window->fillsPage)
        return false;
    const std::vector<Mode> modes = Modes();
    auto offered = std::find_if(modes.begin(), modes.end(), [&](const Mode& m) {
        return m.width == mode.width && m.height == mode.height &&
               (mode.refreshRate == 0 || m.refreshRate == mode.refreshRate);
    });
    if (offered == modes.end())
        return false;
    fullScreenWindow_ = window;
    fullScreenMode_ = *offered;
    WantFullScreen(1);
    RequestCanvasFullScreen();
    return true;
}

void WebDriver::LeaveFullScreen(Window* window)
{
    if (!Owns(window) || fullScreenWindow_ != window)
        return;
    fullScreenWindow_ = nullptr;
    WantFullScreen(0);
    ExitCanvasFullScreen();
}

GLContext* WebDriver::CreateGLContext(Window*)
{
    if (!Context())
        return nullptr;
    return contexts_.Add(std::make_unique<GLContext>(GLContext{webgl_}));
}

void WebDriver::DestroyGLContext(GLContext* context)
{
    contexts_.Remove(context);
}

bool WebDriver::MakeCurrent(GLContext* context)
{
    if (context && !contexts_.Owns(context))
        return false;
    return emscripten_webgl_make_context_current(context ? context->webgl : 0) == EMSCRIPTEN_RESULT_SUCCESS;
}

bool WebDriver::PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    if (!Owns(window) || width == 0 || height == 0)
        return false;
    bool kept = false;
    InContext([&] { kept = window->frame.Keep(framebuffer, width, height); });
    if (kept)
        ComposeCanvas();
    if (kept && window->fillsPage)
        NotePageFrame();
    return kept;
}

void WebDriver::SetFrameArea(Window* window, const Rect& area)
{
    if (!Owns(window) || window->frameArea == area)
        return;
    window->frameArea = area;
    if (window->fillsPage)
        NotePageClientArea(canvasLeft_ + area.x, canvasTop_ + area.y, int(area.width), int(area.height));
    ComposeCanvas();
}

float WebDriver::SurfaceScale(Window*)
{
    if (!started_)
        FollowCanvas();
    return scale_.Factor();
}

bool WebDriver::SetLayer(Window* window, int layer, int x, int y, const Image& image)
{
    if (!Owns(window) || image.pixels.size() != std::size_t{image.width} * image.height)
        return false;
    shared::LayerTexture& shown = window->layers[layer];
    shown.x = x;
    shown.y = y;
    if (!InContext([&] { shared::Compositor::Upload(image, shown.image); }))
        return false;
    ComposeCanvas();
    return true;
}

void WebDriver::RemoveLayer(Window* window, int layer)
{
    if (!Owns(window))
        return;
    auto found = window->layers.find(layer);
    if (found == window->layers.end())
        return;
    InContext([&] { shared::Compositor::Delete(found->second.image); });
    window->layers.erase(found);
    ComposeCanvas();
}

bool WebDriver::ComposeWindow(const Window& window, GLuint target, std::uint32_t targetWidth,
                              std::uint32_t targetHeight, const Rect& place)
{
    shared::Texture frame{window.frame.Texture(), window.frame.Width(), window.frame.Height()};
    Rect area = window.frameArea ? scale_.ToScreen(*window.frameArea) : Rect{0, 0, place.width, place.height};
    return compositor_.ComposeAt(target, targetWidth, targetHeight, place, frame, area, window.layers, scale_);
}

// No window manager frames a dialog here: a thin grey line around it sets it apart from the
// page under it.
void WebDriver::DrawFrameLine(const Rect& place, int canvasHeight)
{
    const int line = std::max(1, scale_.ToScreen(1));
    glEnable(GL_SCISSOR_TEST);
    glScissor(place.x - line, canvasHeight - place.y - int(place.height) - line, int(place.width) + 2 * line,
              int(place.height) + 2 * line);
    glClearColor(0.5f, 0.5f, 0.5f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

void WebDriver::ComposeCanvas()
{
    InContext([&] {
        int width = 0, height = 0;
        emscripten_webgl_get_drawing_buffer_size(webgl_, &width, &height);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDisable(GL_SCISSOR_TEST);
        glViewport(0, 0, width, height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        for (const Window* window : stacking_) {
            if (!window->visible)
                continue;
            const Rect place = scale_.ToScreen(window->rect);
            if (!window->fillsPage)
                DrawFrameLine(place, height);
            ComposeWindow(*window, 0, std::uint32_t(width), std::uint32_t(height), place);
        }
    });
}

bool WebDriver::ReadWindowImage(Window* window, Image& image)
{
    if (!Owns(window))
        return false;
    bool read = false;
    InContext([&] {
        const Rect size = scale_.ToScreen(Rect{0, 0, window->rect.width, window->rect.height});
        const std::uint32_t w = std::max(size.width, 1u), h = std::max(size.height, 1u);
        GLuint framebuffer = 0, colour = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(w), GLsizei(h));
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        if (ComposeWindow(*window, framebuffer, w, h, Rect{0, 0, w, h})) {
            glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
            read = shared::ReadImageTopRowFirst(w, h, image);
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glDeleteRenderbuffers(1, &colour);
        glDeleteFramebuffers(1, &framebuffer);
    });
    return read;
}

bool WebDriver::WriteWindowPng(Window* window, const std::string& path)
{
    Image image;
    return ReadWindowImage(window, image) && shared::WritePng(image, path);
}

}  // namespace web
}  // namespace quorvane::display

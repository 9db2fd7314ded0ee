// The browser display: every window is drawn into one canvas (#canvas) through one WebGL 2
// context, input comes from the page's DOM events (<emscripten/html5.h>), and the one blocking
// wait of the program yields to the browser until an event or its timeout comes (Asyncify).
//
// The desktop is the screen (its one display mode); the page's window is the canvas: its CSS size
// in the program's pixels, its drawing buffer that times the device pixel ratio, which is the
// surface scale (as a desktop scaled for a high-density screen). The first window made fills the
// page and follows the canvas's size.
// Windows are kept in the order they are stacked; after each change the visible ones are
// composed bottom to top into the canvas's drawing buffer, which the browser keeps
// (preserveDrawingBuffer) and shows when the program next yields to it. The composition runs in
// the context the devices draw with, so the state it changes is saved and put back around it.
//
// What a browser cannot honour is done as near as it can be: there is no window manager (a
// minimised window stays and is restored at once, topmost is the stacking's own, an owner only
// keeps its dialogs above it), the only display mode is the screen's size, and full screen is the
// browser's full screen of the canvas.
#pragma once

#include <emscripten/html5.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "display/display.h"
#include "display/shared/compositor.h"
#include "display/shared/event_queue.h"
#include "display/shared/handed_out.h"
#include "display/shared/kept_frame.h"
#include "display/shared/screen_scale.h"

namespace quorvane::display {

struct Window {
    Rect rect;  // the surface on the desktop, in the program's pixels
    bool visible = false;
    bool fillsPage = false;
    Window* owner = nullptr;
    std::optional<Rect> frameArea;
    shared::KeptFrame frame;
    std::map<int, shared::LayerTexture> layers;
};

struct GLContext {
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl = 0;
};

namespace web {

class WebDriver final : public Driver {
public:
    WebDriver();

    const char* Name() const override { return "web"; }

    std::vector<Mode> Modes() override;
    Mode DesktopMode() override;
    Mode CurrentMode() override;

    Window* CreateDisplayWindow(const WindowDesc& desc) override;
    void DestroyDisplayWindow(Window* window) override;
    void SetDisplayWindowRect(Window* window, const Rect& rect) override;
    Rect DisplayWindowRect(Window* window) override;
    void ShowDisplayWindow(Window* window, bool visible) override;
    void MinimizeDisplayWindow(Window* window, bool minimized) override;
    void SetDisplayWindowTopmost(Window* window, bool topmost) override;
    void SetDisplayWindowTitle(Window* window, const std::string& title) override;
    void SetDisplayWindowIcon(Window* window, const Image& icon) override;
    void SetDisplayWindowOwner(Window* window, Window* owner) override;
    bool EnterFullScreen(Window* window, const Mode& mode) override;
    void LeaveFullScreen(Window* window) override;

    bool PollEvent(Event& event) override;
    bool WaitEvent(Event& event, int timeoutMs) override;
    void CaptureMouse(Window* window) override;

    GLContext* CreateGLContext(Window* window) override;
    void DestroyGLContext(GLContext* context) override;
    bool MakeCurrent(GLContext* context) override;

    bool PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height) override;
    void SetFrameArea(Window* window, const Rect& area) override;
    float SurfaceScale(Window* window) override;
    bool SetLayer(Window* window, int layer, int x, int y, const Image& image) override;
    void RemoveLayer(Window* window, int layer) override;

    bool ReadWindowImage(Window* window, Image& image) override;
    bool WriteWindowPng(Window* window, const std::string& path) override;

    // From the page's event callbacks (web_events.cpp).
    void OnMouseButton(const EmscriptenMouseEvent& mouse, bool down);
    void OnMouseMove(const EmscriptenMouseEvent& mouse);
    void OnWheel(const EmscriptenWheelEvent& wheel);
    bool OnKey(const EmscriptenKeyboardEvent& key, bool down);
    void OnBlur();

private:
    bool Owns(const Window* window) const { return windows_.Owns(window); }

    // The WebGL 2 context, made on first need; false (said once) when the browser has none.
    bool Context();
    // Runs `action` with the context current and the state the devices rely on put back after.
    template <class Action>
    bool InContext(Action action);

    // The canvas: its CSS size and the device pixel ratio, read again when the page has said
    // that either changed; the drawing buffer is sized to match and the page window follows.
    void FollowCanvas();
    Rect PageRect() const;
    // Composes every visible window into the canvas.
    void ComposeCanvas();
    void DrawFrameLine(const Rect& place, int canvasHeight);
    bool ComposeWindow(const Window& window, GLuint target, std::uint32_t targetWidth, std::uint32_t targetHeight,
                       const Rect& place);

    // Stacking: `window` to the top, with the windows it owns above it.
    void Raise(Window* window);
    // The topmost visible window at a point of the canvas (the program's pixels), or null.
    Window* WindowAt(int x, int y) const;
    Window* KeyboardWindow() const;
    // Where a point of the canvas is in `window`'s surface.
    Event MouseEvent(EventType type, const EmscriptenMouseEvent& mouse);

    // Takes what the page reported while the program was busy (size, full screen).
    void Pump();

    bool started_ = false;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE webgl_ = 0;
    bool contextFailed_ = false;
    shared::Compositor compositor_;
    shared::ScreenScale scale_;
    double canvasWidth_ = 0;  // CSS pixels
    double canvasHeight_ = 0;
    double canvasLeft_ = 0;  // the canvas in the page's viewport
    double canvasTop_ = 0;
    Window* fullScreenWindow_ = nullptr;
    Mode fullScreenMode_;
    shared::HandedOut<Window> windows_;
    shared::HandedOut<GLContext> contexts_;
    std::vector<Window*> stacking_;  // bottom to top
    Window* capture_ = nullptr;
    std::set<KeyCode> keysHeld_;
    std::set<MouseButton> buttonsHeld_;
    std::uint32_t modifiersHeld_ = 0;
    shared::EventQueue events_;
};

}  // namespace web
}  // namespace quorvane::display

// The headless display: windows are surfaces in memory, GL contexts are EGL surfaceless ones,
// presenting keeps a device's frame in a shared texture, and input is whatever tests inject.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "display/display.h"
#include "display/headless/composition.h"
#include "display/headless/egl_surfaceless.h"
#include "display/shared/event_queue.h"
#include "display/shared/handed_out.h"
#include "display/shared/kept_frame.h"
#include "display/simulated_display.h"

namespace quorvane::display {

struct Window {
    WindowDesc desc;  // x, y, width and height: the surface on the desktop
    std::optional<Rect> frameArea;
    bool fullScreen = false;
    Rect windowedRect;  // where the surface was before full screen
    bool minimized = false;
    bool topmost = false;
    Image icon;
    shared::KeptFrame frame;
    shared::GLProfile frameProfile = shared::GLProfile::desktop33;  // whose share group holds it
    // The frame read at once in the presenting context, when the display composes there.
    std::vector<std::uint32_t> ownFrame;
    std::uint32_t ownFrameWidth = 0, ownFrameHeight = 0;
    std::map<int, headless::Layer> layers;
    Image shown;  // the composition, made when asked for and kept until something changes
    bool shownCurrent = false;
};

struct GLContext {
    EGLContext egl = EGL_NO_CONTEXT;
};

namespace headless {

class HeadlessDriver final : public Driver, public SimulatedDisplay {
public:
    HeadlessDriver();

    const char* Name() const override { return "headless"; }

    std::vector<Mode> Modes() override { return modes_; }
    Mode DesktopMode() override { return desktop_; }
    Mode CurrentMode() override;
    void ConfigureModes(const std::vector<Mode>& modes, const Mode& desktop) override;

    Window* CreateDisplayWindow(const WindowDesc& desc) override;
    void RefuseWindows(bool refused) override;
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

    bool PollEvent(Event& event) override { return events_.Poll(event); }
    bool WaitEvent(Event& event, int timeoutMs) override { return events_.Wait(event, timeoutMs); }
    void InjectEvent(const Event& event) override;
    // Injected events already go where the test sends them, captured or not.
    void CaptureMouse(Window*) override {}

    GLContext* CreateGLContext(Window* window) override;
    void DestroyGLContext(GLContext* context) override;
    bool MakeCurrent(GLContext* context) override;

    bool PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height) override;
    void SetFrameArea(Window* window, const Rect& area) override;
    float SurfaceScale(Window*) override { return 1; }
    bool SetLayer(Window* window, int layer, int x, int y, const Image& image) override;
    void RemoveLayer(Window* window, int layer) override;

    bool ReadWindowImage(Window* window, Image& image) override;
    bool WriteWindowPng(Window* window, const std::string& path) override;

private:
    bool Owns(const Window* window) const;
    // Moves the surface as a window manager would on its own, and says so with an event.
    void MoveSurface(Window& window, const Rect& rect);
    bool Recompose(Window& window);
    // Runs `action` with the profile's root context current, then makes the previous context current.
    template <class Action>
    bool WithRootContext(shared::GLProfile profile, Action action);

    std::vector<Mode> modes_;
    Mode desktop_;
    bool windowsRefused_ = false;
    Window* fullScreenWindow_ = nullptr;
    Mode fullScreenMode_;
    shared::HandedOut<Window> windows_;
    shared::HandedOut<GLContext> contexts_;
    EglSurfaceless egl_;
    shared::EventQueue events_;
    // QUORVANE_HEADLESS_COMPOSE=device: frames are read and composed in the presenting context,
    // as a browser canvas's single context does, and that context is left with the state a
    // compositor sets (headless_driver.cpp), instead of being kept in a shared texture.
    bool composeInDevice_ = false;
    std::vector<std::uint32_t> frameBuffer_;  // the kept frame while composing
    GLuint readFramebuffers_[2] = {0, 0};     // each root context's, for reading kept frames
};

// The modes a fresh headless display offers, and its desktop mode.
std::vector<Mode> DefaultModes();
Mode DefaultDesktopMode();

}  // namespace headless
}  // namespace quorvane::display

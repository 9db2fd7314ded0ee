// The SDL display: real windows on the desktop with the window manager's frame, OpenGL 3.3 core
// contexts from SDL, input and window-manager events from SDL's event queue, the display's
// modes and exclusive full screen.
//
// A display window is an SDL window whose drawable is the surface (menu bar and client area);
// the window manager draws the border and the caption around it. What it shows is composed on
// the GPU by the display's own context and swapped onto the screen: a presented frame at once;
// any other change (a layer, the frame area, a place, an exposure) when the program next takes
// events, so that a burst of changes (leaving full screen restyles, places and resizes the
// window, with a reset between) is composed once, not once per change.
//
// SdlDriver is the display's face; its work is in one file per concern: start-up (sdl_video),
// modes (sdl_modes), windows (sdl_windows), placement negotiated with the window manager
// (sdl_placement, with one WindowPlacement per window), full screen (sdl_full_screen), the event
// pump (sdl_events) and composition (sdl_composition).
#pragma once

#include <SDL.h>

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "display/display.h"
#include "display/sdl/gl_contexts.h"
#include "display/sdl/input_translation.h"
#include "display/sdl/window_placement.h"
#include "display/sdl/x11_colormap.h"
#include "display/shared/compositor.h"
#include "display/shared/event_queue.h"
#include "display/shared/handed_out.h"
#include "display/shared/kept_frame.h"
#include "display/shared/screen_scale.h"

namespace quorvane::display {

namespace sdl {
// The composition on the GPU and the scale between the program's pixels and the screen's are
// the ones every display that composes with OpenGL uses.
using shared::Compositor;
using shared::LayerTexture;
using shared::ScreenScale;
using shared::Texture;
}  // namespace sdl

struct Window {
    explicit Window(const Rect& surface) : placement(surface) {}

    SDL_Window* sdl = nullptr;
    sdl::WindowColormap colormap;  // freed after the SDL window is destroyed
    Uint32 id = 0;
    sdl::ScreenScale scale;          // the desktop's, or 1 while full screen at a mode of the program's
    unsigned long xWindow = 0;       // the X window behind it, 0 when SDL does not run on X11
    sdl::WindowPlacement placement;  // in the program's pixels
    std::optional<Rect> frameArea;
    bool visible = false;
    bool minimized = false;
    bool showDue = false;  // the surface changed since it was last shown
    // Once mapped, the window shows its picture again a few times (see ShowDisplayWindow).
    std::optional<Uint32> showAgainAt;
    Uint32 showAgainDelay = 0;
    shared::KeptFrame frame;
    std::map<int, sdl::LayerTexture> layers;
};

namespace sdl {

// Milliseconds after mapping at which a window shows its picture again: the first time, then
// twice as long after each, up to the last.
constexpr Uint32 firstShowAgain = 100;
constexpr Uint32 lastShowAgain = 800;

class SdlDriver final : public Driver {
public:
    SdlDriver() = default;

    const char* Name() const override { return "sdl"; }

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

private:
    // Start-up (sdl_video.cpp): SDL's video subsystem, started with the first call that needs it;
    // false when there is no display to show windows on (said once on the standard error).
    bool Video();

    // Modes (sdl_modes.cpp). The desktop's mode in the screen's pixels.
    Mode ScreenDesktopMode();
    // The screen mode that shows `mode` full screen, and the window's scale there: the desktop
    // as it is for the program's view of the desktop's size, else an offered mode at scale 1.
    std::optional<SDL_DisplayMode> FullScreenModeFor(const Mode& mode, ScreenScale& scale);
    void NoticeDesktopChange();

    // Windows (sdl_windows.cpp).
    bool Owns(const Window* window) const;
    Window* WindowOfId(Uint32 id) const;
    Window* WindowOfXWindow(unsigned long xWindow) const;

    // Placement negotiated with the window manager (sdl_placement.cpp). Where the surface is:
    // SDL's window in the screen's pixels, and in the program's.
    Rect ScreenRectOf(const Window& window) const;
    Rect ActualRect(const Window& window) const;
    // Whether the SDL window is where the program's placed rectangle puts it on the screen.
    bool IsWherePlaced(const Window& window) const;
    // Move or size the SDL window to where a rectangle of the program's puts it on the screen;
    // true when it was elsewhere.
    bool MoveSdlWindow(Window& window, const Rect& rect);
    bool SizeSdlWindow(Window& window, const Rect& rect);
    // Asks the window manager for the surface at `rect`; its answer comes as events.
    void Request(Window& window, const Rect& rect);
    bool CoversDesktop(const Rect& rect);
    void SendPlace(Window& window);
    void SendPlaces();
    void UndoMaximize(Window& window);
    // The window manager changed the window's state (_NET_WM_STATE).
    void NoticeStateChange(Window& window);
    void SettleGeometry();
    // Milliseconds until the next geometry report or repeated showing is due (-1: none).
    int UntilNextSettleOrShow() const;

    // Full screen (sdl_full_screen.cpp): how the switch was made, No when it failed.
    WindowPlacement::FullScreen SwitchToFullScreen(Window& window, const SDL_DisplayMode& mode);

    // The event pump (sdl_events.cpp): takes what SDL has queued, without waiting, into ready_;
    // then whatever geometry is due.
    void Pump();
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    void TranslateSystemEvent(const SDL_Event& event);
    void NoteButtonTime(Uint32 serverTime);
    bool PressedInWindow(const SDL_KeyboardEvent& event);

    // Composition (sdl_composition.cpp): draws the window's surface into its drawable and shows it.
    bool Show(Window& window);
    // Shows the window when the program next takes events (ShowDue).
    void ShowLater(Window& window);
    void ShowDue();
    // Composes the surface into `target` (0: the window's back buffer) with the root context
    // current; the surface's size in pixels comes back in width and height.
    bool Compose(Window& window, GLuint target, std::uint32_t& width, std::uint32_t& height);

    bool videoFailed_ = false;
    bool videoStarted_ = false;
    ScreenScale desktopScale_;
    GlContexts contexts_;
    Compositor compositor_;
    InputTranslator input_;
    shared::EventQueue ready_;
    std::vector<Event> translated_;
    shared::HandedOut<Window> windows_;
    shared::HandedOut<GLContext> glContexts_;
    Mode desktopSeen_;
    Window* fullScreenWindow_ = nullptr;
    Mode fullScreenMode_;
    // When the X server saw the button event SDL translates next, on SDL's clock: the server's
    // time plus the least lag seen between the two clocks.
    std::optional<Uint32> buttonTime_;
    std::optional<Uint32> serverToTicks_;
    // On X11 the key press SDL translates next came from the server (the system event before it
    // carried it), rather than being made up by SDL for a modifier held as the window gained focus.
    bool serverKeyPress_ = false;
};

}  // namespace sdl
}  // namespace quorvane::display

// What windows are shown on: the interface every display backend implements.
//
// The platform (user32, d3d9) talks to the display only through this interface, as SDL's video
// core talks to its drivers; what only tests ask of a simulated display is apart from it
// (display/simulated_display.h). Exactly one backend library is linked into a program
// (quorvane_display_headless or quorvane_display_sdl); it defines CurrentDriver(). The backends
// know nothing of Win32: windows here are plain rectangles with a picture, input arrives as
// events pulled from the driver, and GL contexts are whatever the backend can make current.
//
// Coordinates are desktop pixels as the program sees them, y down: pixels of 96 DPI. On a
// desktop scaled for a high-density screen the display maps them to the screen's own pixels (the
// window on the screen is that much larger, mouse positions come back in the program's pixels);
// the display modes are the screen's own. A display window shows a window's surface: the part
// of the window inside its border and caption (those are the window manager's, where there is
// one), that is an optional menu bar above the client area. The surface is composed of the
// frame (the last picture presented, stretched over the frame area) and layers drawn over it
// (the menu bar, an open pop-up). Images are 32-bit pixels laid out like D3DFMT_A8R8G8B8 (bytes
// B, G, R, A; as a 32-bit value 0xAARRGGBB), top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/display_events.h"

namespace quorvane::display {

struct Mode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0;  // Hz

    bool operator==(const Mode&) const = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    bool operator==(const Rect&) const = default;
};

struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, top row first
};

struct WindowDesc {
    std::string title;  // UTF-8
    int x = 0;          // the surface on the desktop
    int y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool visible = false;
    bool resizable = true;  // the window manager offers to resize and maximise it
};

// Backend objects, opaque to the platform.
struct Window;
struct GLContext;

class Driver {
public:
    virtual const char* Name() const = 0;

    // Display modes of the one adapter. Modes() lists every mode (several refresh rates per
    // size allowed), in the adapter's order. DesktopMode() is the mode the desktop uses;
    // CurrentMode() is the mode in use now, which differs while a window holds full screen.
    virtual std::vector<Mode> Modes() = 0;
    virtual Mode DesktopMode() = 0;
    virtual Mode CurrentMode() = 0;

    // Windows (named apart from the Win32 functions of the same idea). After
    // DestroyDisplayWindow no event names the window any more: its input still comes, naming no
    // window, so that the buttons and keys it pressed or released are known.
    virtual Window* CreateDisplayWindow(const WindowDesc& desc) = 0;
    virtual void DestroyDisplayWindow(Window* window) = 0;
    // Places the surface. The window manager may change it later on its own; that is reported
    // as a WindowChanged event, and DisplayWindowRect then tells where the surface is.
    virtual void SetDisplayWindowRect(Window* window, const Rect& rect) = 0;
    virtual Rect DisplayWindowRect(Window* window) = 0;
    virtual void ShowDisplayWindow(Window* window, bool visible) = 0;
    virtual void MinimizeDisplayWindow(Window* window, bool minimized) = 0;
    virtual void SetDisplayWindowTopmost(Window* window, bool topmost) = 0;
    virtual void SetDisplayWindowTitle(Window* window, const std::string& title) = 0;
    // The picture the window manager shows for the window (its title bar, the task bar); an
    // empty image takes it away.
    virtual void SetDisplayWindowIcon(Window* window, const Image& icon) = 0;
    // Makes `window` a dialog of `owner` for the window manager: kept above it and framed as
    // its dialog.
    virtual void SetDisplayWindowOwner(Window* window, Window* owner) = 0;
    // Exclusive full screen: the display switches to `mode` (which must be one of Modes(), any
    // refresh rate when mode.refreshRate is 0) and the surface covers the screen. False if the
    // mode is not offered. LeaveFullScreen restores the desktop mode and the surface's place.
    virtual bool EnterFullScreen(Window* window, const Mode& mode) = 0;
    virtual void LeaveFullScreen(Window* window) = 0;

    // Input and window-manager events, pulled by the thread that runs the message loop.
    // PollEvent takes the next event if one is waiting; WaitEvent blocks until one arrives, or
    // until timeoutMs milliseconds have passed (a negative timeout waits without limit), and
    // uses no processor time while it waits.
    virtual bool PollEvent(Event& event) = 0;
    virtual bool WaitEvent(Event& event, int timeoutMs) = 0;
    // While a window holds the mouse, button and motion events keep coming to it when the
    // pointer leaves its surface. Null lets go.
    virtual void CaptureMouse(Window* window) = 0;

    // OpenGL contexts for rendering into a window, of the profile chosen at start-up (OpenGL 3.3
    // core, else OpenGL ES 3.0: gl_profile.h). Null when neither is available. Every
    // context of a driver shares its objects with the others, so a frame kept by the window
    // outlives the context that presented it.
    virtual GLContext* CreateGLContext(Window* window) = 0;
    virtual void DestroyGLContext(GLContext* context) = 0;
    virtual bool MakeCurrent(GLContext* context) = 0;

    // Composition. PresentFramebuffer keeps the colour attachment of `framebuffer` (rows stored
    // top row first, i.e. GL row 0 is the top of the picture) as the window's frame, on the
    // GPU, and shows it stretched over the frame area with the layers over it. The context that
    // owns the framebuffer is current, and stays current afterwards; its bindings and other state
    // may have been changed by the composition (it may run in the same context), so the caller
    // sets what it relies on again before it draws.
    virtual bool PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width,
                                    std::uint32_t height) = 0;
    // Where in the surface the frame goes (the client area); the whole surface until set.
    virtual void SetFrameArea(Window* window, const Rect& area) = 0;
    // Screen pixels per program pixel in the window's surface: the frame is stretched by it,
    // and layers are drawn at that resolution so that they stay sharp. 1 unless the desktop is
    // scaled (and for a window holding full screen at a mode of its own).
    virtual float SurfaceScale(Window* window) = 0;
    // Layers over the frame, drawn in increasing order of `layer`, blended by their alpha, with
    // their top-left corner at (x, y) in surface coordinates; the image is in screen pixels
    // (SurfaceScale times the program's). Setting a layer that exists replaces it; the window
    // shows the change without a new frame.
    virtual bool SetLayer(Window* window, int layer, int x, int y, const Image& image) = 0;
    virtual void RemoveLayer(Window* window, int layer) = 0;

    // The window's surface as it is shown (frame and layers), and a PNG of it for debugging.
    // Only these read pixels back from the GPU.
    virtual bool ReadWindowImage(Window* window, Image& image) = 0;
    virtual bool WriteWindowPng(Window* window, const std::string& path) = 0;

protected:
    ~Driver() = default;
};

// The backend linked into this program.
Driver& CurrentDriver();

}  // namespace quorvane::display

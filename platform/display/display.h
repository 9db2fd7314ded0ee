// What windows are shown on: the interface every display backend implements.
//
// The platform (user32, d3d9) talks to the display only through this interface, as SDL's video
// core talks to its drivers. Exactly one backend library is linked into a program
// (quorvane_display_headless or quorvane_display_sdl); it defines CurrentDriver(). The backends
// know nothing of Win32: windows here are plain rectangles with an image, and GL contexts are
// whatever the backend can make current.
//
// Coordinates are desktop pixels, y down; a window's rectangle is its client area (the part
// Direct3D presents into). Images are 32-bit pixels laid out like D3DFMT_A8R8G8B8 (bytes B, G,
// R, A; as a 32-bit value 0xAARRGGBB), top row first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::display {

struct Mode {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t refreshRate = 0;  // Hz

    bool operator==(const Mode&) const = default;
};

struct Image {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;  // width * height, top row first
};

struct WindowDesc {
    std::string title;  // UTF-8
    int x = 0;
    int y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool visible = false;
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
    // Replaces the mode list and the desktop mode. Only a simulated display can do this (tests,
    // the snapshot tool); a real one answers false and changes nothing.
    virtual bool ConfigureModes(const std::vector<Mode>& modes, const Mode& desktop) = 0;

    // Windows (named apart from the Win32 functions of the same idea).
    virtual Window* CreateDisplayWindow(const WindowDesc& desc) = 0;
    virtual void DestroyDisplayWindow(Window* window) = 0;
    virtual void SetDisplayWindowRect(Window* window, int x, int y, std::uint32_t width, std::uint32_t height) = 0;
    virtual void ShowDisplayWindow(Window* window, bool visible) = 0;
    virtual void SetDisplayWindowTitle(Window* window, const std::string& title) = 0;
    // Exclusive full screen: the display switches to `mode` (which must be one of Modes(), any
    // refresh rate when mode.refreshRate is 0) and the window covers it. False if the mode is
    // not offered. LeaveFullScreen restores the desktop mode.
    virtual bool EnterFullScreen(Window* window, const Mode& mode) = 0;
    virtual void LeaveFullScreen(Window* window) = 0;

    // OpenGL 3.3 core contexts for rendering into a window. Null when GL is unavailable.
    virtual GLContext* CreateGLContext(Window* window) = 0;
    virtual void DestroyGLContext(GLContext* context) = 0;
    virtual bool MakeCurrent(GLContext* context) = 0;
    // Shows the colour attachment of `framebuffer` (rows stored top row first, i.e. GL row 0 is
    // the top of the picture) in the window, stretched to its size. The context that owns the
    // framebuffer is current.
    virtual bool PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width,
                                    std::uint32_t height) = 0;

    // The window's current image (what the last Present showed), and a PNG of it for debugging.
    virtual bool ReadWindowImage(Window* window, Image& image) = 0;
    virtual bool WriteWindowPng(Window* window, const std::string& path) = 0;

protected:
    ~Driver() = default;
};

// The backend linked into this program.
Driver& CurrentDriver();

}  // namespace quorvane::display

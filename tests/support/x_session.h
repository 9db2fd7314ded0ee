// An X server of the test's own (Xvfb on a display number it picks itself) with a window manager
// (openbox, or metacity or mutter, which have rules of their own for full screen), both stopped
// when the session ends, and what a test sees of it from outside:
// the screen's pixels, the top-level windows the window manager manages, their names and
// where they are; and input through xdotool.
#pragma once

#include "child_process.h"
#include "temp_directory.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::tests {

// A rectangle of the screen, in pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ScreenRect&) const = default;
};

// Pixels read from the screen, 0xRRGGBB, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};

// Polls `done` every 10 ms until it holds or `limit` has passed; whether it held.
bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

class XSession {
public:
    // Starts Xvfb with a screen of width x height and the window manager ("openbox", "metacity"
    // or "mutter") on it, or ("mutter-wayland") mutter's headless Wayland session with a screen of
    // that size and its X server (XWayland), where the screen is read from the windows on it; Ready() says whether both run.
    explicit XSession(int width = 1280, int height = 1024, const std::string& windowManager = "openbox");
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool Ready() const { return display_ != nullptr; }
    // Why the session could not start (empty when it did).
    const std::string& Problem() const { return problem_; }
    // ":N", for the DISPLAY of the programs started on it.
    const std::string& DisplayName() const { return name_; }
    int ScreenWidth() const { return width_; }
    int ScreenHeight() const { return height_; }

    Picture Read(const ScreenRect& rect) const;
    std::uint32_t PixelAt(int x, int y) const;

    // The windows the window manager manages (its client list), oldest first.
    std::vector<unsigned long> ClientWindows() const;
    // The managed window of a process with this title (UTF-8), or 0.
    unsigned long FindWindow(int pid, const std::string& title) const;
    std::string Title(unsigned long window) const;
    // The class of a window (the second part of WM_CLASS), which desktops match with the desktop
    // entry's StartupWMClass.
    std::string WindowClass(unsigned long window) const;
    // The items of a 32-bit property of a window (CARDINAL, ATOM, WINDOW); empty when it has none.
    std::vector<unsigned long> Property(unsigned long window, const char* name) const;
    // Where the window's own area (inside the window manager's frame) is on the screen; nothing
    // when the window is gone or not mapped.
    std::optional<ScreenRect> Geometry(unsigned long window) const;
    // Whether the window manager has the window in this state (an atom of _NET_WM_STATE).
    bool HasState(unsigned long window, const char* state) const;
    // The window that has the keyboard focus.
    unsigned long FocusWindow() const;

    // Runs xdotool with these arguments (commands may be chained), at most ten seconds.
    bool Xdotool(const std::vector<std::string>& arguments) const;
    // Moves the pointer to a point and double-clicks the left button there.
    bool DoubleClick(int x, int y) const;
    // Writes the whole screen to a PNG file (ImageMagick's import), for a person to look at.
    bool SaveScreen(const std::string& path) const;

private:
    bool StartServer(int width, int height);
    bool StartWindowManager(const std::string& name);
    bool StartWaylandSession(int width, int height);
    bool Connect();
    // The managed window that shows the screen's point (x, y) in wayland mode, or 0.
    unsigned long WindowAt(int x, int y) const;

    std::unique_ptr<ChildProcess> server_;
    std::unique_ptr<ChildProcess> windowManager_;
    std::unique_ptr<TempDirectory> runtime_;      // the Wayland session's XDG_RUNTIME_DIR
    bool rootless_ = false;                       // the root window shows nothing of the screen
    std::optional<std::string> authorityBefore_;  // the test's XAUTHORITY, put back at the end
    void* display_ = nullptr;                     // Display*
    std::string name_;
    std::string problem_;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace quorvane::tests

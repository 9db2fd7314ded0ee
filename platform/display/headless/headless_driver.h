// The headless display: windows are images in memory, GL contexts are EGL surfaceless ones, and
// presenting copies a device's framebuffer into the window's image.
#pragma once

#include <memory>
#include <vector>

#include "display/display.h"
#include "display/headless/egl_surfaceless.h"

namespace quorvane::display {

struct Window {
    WindowDesc desc;
    Image image;
    bool fullScreen = false;
};

struct GLContext {
    EGLContext egl = EGL_NO_CONTEXT;
};

namespace headless {

class HeadlessDriver final : public Driver {
public:
    HeadlessDriver();

    const char* Name() const override { return "headless"; }

    std::vector<Mode> Modes() override { return modes_; }
    Mode DesktopMode() override { return desktop_; }
    Mode CurrentMode() override;
    bool ConfigureModes(const std::vector<Mode>& modes, const Mode& desktop) override;

    Window* CreateDisplayWindow(const WindowDesc& desc) override;
    void DestroyDisplayWindow(Window* window) override;
    void SetDisplayWindowRect(Window* window, int x, int y, std::uint32_t width, std::uint32_t height) override;
    void ShowDisplayWindow(Window* window, bool visible) override;
    void SetDisplayWindowTitle(Window* window, const std::string& title) override;
    bool EnterFullScreen(Window* window, const Mode& mode) override;
    void LeaveFullScreen(Window* window) override;

    GLContext* CreateGLContext(Window* window) override;
    void DestroyGLContext(GLContext* context) override;
    bool MakeCurrent(GLContext* context) override;
    bool PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height) override;

    bool ReadWindowImage(Window* window, Image& image) override;
    bool WriteWindowPng(Window* window, const std::string& path) override;

private:
    bool Owns(const Window* window) const;

    std::vector<Mode> modes_;
    Mode desktop_;
    Window* fullScreenWindow_ = nullptr;
    Mode fullScreenMode_;
    std::vector<std::unique_ptr<Window>> windows_;
    std::vector<std::unique_ptr<GLContext>> contexts_;
    EglSurfaceless egl_;
    std::vector<std::uint32_t> readBuffer_;
};

// The modes a fresh headless display offers, and its desktop mode.
std::vector<Mode> DefaultModes();
Mode DefaultDesktopMode();

}  // namespace headless
}  // namespace quorvane::display

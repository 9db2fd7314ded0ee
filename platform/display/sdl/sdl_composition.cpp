// What a window shows: the presented frame and the layers composed onto the screen, and read back.
#include "display/sdl/sdl_driver.h"

#include <algorithm>

#include "display/shared/gl_pixels.h"
#include "display/shared/png_writer.h"

namespace quorvane::display::sdl {

bool SdlDriver::PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    if (!Owns(window) || width == 0 || height == 0 || !window->frame.Keep(framebuffer, width, height))
        return false;
    Show(*window);
    return true;
}

float SdlDriver::SurfaceScale(Window* window)
{
    return Owns(window) ? window->scale.Factor() : desktopScale_.Factor();
}

void SdlDriver::SetFrameArea(Window* window, const Rect& area)
{
    if (!Owns(window) || window->frameArea == area)
        return;
    window->frameArea = area;
    ShowLater(*window);
}

bool SdlDriver::SetLayer(Window* window, int layer, int x, int y, const Image& image)
{
    if (!Owns(window) || image.pixels.size() != std::size_t{image.width} * image.height)
        return false;
    LayerTexture& shown = window->layers[layer];
    shown.x = x;
    shown.y = y;
    if (!contexts_.WithRoot(nullptr, [&] { Compositor::Upload(image, shown.image); }))
        return false;
    ShowLater(*window);
    return true;
}

void SdlDriver::RemoveLayer(Window* window, int layer)
{
    if (!Owns(window))
        return;
    auto found = window->layers.find(layer);
    if (found == window->layers.end())
        return;
    contexts_.WithRoot(nullptr, [&] { Compositor::Delete(found->second.image); });
    window->layers.erase(found);
    ShowLater(*window);
}

bool SdlDriver::Compose(Window& window, GLuint target, std::uint32_t& width, std::uint32_t& height)
{
    window.frame.WaitForCopy();  // the display's context reads the copy the device's context made
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(window.sdl, &drawableWidth, &drawableHeight);
    width = std::uint32_t(std::max(drawableWidth, 0));
    height = std::uint32_t(std::max(drawableHeight, 0));
    Texture frame{window.frame.Texture(), window.frame.Width(), window.frame.Height()};
    Rect area = window.frameArea ? window.scale.ToScreen(*window.frameArea) : Rect{0, 0, width, height};
    return compositor_.Compose(target, width, height, frame, area, window.layers, window.scale);
}

void SdlDriver::ShowLater(Window& window)
{
    window.showDue = true;
}

void SdlDriver::ShowDue()
{
    const Uint32 now = SDL_GetTicks();
    for (auto& window : windows_) {
        if (window->showAgainAt && std::int32_t(now - *window->showAgainAt) >= 0) {
            window->showAgainDelay *= 2;
            window->showAgainAt.reset();
            if (window->showAgainDelay <= lastShowAgain)
                window->showAgainAt = now + window->showAgainDelay;
            window->showDue = true;
        }
        if (window->showDue)
            Show(*window);
    }
}

bool SdlDriver::Show(Window& window)
{
    window.showDue = false;
    if (!window.visible || window.minimized)
        return false;
    bool shown = false;
    contexts_.WithRoot(window.sdl, [&] {
        std::uint32_t width = 0, height = 0;
        if (Compose(window, 0, width, height)) {
            SDL_GL_SwapWindow(window.sdl);
            shown = true;
        }
    });
    return shown;
}

bool SdlDriver::ReadWindowImage(Window* window, Image& image)
{
    if (!Owns(window))
        return false;
    bool read = false;
    contexts_.WithRoot(window->sdl, [&] {
        GLuint framebuffer = 0, colour = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &colour);
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window->sdl, &width, &height);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, std::max(width, 1), std::max(height, 1));
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        std::uint32_t w = 0, h = 0;
        if (Compose(*window, framebuffer, w, h))
            read = shared::ReadImageTopRowFirst(w, h, image);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(1, &colour);
        glDeleteFramebuffers(1, &framebuffer);
    });
    return read;
}

bool SdlDriver::WriteWindowPng(Window* window, const std::string& path)
{
    Image image;
    return ReadWindowImage(window, image) && shared::WritePng(image, path);
}

}  // namespace quorvane::display::sdl

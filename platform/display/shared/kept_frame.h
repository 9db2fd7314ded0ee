// A window's last presented frame, kept on the GPU in a texture that every context of the
// display shares. Present copies into it (no read-back); reading it is for whoever asks for the
// window's image. Another context sees the copy only once it has completed (a flush alone does
// not promise that): Keep sets a fence after it, which a reader waits for.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

namespace quorvane::display::shared {

class KeptFrame {
public:
    // Copies the colour attachment of `framebuffer`, in the current context, whose bindings are
    // left as they were.
    bool Keep(unsigned framebuffer, std::uint32_t width, std::uint32_t height);
    // The kept picture, top row first, read through `readFramebuffer`, a framebuffer of the
    // current context (one of the display's).
    bool Read(unsigned readFramebuffer, std::vector<std::uint32_t>& pixels);
    // Makes the current context wait (on the GPU) for the last copy before it uses the texture.
    void WaitForCopy();
    // Deletes the texture; a context of the display is current.
    void Release();

    bool Empty() const { return texture_ == 0; }
    GLuint Texture() const { return texture_; }
    std::uint32_t Width() const { return width_; }
    std::uint32_t Height() const { return height_; }

private:
    GLuint texture_ = 0;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
    GLenum format_ = 0;
    GLsync copied_ = nullptr;  // set after the last copy, until a reader has waited for it
};

}  // namespace quorvane::display::shared

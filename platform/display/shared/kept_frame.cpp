#include "display/shared/kept_frame.h"

#include "display/shared/gl_pixels.h"

namespace quorvane::display::shared {

namespace {

// The bindings Keep changes in a context that belongs to someone else (a Direct3D device).
class SavedBindings {
public:
    SavedBindings()
    {
        glGetIntegerv(GL_ACTIVE_TEXTURE, &activeTexture_);
        glActiveTexture(GL_TEXTURE0);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture_);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer_);
        glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpackBuffer_);
    }
    ~SavedBindings()
    {
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, GLuint(unpackBuffer_));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(readFramebuffer_));
        glBindTexture(GL_TEXTURE_2D, GLuint(texture_));
        glActiveTexture(GLenum(activeTexture_));
    }
    SavedBindings(const SavedBindings&) = delete;
    SavedBindings& operator=(const SavedBindings&) = delete;

private:
    GLint activeTexture_ = 0;
    GLint texture_ = 0;
    GLint readFramebuffer_ = 0;
    GLint unpackBuffer_ = 0;
};

// The texture takes the colour format of the framebuffer: copying between equal formats is a
// plain copy, where a conversion would cost far more than the frame.
GLenum ColorFormatOf(unsigned framebuffer)
{
    GLint alphaBits = 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glGetFramebufferAttachmentParameteriv(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0,
                                          GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE, &alphaBits);
    return alphaBits > 0 ? GL_RGBA8 : GL_RGB8;
}

}  // namespace

bool KeptFrame::Keep(unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    SavedBindings saved;
    GLenum format = ColorFormatOf(framebuffer);
    if (texture_ == 0)
        glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    if (width != width_ || height != height_ || format != format_) {
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        // ES takes the unsized layout that matches the sized format; desktop GL takes any.
        GLenum layout = !CurrentContextIsES() ? GL_BGRA : format == GL_RGBA8 ? GL_RGBA : GL_RGB;
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), GLsizei(width), GLsizei(height), 0, layout, GL_UNSIGNED_BYTE,
                     nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        width_ = width;
        height_ = height;
        format_ = format;
    }
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, GLsizei(width), GLsizei(height));
    if (copied_)
        glDeleteSync(copied_);
    copied_ = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    // Flushed, so that the fence is signalled without this context doing more, as a swap would.
    glFlush();
    return true;
}

void KeptFrame::WaitForCopy()
{
    if (!copied_)
        return;
    glWaitSync(copied_, 0, GL_TIMEOUT_IGNORED);
    glDeleteSync(copied_);
    copied_ = nullptr;
}

bool KeptFrame::Read(unsigned readFramebuffer, std::vector<std::uint32_t>& pixels)
{
    if (texture_ == 0)
        return false;
    WaitForCopy();
    pixels.resize(std::size_t{width_} * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFramebuffer);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    ReadBgraPixels(0, 0, GLsizei(width_), GLsizei(height_), pixels.data());
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    return glGetError() == GL_NO_ERROR;
}

void KeptFrame::Release()
{
    if (texture_ != 0)
        glDeleteTextures(1, &texture_);
    if (copied_)
        glDeleteSync(copied_);
    copied_ = nullptr;
    texture_ = 0;
    width_ = height_ = 0;
}

}  // namespace quorvane::display::shared

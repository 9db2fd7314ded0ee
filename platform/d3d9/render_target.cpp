#include "d3d9/render_target.h"

#include "d3d9/formats.h"

namespace quorvane::d3d9 {

bool RenderTarget::Create(UINT width, UINT height, D3DFORMAT colorFormat, D3DFORMAT depthFormat,
                          const GLCapabilities& caps)
{
    Destroy();
    width_ = width;
    height_ = height;
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);

    // X formats have no alpha to keep: an RGB texture makes destination alpha read as 1.
    GLenum internalFormat = colorFormat == D3DFMT_X8R8G8B8 ? GL_RGB8 : GL_RGBA8;
    glGenTextures(1, &color_);
    glBindTexture(GL_TEXTURE_2D, color_);
    // ES takes only the unsized layout that matches the sized format.
    GLenum layout = caps.bgraLayouts ? GL_BGRA : internalFormat == GL_RGB8 ? GL_RGB : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(internalFormat), GLsizei(width), GLsizei(height), 0, layout, GL_UNSIGNED_BYTE,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color_, 0);

    if (const FormatInfo* depth = FindFormat(depthFormat); depth && depth->depth) {
        glGenRenderbuffers(1, &depth_);
        glBindRenderbuffer(GL_RENDERBUFFER, depth_);
        glRenderbufferStorage(GL_RENDERBUFFER, TextureLayout(*depth, caps).internalFormat, GLsizei(width),
                              GLsizei(height));
        GLenum attachment = depthFormat == D3DFMT_D24S8 ? GL_DEPTH_STENCIL_ATTACHMENT : GL_DEPTH_ATTACHMENT;
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachment, GL_RENDERBUFFER, depth_);
    }
    bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete)
        Destroy();
    return complete;
}

void RenderTarget::Destroy()
{
    if (framebuffer_)
        glDeleteFramebuffers(1, &framebuffer_);
    if (color_)
        glDeleteTextures(1, &color_);
    if (depth_)
        glDeleteRenderbuffers(1, &depth_);
    framebuffer_ = color_ = depth_ = 0;
    width_ = height_ = 0;
}

}  // namespace quorvane::d3d9

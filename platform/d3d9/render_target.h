// A device's swap-chain images in OpenGL: the back buffer (a colour texture) and the automatic
// depth buffer, attached to one framebuffer. Rows are stored top row first.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

#include "d3d9/gl_capabilities.h"

namespace quorvane::d3d9 {

class RenderTarget {
public:
    RenderTarget() = default;
    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;
    ~RenderTarget() = default;  // Destroy() runs with the context current

    // depthFormat is D3DFMT_UNKNOWN for none. False when GL cannot make the framebuffer.
    bool Create(UINT width, UINT height, D3DFORMAT colorFormat, D3DFORMAT depthFormat, const GLCapabilities& caps);
    void Destroy();

    GLuint Framebuffer() const { return framebuffer_; }
    GLuint ColorTexture() const { return color_; }
    UINT Width() const { return width_; }
    UINT Height() const { return height_; }
    bool HasDepth() const { return depth_ != 0; }

private:
    GLuint framebuffer_ = 0;
    GLuint color_ = 0;
    GLuint depth_ = 0;
    UINT width_ = 0;
    UINT height_ = 0;
};

}  // namespace quorvane::d3d9

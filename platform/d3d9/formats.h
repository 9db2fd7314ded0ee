// Pixel formats: how each Direct3D format is laid out in memory and stored in OpenGL.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

#include <vector>

#include "d3d9/gl_capabilities.h"

namespace quorvane::d3d9 {

struct FormatInfo {
    D3DFORMAT format;
    UINT bytesPerPixel;
    GLenum internalFormat;  // texture storage
    GLenum pixelFormat;     // upload and read-back layout matching the Direct3D bytes
    GLenum pixelType;
    GLint swizzle[4];  // how the sampler sees R, G, B, A (X formats read alpha as 1)
    bool depth;
};

// The format's description, or null when this implementation does not offer it.
const FormatInfo* FindFormat(D3DFORMAT format);

// Bytes per row of a surface in memory: whole pixels, rounded up to 4 bytes as Direct3D does.
UINT RowPitch(const FormatInfo& format, UINT width);

// The layout a format's texels have in OpenGL under `caps`: the table's where the context takes
// Direct3D's byte orders and swizzles, else RGBA8 (ES 3.0 has neither GL_BGRA, the reversed packed
// types nor, in WebGL 2, texture swizzle), and a depth format the context can store.
struct GLLayout {
    GLenum internalFormat;
    GLenum pixelFormat;
    GLenum pixelType;
};
GLLayout TextureLayout(const FormatInfo& format, const GLCapabilities& caps);

// A pixel of the format as the sampler reads it, in R, G, B, A bytes (X formats with alpha 255).
void ExpandPixel(const FormatInfo& format, const BYTE* pixel, BYTE rgba[4]);

// The bits to hand to glTexImage2D or glTexSubImage2D for `width` x `height` pixels of the format
// starting at `bits`, rows `pitch` bytes apart, in TextureLayout's layout: `bits` itself where the
// context takes the format, else the pixels expanded to RGBA8 in `converted`. `rowLength` is the
// GL_UNPACK_ROW_LENGTH they need.
const void* UploadBits(const FormatInfo& format, const GLCapabilities& caps, const BYTE* bits, UINT pitch, UINT width,
                       UINT height, std::vector<BYTE>& converted, GLint& rowLength);

// The number of levels of a full mipmap chain down to 1 x 1.
UINT FullMipChainLength(UINT width, UINT height);

}  // namespace quorvane::d3d9

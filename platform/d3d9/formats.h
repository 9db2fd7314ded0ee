// Pixel formats: how each Direct3D format is laid out in memory and stored in OpenGL.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

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

// The number of levels of a full mipmap chain down to 1 x 1.
UINT FullMipChainLength(UINT width, UINT height);

}  // namespace quorvane::d3d9

#include "d3d9/formats.h"

namespace quorvane::d3d9 {

namespace {

// Byte order in memory is what Direct3D names from the high bits down on a little-endian
// machine: A8R8G8B8 is B, G, R, A, which OpenGL calls GL_BGRA with GL_UNSIGNED_BYTE.
// The 8-bit BGRA formats ask for the unsized GL_RGBA: the GL then keeps the texels in the byte
// order they are uploaded in (Mesa stores them as B8G8R8A8), so an upload is a plain copy. The
// sized GL_RGBA8 is stored R8G8B8A8, and every upload swaps red and blue pixel by pixel.
const FormatInfo formatTable[] = {
    {D3DFMT_A8R8G8B8, 4, GL_RGBA, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}, false},
    {D3DFMT_X8R8G8B8, 4, GL_RGBA, GL_BGRA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}, false},
    {D3DFMT_A8B8G8R8, 4, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA}, false},
    {D3DFMT_X8B8G8R8, 4, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}, false},
    {D3DFMT_R5G6B5, 2, GL_RGB8, GL_RGB, GL_UNSIGNED_SHORT_5_6_5, {GL_RED, GL_GREEN, GL_BLUE, GL_ONE}, false},
    {D3DFMT_X1R5G5B5,
     2,
     GL_RGB5_A1,
     GL_BGRA,
     GL_UNSIGNED_SHORT_1_5_5_5_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ONE},
     false},
    {D3DFMT_A1R5G5B5,
     2,
     GL_RGB5_A1,
     GL_BGRA,
     GL_UNSIGNED_SHORT_1_5_5_5_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false},
    {D3DFMT_A4R4G4B4,
     2,
     GL_RGBA4,
     GL_BGRA,
     GL_UNSIGNED_SHORT_4_4_4_4_REV,
     {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA},
     false},
    {D3DFMT_L8, 1, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_RED, GL_RED, GL_RED, GL_ONE}, false},
    {D3DFMT_A8, 1, GL_R8, GL_RED, GL_UNSIGNED_BYTE, {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED}, false},
    {D3DFMT_D16,
     2,
     GL_DEPTH_COMPONENT16,
     GL_DEPTH_COMPONENT,
     GL_UNSIGNED_SHORT,
     {GL_RED, GL_RED, GL_RED, GL_ONE},
     true},
    {D3DFMT_D24X8,
     4,
     GL_DEPTH_COMPONENT24,
     GL_DEPTH_COMPONENT,
     GL_UNSIGNED_INT,
     {GL_RED, GL_RED, GL_RED, GL_ONE},
     true},
    {D3DFMT_D24S8,
     4,
     GL_DEPTH24_STENCIL8,
     GL_DEPTH_STENCIL,
     GL_UNSIGNED_INT_24_8,
     {GL_RED, GL_RED, GL_RED, GL_ONE},
     true},
    {D3DFMT_D32, 4, GL_DEPTH_COMPONENT32, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, {GL_RED, GL_RED, GL_RED, GL_ONE}, true},
};

}  // namespace

const FormatInfo* FindFormat(D3DFORMAT format)
{
    for (const FormatInfo& info : formatTable) {
        if (info.format == format)
            return &info;
    }
    return nullptr;
}

UINT RowPitch(const FormatInfo& format, UINT width)
{
    return (width * format.bytesPerPixel + 3u) & ~3u;
}

UINT FullMipChainLength(UINT width, UINT height)
{
    UINT levels = 1;
    while (width > 1 || height > 1) {
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        ++levels;
    }
    return levels;
}

}  // namespace quorvane::d3d9

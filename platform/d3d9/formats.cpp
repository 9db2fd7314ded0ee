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

GLLayout TextureLayout(const FormatInfo& format, const GLCapabilities& caps)
{
    if (caps.bgraLayouts && caps.textureSwizzle)
        return {format.internalFormat, format.pixelFormat, format.pixelType};
    if (!format.depth)
        return {GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE};
    if (format.internalFormat == GL_DEPTH_COMPONENT32 && !caps.depth32)
        return {GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT};
    return {format.internalFormat, format.pixelFormat, format.pixelType};
}

void ExpandPixel(const FormatInfo& format, const BYTE* p, BYTE rgba[4])
{
    // An n-bit field widened to 8 bits, rounded as OpenGL normalises it.
    auto widen = [](unsigned value, unsigned bits) {
        unsigned top = (1u << bits) - 1;
        return BYTE((value * 255u + top / 2) / top);
    };
    unsigned v = format.bytesPerPixel == 2 ? unsigned(p[0] | (p[1] << 8)) : 0;
    auto set = [&](unsigned r, unsigned g, unsigned b, unsigned a) {
        rgba[0] = BYTE(r), rgba[1] = BYTE(g), rgba[2] = BYTE(b), rgba[3] = BYTE(a);
    };
    switch (format.format) {
    case D3DFMT_A8R8G8B8: set(p[2], p[1], p[0], p[3]); break;
    case D3DFMT_X8R8G8B8: set(p[2], p[1], p[0], 255); break;
    case D3DFMT_A8B8G8R8: set(p[0], p[1], p[2], p[3]); break;
    case D3DFMT_X8B8G8R8: set(p[0], p[1], p[2], 255); break;
    case D3DFMT_R5G6B5: set(widen(v >> 11, 5), widen((v >> 5) & 63, 6), widen(v & 31, 5), 255); break;
    case D3DFMT_X1R5G5B5: set(widen((v >> 10) & 31, 5), widen((v >> 5) & 31, 5), widen(v & 31, 5), 255); break;
    case D3DFMT_A1R5G5B5:
        set(widen((v >> 10) & 31, 5), widen((v >> 5) & 31, 5), widen(v & 31, 5), (v >> 15) ? 255 : 0);
        break;
    case D3DFMT_A4R4G4B4:
        set(widen((v >> 8) & 15, 4), widen((v >> 4) & 15, 4), widen(v & 15, 4), widen(v >> 12, 4));
        break;
    case D3DFMT_L8: set(p[0], p[0], p[0], 255); break;
    case D3DFMT_A8: set(0, 0, 0, p[0]); break;
    default: set(0, 0, 0, 255); break;
    }
}

const void* UploadBits(const FormatInfo& format, const GLCapabilities& caps, const BYTE* bits, UINT pitch, UINT width,
                       UINT height, std::vector<BYTE>& converted, GLint& rowLength)
{
    if ((caps.bgraLayouts && caps.textureSwizzle) || format.depth || !bits) {
        rowLength = bits ? GLint(pitch / format.bytesPerPixel) : 0;
        return bits;
    }
    converted.resize(size_t{width} * height * 4);
    BYTE* out = converted.data();
    for (UINT y = 0; y < height; ++y) {
        const BYTE* row = bits + size_t{y} * pitch;
        for (UINT x = 0; x < width; ++x, out += 4)
            ExpandPixel(format, row + size_t{x} * format.bytesPerPixel, out);
    }
    rowLength = 0;
    return converted.data();
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

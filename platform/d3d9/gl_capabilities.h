// What the device's OpenGL context can do, read once when the device is made. OpenGL 3.3 core
// (with clip control) does everything Direct3D 9 asks of it directly; OpenGL ES 3.0 lacks a
// number of those features, and the device emulates each missing one where it is used: in the
// generated shaders, on upload and read-back, or by rewriting a draw's indices. The record holds
// only what the features need, so that the desktop path stays as it is.
#pragma once

#include <string>

namespace quorvane::d3d9 {

struct GLCapabilities {
    bool es = false;                 // GLSL ES 3.00 with precision statements instead of 330 core
    bool clipControl = false;        // glClipControl: else depth is remapped in the vertex shader
    bool provokingVertex = false;    // glProvokingVertex: else flat primitives are reordered
    bool polygonMode = false;        // glPolygonMode: else wireframe and point fill are drawn as lines and points
    bool bgraLayouts = false;        // GL_BGRA vertex attributes, uploads and read-backs, packed 16-bit layouts
    bool textureSwizzle = false;     // else textures are expanded to RGBA8 on upload
    bool borderClamp = false;        // GL_CLAMP_TO_BORDER: else the border colour comes from the shader
    bool lodBias = false;            // GL_TEXTURE_LOD_BIAS: else the bias goes to texture() in the shader
    bool baseVertex = false;         // glDrawElementsBaseVertex: else the vertex pointers move
    bool unsynchronizedMap = false;  // GL_MAP_UNSYNCHRONIZED_BIT kept: else a plain write-invalidate map
    bool depth32 = false;            // GL_DEPTH_COMPONENT32: else D32 is stored in 24 bits
    int version = 0;                 // major * 10 + minor

    // Enough for the device: OpenGL 3.3 core, or OpenGL ES 3.0.
    bool Sufficient() const { return es ? version >= 30 : version >= 33; }
};

// The record of the current context.
GLCapabilities ReadGLCapabilities();

// The record a context of that kind has without extensions: what the tests force to check the
// emulations on any context (the emulated path works on desktop GL as well).
GLCapabilities DesktopGL33Capabilities(bool clipControl);
GLCapabilities ES30Capabilities();

}  // namespace quorvane::d3d9

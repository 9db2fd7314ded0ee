// Direct3D state values to their OpenGL equivalents. The values reaching here have passed
// state_rules.h, so every case is one the subset draws.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

namespace quorvane::d3d9 {

struct BlendFactors {
    GLenum source;
    GLenum destination;
};

GLenum CompareFunction(DWORD d3dCompare);
BlendFactors TranslateBlend(DWORD source, DWORD destination);
GLenum BlendEquation(DWORD d3dBlendOp);
GLenum PolygonMode(DWORD d3dFillMode);
GLint AddressMode(DWORD d3dAddress);
GLint MagnificationFilter(DWORD d3dFilter);
GLint MinificationFilter(DWORD d3dFilter, DWORD d3dMipFilter);

}  // namespace quorvane::d3d9

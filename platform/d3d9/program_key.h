// What the fixed-function shaders are specialised to: the parts of the device state and of the
// vertex layout that change the code of the vertex or pixel stage. Everything else reaches the
// shaders as uniforms. States that draw alike give the same key: what cannot matter (light types
// with lighting off, stage arguments without a texture, an operation's unused argument) stays 0.
#pragma once

#include <cstddef>
#include <cstdint>

#include "d3d9/device_state.h"
#include "d3d9/vertex_layout.h"

namespace quorvane::d3d9 {

// Where a lit vertex takes one of its material colours from.
enum class MaterialSource : std::uint8_t {
    material,        // the device's material
    vertexDiffuse,   // the vertex's diffuse colour
    vertexSpecular,  // the vertex's specular colour
};

// What the shaders do for a context that lacks a Direct3D feature (gl_capabilities.h); 0 on
// OpenGL 3.3 core with clip control.
enum Emulation : std::uint8_t {
    esShaders = 1,             // GLSL ES 3.00, and points one pixel wide from the shader
    remappedDepth = 2,         // no clip control: z in [0, w] becomes [-w, w]
    swizzledVertexColors = 4,  // vertex colours arrive as B, G, R, A
    borderAddressU = 8,        // D3DTADDRESS_BORDER in u from the shader
    borderAddressV = 16,       // and in v
    shaderLodBias = 32,        // the mipmap LOD bias goes to texture()
};

struct ProgramKey {
    // Vertex stage.
    bool pretransformed = false;
    bool lighting = false;
    bool normalizeNormals = false;
    bool localViewer = false;
    bool specular = false;  // D3DRS_SPECULARENABLE, read by both stages
    bool flat = false;      // D3DSHADE_FLAT: the first vertex's colours for the whole primitive
    // Diffuse, ambient, specular, emissive.
    MaterialSource materialSources[4] = {};
    std::uint8_t lightCount = 0;
    std::uint8_t lightTypes[maxActiveLights] = {};  // D3DLIGHTTYPE of each active light

    // Pixel stage: texture stage 0, D3DTOP_DISABLE when it passes the diffuse colour on.
    std::uint8_t colorOp = D3DTOP_DISABLE;
    std::uint8_t colorArg1 = 0;
    std::uint8_t colorArg2 = 0;
    std::uint8_t alphaOp = D3DTOP_DISABLE;
    std::uint8_t alphaArg1 = 0;
    std::uint8_t alphaArg2 = 0;
    std::uint8_t alphaFunc = D3DCMP_ALWAYS;  // D3DCMP_ALWAYS when the alpha test is off

    std::uint8_t emulation = 0;  // Emulation bits

    bool operator==(const ProgramKey&) const = default;

    bool TextureStageUsed() const { return colorOp != D3DTOP_DISABLE; }
    bool ReadsTextureFactor() const;
    bool TestsAlpha() const { return alphaFunc != D3DCMP_ALWAYS; }
};

struct ProgramKeyHash {
    std::size_t operator()(const ProgramKey& key) const;
};

// The lights a draw uses: the enabled ones in index order, at most maxActiveLights. Returns
// how many.
DWORD ActiveLights(const DeviceState& state, const D3DLIGHT9* (&lights)[maxActiveLights]);

// The key of a draw with `state` and `layout`; `textured` when stage 0 has a texture.
ProgramKey MakeProgramKey(const DeviceState& state, const VertexLayout& layout, bool textured);

// The Emulation bits a draw with the key's state needs in a context that has `caps`.
struct GLCapabilities;
std::uint8_t EmulationFor(const GLCapabilities& caps, const ProgramKey& key, const DeviceState& state);

}  // namespace quorvane::d3d9

// The values the fixed-function shaders read as uniforms, worked out from the device state only
// when the state they come from has changed. Each group counts its changes, so that a program
// can tell whether it already holds the group's current values.
#pragma once

#include <array>
#include <cstdint>

#include "d3d9/device_state.h"
#include "d3d9/matrix_math.h"
#include "d3d9/program_key.h"

namespace quorvane::d3d9 {

enum class ConstantGroup {
    transform,  // transformed vertices: the matrices and the half-pixel offset
    viewport,   // pretransformed vertices: the viewport
    material,   // lighting: the material and the global ambient colour
    lights,     // lighting: the active lights in view space
    pixel,      // the texture factor and the alpha reference
};
constexpr std::size_t constantGroupCount = 5;

struct TransformConstants {
    Matrix4 worldViewProjection;
    Matrix4 worldView;
    Matrix3 normalMatrix;
    float pixelAdjust[2];
};

struct ViewportConstants {
    float rectangle[4];  // x, y, width, height
    float depthRange[2];
};

struct MaterialConstants {
    D3DMATERIAL9 material;
    D3DCOLORVALUE globalAmbient;
};

struct LightConstants {
    D3DCOLORVALUE diffuse, specular, ambient;
    Vector3 position, direction;  // view space; the direction normalised
    float attenuation[4];         // range, constant, linear, quadratic
    float spot[3];                // cos(theta / 2), cos(phi / 2), falloff
};

struct PixelConstants {
    D3DCOLORVALUE textureFactor;
    float alphaRef;
};

class DrawConstants {
public:
    // Brings the groups a program of `key` reads up to date with `state`.
    void Update(const DeviceState& state, const ProgramKey& key);

    // Changes whenever the group's values do; never 0.
    std::uint64_t Version(ConstantGroup group) const { return versions_[std::size_t(group)]; }

    const TransformConstants& Transform() const { return transform_; }
    const ViewportConstants& Viewport() const { return viewport_; }
    const MaterialConstants& Material() const { return material_; }
    const LightConstants* Lights() const { return lights_; }
    const PixelConstants& Pixel() const { return pixel_; }

private:
    // What each group was last worked out from.
    struct TransformInputs {
        D3DMATRIX world, view, projection;
        UINT width, height;
    };
    struct MaterialInputs {
        D3DMATERIAL9 material;
        DWORD ambient;
    };
    struct LightInputs {
        D3DMATRIX view;
        DWORD count;
        D3DLIGHT9 lights[maxActiveLights];
    };
    struct PixelInputs {
        DWORD textureFactor;
        DWORD alphaRef;
    };

    // True (and the group's version moved on) when `inputs` differ from what the group was
    // last worked out from.
    template <class Inputs>
    bool Changed(ConstantGroup group, const Inputs& inputs, Inputs& last);

    void UpdateTransform(const DeviceState& state);
    void UpdateViewport(const DeviceState& state);
    void UpdateMaterial(const DeviceState& state);
    void UpdateLights(const DeviceState& state);
    void UpdatePixel(const DeviceState& state);

    std::array<std::uint64_t, constantGroupCount> versions_{};  // 0: never worked out
    TransformInputs transformInputs_{};
    D3DVIEWPORT9 viewportInputs_{};
    MaterialInputs materialInputs_{};
    LightInputs lightInputs_{};
    PixelInputs pixelInputs_{};

    TransformConstants transform_{};
    ViewportConstants viewport_{};
    MaterialConstants material_{};
    LightConstants lights_[maxActiveLights]{};
    PixelConstants pixel_{};
};

}  // namespace quorvane::d3d9

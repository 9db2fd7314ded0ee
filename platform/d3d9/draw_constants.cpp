#include "d3d9/draw_constants.h"

#include <cmath>
#include <cstring>

namespace quorvane::d3d9 {

namespace {

D3DCOLORVALUE ColorValue(D3DCOLOR c)
{
    return {((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f, ((c >> 24) & 0xFF) / 255.0f};
}

}  // namespace

template <class Inputs>
bool DrawConstants::Changed(ConstantGroup group, const Inputs& inputs, Inputs& last)
{
    std::uint64_t& version = versions_[std::size_t(group)];
    // The inputs are plain values without padding, so equal bytes mean equal values (a -0.0
    // that replaces 0.0 only costs one upload).
    if (version != 0 && std::memcmp(&inputs, &last, sizeof(Inputs)) == 0)
        return false;
    last = inputs;
    ++version;
    return true;
}

void DrawConstants::Update(const DeviceState& state, const ProgramKey& key)
{
    if (key.pretransformed) {
        UpdateViewport(state);
    } else {
        UpdateTransform(state);
        if (key.lighting) {
            UpdateMaterial(state);
            UpdateLights(state);
        }
    }
    if (key.ReadsTextureFactor() || key.TestsAlpha())
        UpdatePixel(state);
}

void DrawConstants::UpdateTransform(const DeviceState& state)
{
    TransformInputs inputs{state.transforms[D3DTS_WORLD], state.transforms[D3DTS_VIEW],
                           state.transforms[D3DTS_PROJECTION], state.viewport.Width, state.viewport.Height};
    if (!Changed(ConstantGroup::transform, inputs, transformInputs_))
        return;
    Matrix4 worldView = Multiply(inputs.world, inputs.view);
    transform_.worldViewProjection = Multiply(worldView, inputs.projection);
    transform_.worldView = worldView;
    transform_.normalMatrix = InverseTranspose3x3(worldView);
    transform_.pixelAdjust[0] = 1.0f / float(inputs.width);
    transform_.pixelAdjust[1] = 1.0f / float(inputs.height);
}

void DrawConstants::UpdateViewport(const DeviceState& state)
{
    if (!Changed(ConstantGroup::viewport, state.viewport, viewportInputs_))
        return;
    const D3DVIEWPORT9& vp = state.viewport;
    viewport_ = {{float(vp.X), float(vp.Y), float(vp.Width), float(vp.Height)}, {vp.MinZ, vp.MaxZ}};
}

void DrawConstants::UpdateMaterial(const DeviceState& state)
{
    MaterialInputs inputs{state.material, state.renderStates[D3DRS_AMBIENT]};
    if (!Changed(ConstantGroup::material, inputs, materialInputs_))
        return;
    material_ = {inputs.material, ColorValue(D3DCOLOR(inputs.ambient))};
}

// Lights work in view space: positions and directions go through the view matrix.
void DrawConstants::UpdateLights(const DeviceState& state)
{
    LightInputs inputs{};
    inputs.view = state.transforms[D3DTS_VIEW];
    const D3DLIGHT9* active[maxActiveLights];
    inputs.count = ActiveLights(state, active);
    for (DWORD i = 0; i < inputs.count; ++i)
        inputs.lights[i] = *active[i];
    if (!Changed(ConstantGroup::lights, inputs, lightInputs_))
        return;
    Matrix4 view = ToMatrix4(inputs.view);
    for (DWORD i = 0; i < inputs.count; ++i) {
        const D3DLIGHT9& light = inputs.lights[i];
        lights_[i] = {light.Diffuse,
                      light.Specular,
                      light.Ambient,
                      TransformPoint(light.Position, view),
                      Normalize(TransformDirection(light.Direction, view)),
                      {light.Range, light.Attenuation0, light.Attenuation1, light.Attenuation2},
                      {std::cos(light.Theta / 2.0f), std::cos(light.Phi / 2.0f), light.Falloff}};
    }
}

void DrawConstants::UpdatePixel(const DeviceState& state)
{
    PixelInputs inputs{state.renderStates[D3DRS_TEXTUREFACTOR], state.renderStates[D3DRS_ALPHAREF]};
    if (!Changed(ConstantGroup::pixel, inputs, pixelInputs_))
        return;
    pixel_ = {ColorValue(D3DCOLOR(inputs.textureFactor)), float(inputs.alphaRef & 0xFF)};
}

}  // namespace quorvane::d3d9

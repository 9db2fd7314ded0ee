#include "d3d9/device_state.h"

#include "d3d9/state_rules.h"

namespace quorvane::d3d9 {

D3DMATRIX IdentityMatrix()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

D3DLIGHT9 DefaultLight()
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};
    return light;
}

bool IsTransformState(DWORD state)
{
    return state == D3DTS_VIEW || state == D3DTS_PROJECTION || (state >= D3DTS_TEXTURE0 && state <= D3DTS_TEXTURE7) ||
           (state >= D3DTS_WORLD && state < transformStateCount);
}

DeviceState DefaultDeviceState(bool depthEnabled, const D3DVIEWPORT9& viewport)
{
    DeviceState state;
    for (DWORD i = 0; i < renderStateCount; ++i) {
        DWORD value = 0;
        if (RenderStateDefault(static_cast<D3DRENDERSTATETYPE>(i), value))
            state.renderStates[i] = value;
    }
    state.renderStates[D3DRS_ZENABLE] = depthEnabled ? D3DZB_TRUE : D3DZB_FALSE;
    state.transforms.fill(IdentityMatrix());
    state.viewport = viewport;
    for (DWORD stage = 0; stage < textureStageCount; ++stage) {
        for (DWORD type = 0; type < textureStageStateCount; ++type)
            state.stageStates[stage][type] =
                TextureStageStateDefault(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(type));
    }
    for (auto& sampler : state.samplerStates) {
        for (DWORD type = 0; type < samplerStateCount; ++type)
            sampler[type] = SamplerStateDefault(static_cast<D3DSAMPLERSTATETYPE>(type));
    }
    return state;
}

}  // namespace quorvane::d3d9

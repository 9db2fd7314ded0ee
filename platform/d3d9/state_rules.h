// Which render, texture-stage and sampler states this implementation knows and which of their
// values it draws. Direct3D's answers: a state it does not know (or an out-of-range value of an
// enumeration) is D3DERR_INVALIDCALL; a valid value this subset does not draw is
// D3DERR_NOTAVAILABLE, so that nothing is ignored silently.
#pragma once

#include <d3d9.h>

#include "d3d9/device_state.h"

namespace quorvane::d3d9 {

// The default value, and whether `state` is a render state at all.
bool RenderStateDefault(D3DRENDERSTATETYPE state, DWORD& value);
HRESULT CheckRenderState(D3DRENDERSTATETYPE state, DWORD value);

DWORD TextureStageStateDefault(DWORD stage, D3DTEXTURESTAGESTATETYPE type);
HRESULT CheckTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);

DWORD SamplerStateDefault(D3DSAMPLERSTATETYPE type);
HRESULT CheckSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);

}  // namespace quorvane::d3d9

// Setting and reading device state: transforms, viewport, material, lights, render states,
// texture stages, samplers, and the bound texture, vertex format, streams and indices.
#include <cmath>

#include "d3d9/device.h"
#include "d3d9/index_buffer.h"
#include "d3d9/state_rules.h"
#include "d3d9/texture.h"
#include "d3d9/vertex_buffer.h"

namespace quorvane::d3d9 {

namespace {

constexpr float pi = 3.14159265358979f;

bool IsZero(const D3DVECTOR& v)
{
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

bool IsValidLight(const D3DLIGHT9& light)
{
    switch (light.Type) {
    case D3DLIGHT_DIRECTIONAL: return !IsZero(light.Direction);
    case D3DLIGHT_POINT: return light.Range >= 0.0f && std::isfinite(light.Range);
    case D3DLIGHT_SPOT:
        return !IsZero(light.Direction) && light.Range >= 0.0f && std::isfinite(light.Range) && light.Theta >= 0.0f &&
               light.Phi >= light.Theta && light.Phi <= pi;
    default: return false;
    }
}

// Swaps a private reference: the new object is held before the old one is let go.
template <class Resource>
void Rebind(Resource*& slot, Resource* next)
{
    if (next)
        next->AddPrivateRef();
    if (slot)
        slot->ReleasePrivateRef();
    slot = next;
}

}  // namespace

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix)
{
    if (matrix == nullptr || !IsTransformState(state))
        return D3DERR_INVALIDCALL;
    state_.transforms[state] = *matrix;
    return D3D_OK;
}

HRESULT Device::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix)
{
    if (matrix == nullptr || !IsTransformState(state))
        return D3DERR_INVALIDCALL;
    *matrix = state_.transforms[state];
    return D3D_OK;
}

HRESULT Device::SetViewport(const D3DVIEWPORT9* viewport)
{
    if (viewport == nullptr || viewport->Width == 0 || viewport->Height == 0)
        return D3DERR_INVALIDCALL;
    std::uint64_t right = std::uint64_t{viewport->X} + viewport->Width;
    std::uint64_t bottom = std::uint64_t{viewport->Y} + viewport->Height;
    if (right > parameters_.BackBufferWidth || bottom > parameters_.BackBufferHeight)
        return D3DERR_INVALIDCALL;
    if (!(viewport->MinZ >= 0.0f && viewport->MinZ <= 1.0f && viewport->MaxZ >= 0.0f && viewport->MaxZ <= 1.0f))
        return D3DERR_INVALIDCALL;
    state_.viewport = *viewport;
    return D3D_OK;
}

HRESULT Device::GetViewport(D3DVIEWPORT9* viewport)
{
    if (viewport == nullptr)
        return D3DERR_INVALIDCALL;
    *viewport = state_.viewport;
    return D3D_OK;
}

HRESULT Device::SetMaterial(const D3DMATERIAL9* material)
{
    if (material == nullptr)
        return D3DERR_INVALIDCALL;
    state_.material = *material;
    return D3D_OK;
}

HRESULT Device::GetMaterial(D3DMATERIAL9* material)
{
    if (material == nullptr)
        return D3DERR_INVALIDCALL;
    *material = state_.material;
    return D3D_OK;
}

HRESULT Device::SetLight(DWORD index, const D3DLIGHT9* light)
{
    if (light == nullptr || !IsValidLight(*light))
        return D3DERR_INVALIDCALL;
    state_.lights[index].light = *light;
    return D3D_OK;
}

HRESULT Device::GetLight(DWORD index, D3DLIGHT9* light)
{
    auto found = state_.lights.find(index);
    if (light == nullptr || found == state_.lights.end())
        return D3DERR_INVALIDCALL;
    *light = found->second.light;
    return D3D_OK;
}

HRESULT Device::LightEnable(DWORD index, BOOL enable)
{
    auto found = state_.lights.find(index);
    if (found == state_.lights.end()) {
        // Enabling a light that was never set gives it Direct3D's default light.
        found = state_.lights.emplace(index, LightSlot{DefaultLight(), false}).first;
    }
    if (enable && !found->second.enabled) {
        DWORD active = 0;
        for (const auto& [i, slot] : state_.lights)
            active += slot.enabled ? 1 : 0;
        if (active >= maxActiveLights)
            return D3DERR_INVALIDCALL;  // more than the device's MaxActiveLights
    }
    found->second.enabled = enable != FALSE;
    return D3D_OK;
}

HRESULT Device::GetLightEnable(DWORD index, BOOL* enable)
{
    auto found = state_.lights.find(index);
    if (enable == nullptr || found == state_.lights.end())
        return D3DERR_INVALIDCALL;
    *enable = found->second.enabled ? TRUE : FALSE;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (HRESULT hr = CheckRenderState(state, value); FAILED(hr))
        return hr;
    state_.renderStates[state] = value;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value)
{
    DWORD unused;
    if (value == nullptr || !RenderStateDefault(state, unused))
        return D3DERR_INVALIDCALL;
    *value = state_.renderStates[state];
    return D3D_OK;
}

HRESULT Device::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture)
{
    if (texture == nullptr)
        return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if (stage >= samplerCount)
        return D3DERR_INVALIDCALL;
    if (Texture* bound = state_.textures[stage]) {
        bound->AddRef();
        *texture = bound;
    }
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    if (stage >= samplerCount)
        return D3DERR_INVALIDCALL;
    Texture* own = nullptr;
    if (texture) {
        own = dynamic_cast<Texture*>(texture);
        if (!own || own->OwningDevice() != this)
            return D3DERR_INVALIDCALL;
        if (own->Pool() == D3DPOOL_SCRATCH)
            return D3DERR_INVALIDCALL;  // scratch textures are never sampled
    }
    Rebind(state_.textures[stage], own);
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value)
{
    if (value == nullptr || stage >= textureStageCount || DWORD(type) >= textureStageStateCount)
        return D3DERR_INVALIDCALL;
    if (CheckTextureStageState(stage, type, state_.stageStates[stage][type]) == D3DERR_INVALIDCALL)
        return D3DERR_INVALIDCALL;  // not a texture stage state
    *value = state_.stageStates[stage][type];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    if (HRESULT hr = CheckTextureStageState(stage, type, value); FAILED(hr))
        return hr;
    state_.stageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT Device::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value)
{
    if (value == nullptr || sampler >= samplerCount || DWORD(type) >= samplerStateCount ||
        CheckSamplerState(sampler, type, state_.samplerStates[sampler][type]) == D3DERR_INVALIDCALL)
        return D3DERR_INVALIDCALL;
    *value = state_.samplerStates[sampler][type];
    return D3D_OK;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value)
{
    if (HRESULT hr = CheckSamplerState(sampler, type, value); FAILED(hr))
        return hr;
    state_.samplerStates[sampler][type] = value;
    return D3D_OK;
}

HRESULT Device::SetFVF(DWORD fvf)
{
    if (!IsValidFvf(fvf))
        return D3DERR_INVALIDCALL;
    VertexLayout layout;
    if (fvf != 0 && !DecodeFvf(fvf, layout))
        return D3DERR_NOTAVAILABLE;  // blend weights, point sizes and the like are not drawn here
    state_.fvf = fvf;
    return D3D_OK;
}

HRESULT Device::GetFVF(DWORD* fvf)
{
    if (fvf == nullptr)
        return D3DERR_INVALIDCALL;
    *fvf = state_.fvf;
    return D3D_OK;
}

HRESULT Device::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride)
{
    if (stream >= streamCount)
        return D3DERR_INVALIDCALL;
    VertexBuffer* own = nullptr;
    if (buffer) {
        own = dynamic_cast<VertexBuffer*>(buffer);
        if (!own || own->OwningDevice() != this || stride == 0 || offset >= own->Storage().Length())
            return D3DERR_INVALIDCALL;
    }
    StreamSource& source = state_.streams[stream];
    Rebind(source.buffer, own);
    source.offset = own ? offset : 0;
    source.stride = own ? stride : 0;
    return D3D_OK;
}

HRESULT Device::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride)
{
    if (stream >= streamCount || buffer == nullptr || offset == nullptr || stride == nullptr)
        return D3DERR_INVALIDCALL;
    const StreamSource& source = state_.streams[stream];
    if (source.buffer)
        source.buffer->AddRef();
    *buffer = source.buffer;
    *offset = source.offset;
    *stride = source.stride;
    return D3D_OK;
}

HRESULT Device::SetIndices(IDirect3DIndexBuffer9* indices)
{
    IndexBuffer* own = nullptr;
    if (indices) {
        own = dynamic_cast<IndexBuffer*>(indices);
        if (!own || own->OwningDevice() != this)
            return D3DERR_INVALIDCALL;
    }
    Rebind(state_.indices, own);
    return D3D_OK;
}

HRESULT Device::GetIndices(IDirect3DIndexBuffer9** indices)
{
    if (indices == nullptr)
        return D3DERR_INVALIDCALL;
    if (state_.indices)
        state_.indices->AddRef();
    *indices = state_.indices;
    return D3D_OK;
}

}  // namespace quorvane::d3d9

#include "recording_device.h"

#include <cstring>

namespace quorvane::tests {

namespace {

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitives)
{
    switch (type) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return primitives * 2;
    case D3DPT_LINESTRIP: return primitives + 1;
    case D3DPT_TRIANGLELIST: return primitives * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitives + 2;
    default: return 0;
    }
}

}  // namespace

std::vector<RecordedCall> RecordingDevice::CallsOf(CallKind kind) const
{
    std::vector<RecordedCall> result;
    for (const RecordedCall& call : calls)
        if (call.kind == kind)
            result.push_back(call);
    return result;
}

HRESULT RecordingDevice::SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix)
{
    if (pMatrix == nullptr)
        return D3DERR_INVALIDCALL;
    RecordedCall call{CallKind::SetTransform};
    call.value = static_cast<DWORD>(State);
    call.matrix = *pMatrix;
    calls.push_back(call);
    transforms_[static_cast<DWORD>(State)] = *pMatrix;
    return D3D_OK;
}

HRESULT RecordingDevice::GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix)
{
    if (pMatrix == nullptr)
        return D3DERR_INVALIDCALL;
    const auto found = transforms_.find(static_cast<DWORD>(State));
    *pMatrix = found == transforms_.end() ? Identity() : found->second;
    return D3D_OK;
}

HRESULT RecordingDevice::GetViewport(D3DVIEWPORT9* pViewport)
{
    if (pViewport == nullptr || failGetViewport)
        return D3DERR_INVALIDCALL;
    *pViewport = viewport;
    return D3D_OK;
}

HRESULT RecordingDevice::SetMaterial(const D3DMATERIAL9* pMaterial)
{
    if (pMaterial == nullptr)
        return D3DERR_INVALIDCALL;
    RecordedCall call{CallKind::SetMaterial};
    call.material = *pMaterial;
    calls.push_back(call);
    material_ = *pMaterial;
    return D3D_OK;
}

HRESULT RecordingDevice::SetRenderState(D3DRENDERSTATETYPE State, DWORD Value)
{
    RecordedCall call{CallKind::SetRenderState};
    call.value = static_cast<DWORD>(State);
    call.argument = Value;
    calls.push_back(call);
    return D3D_OK;
}

HRESULT RecordingDevice::SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture)
{
    RecordedCall call{CallKind::SetTexture};
    call.value = Stage;
    call.texture = pTexture;
    calls.push_back(call);
    return D3D_OK;
}

HRESULT RecordingDevice::SetFVF(DWORD FVF)
{
    RecordedCall call{CallKind::SetFVF};
    call.value = FVF;
    calls.push_back(call);
    fvf_ = FVF;
    return D3D_OK;
}

HRESULT RecordingDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount,
                                         const void* pVertexStreamZeroData, UINT VertexStreamZeroStride)
{
    if (pVertexStreamZeroData == nullptr || PrimitiveCount == 0)
        return D3DERR_INVALIDCALL;
    calls.push_back(RecordedCall{CallKind::DrawPrimitiveUP});

    D3DMATRIX world;
    GetTransform(D3DTS_WORLD, &world);
    RecordedDraw draw{PrimitiveType, PrimitiveCount, VertexStreamZeroStride, fvf_, world, material_, {}};
    const std::size_t bytes = std::size_t{VertexCount(PrimitiveType, PrimitiveCount)} * VertexStreamZeroStride;
    draw.vertices.resize(bytes);
    std::memcpy(draw.vertices.data(), pVertexStreamZeroData, bytes);
    draws.push_back(std::move(draw));
    return D3D_OK;
}

}  // namespace quorvane::tests

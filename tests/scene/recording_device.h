// A Direct3D 9 device for tests that draws nothing and records what the scene asks of it: the
// FVF, texture, material, transform and render-state calls, and every DrawPrimitiveUP with a
// copy of its vertices and the world matrix and material current at that moment. GetTransform
// answers what was set (identity before), GetViewport the viewport the test gives it. Every
// other method answers D3DERR_NOTAVAILABLE.
#pragma once

#include <d3d9.h>
#include <windows.h>

#include <map>
#include <vector>

#include "unavailable_device.h"

namespace quorvane::tests {

enum class CallKind {
    SetFVF,
    SetTexture,
    SetMaterial,
    SetTransform,
    SetRenderState,
    DrawPrimitiveUP
};

struct RecordedCall {
    CallKind kind;
    DWORD value = 0;     // FVF, texture stage, transform or render state type
    DWORD argument = 0;  // render-state value
    IDirect3DBaseTexture9* texture = nullptr;
    D3DMATRIX matrix{};       // SetTransform
    D3DMATERIAL9 material{};  // SetMaterial
};

struct RecordedDraw {
    D3DPRIMITIVETYPE type;
    UINT primitiveCount;
    UINT stride;
    DWORD fvf;              // current at the draw
    D3DMATRIX world;        // current at the draw
    D3DMATERIAL9 material;  // current at the draw
    std::vector<unsigned char> vertices;

    template <typename Vertex>
    const Vertex& VertexAt(std::size_t index) const
    {
        return *reinterpret_cast<const Vertex*>(vertices.data() + index * stride);
    }
    std::size_t VertexCount() const { return stride == 0 ? 0 : vertices.size() / stride; }
};

class RecordingDevice final : public UnavailableDevice {
public:
    std::vector<RecordedCall> calls;
    std::vector<RecordedDraw> draws;
    D3DVIEWPORT9 viewport{0, 0, 800, 600, 0.0f, 1.0f};
    bool failGetViewport = false;

    // Calls of one kind, in order.
    std::vector<RecordedCall> CallsOf(CallKind kind) const;

    // Recorded
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE State, const D3DMATRIX* pMatrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE State, D3DMATRIX* pMatrix) override;
    HRESULT GetViewport(D3DVIEWPORT9* pViewport) override;
    HRESULT SetMaterial(const D3DMATERIAL9* pMaterial) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value) override;
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture) override;
    HRESULT SetFVF(DWORD FVF) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE PrimitiveType, UINT PrimitiveCount, const void* pVertexStreamZeroData,
                            UINT VertexStreamZeroStride) override;

private:
    std::map<DWORD, D3DMATRIX> transforms_;
    D3DMATERIAL9 material_{};
    DWORD fvf_ = 0;
};

}  // namespace quorvane::tests

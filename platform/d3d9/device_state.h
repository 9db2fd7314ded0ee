// Everything an application sets on a device, with Direct3D 9's defaults. The device keeps one;
// Reset restores the defaults. Bound resources are held by private references (resource.h).
#pragma once

#include <d3d9.h>

#include <array>
#include <map>

namespace quorvane::d3d9 {

class Texture;
class VertexBuffer;
class IndexBuffer;

constexpr DWORD renderStateCount = 256;
constexpr DWORD textureStageCount = 8;
constexpr DWORD textureStageStateCount = 33;
constexpr DWORD samplerCount = 16;
constexpr DWORD samplerStateCount = 14;
constexpr DWORD streamCount = 16;
constexpr DWORD maxActiveLights = 8;
constexpr DWORD transformStateCount = 512;  // D3DTS_WORLDMATRIX(255) is the last

struct LightSlot {
    D3DLIGHT9 light{};
    bool enabled = false;
};

struct StreamSource {
    VertexBuffer* buffer = nullptr;
    UINT offset = 0;
    UINT stride = 0;
};

struct DeviceState {
    std::array<DWORD, renderStateCount> renderStates{};
    std::array<D3DMATRIX, transformStateCount> transforms{};  // by D3DTRANSFORMSTATETYPE
    D3DVIEWPORT9 viewport{};
    D3DMATERIAL9 material{};
    std::map<DWORD, LightSlot> lights;  // by index; Direct3D allows any index
    std::array<std::array<DWORD, textureStageStateCount>, textureStageCount> stageStates{};
    std::array<std::array<DWORD, samplerStateCount>, samplerCount> samplerStates{};
    std::array<Texture*, samplerCount> textures{};
    DWORD fvf = 0;
    std::array<StreamSource, streamCount> streams{};
    IndexBuffer* indices = nullptr;
};

// A state with every value at its Direct3D default; `depthEnabled` is D3DRS_ZENABLE's default,
// TRUE when the device has an automatic depth buffer. No resources are bound.
DeviceState DefaultDeviceState(bool depthEnabled, const D3DVIEWPORT9& viewport);

D3DMATRIX IdentityMatrix();

// View, projection, the texture transforms and the world matrices.
bool IsTransformState(DWORD state);

// The light Direct3D returns for an index that was enabled without ever being set: a white
// directional light shining along +z.
D3DLIGHT9 DefaultLight();

}  // namespace quorvane::d3d9

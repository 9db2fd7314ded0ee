// Saves the device states a drawing helper changes and puts them back afterwards, so that the
// helper leaves the device as it found it (what ID3DXSprite's state block does in D3DX). Stream 0
// and the index buffer are saved from the start: drawing from user memory unbinds them.
#pragma once

#include <d3d9.h>

#include <vector>

namespace quorvane::d3dx9 {

class DeviceStateSaver {
public:
    explicit DeviceStateSaver(IDirect3DDevice9* device);
    ~DeviceStateSaver();
    DeviceStateSaver(const DeviceStateSaver&) = delete;
    DeviceStateSaver& operator=(const DeviceStateSaver&) = delete;

    // Each setter records the current value the first time the state is touched.
    void SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    void SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    void SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
    void SetTexture(DWORD stage, IDirect3DBaseTexture9* texture);
    void SetFVF(DWORD fvf);

private:
    struct Saved {
        enum class Kind {
            render,
            stage,
            sampler
        } kind;
        DWORD slot;
        DWORD type;
        DWORD value;
    };
    bool AlreadySaved(Saved::Kind kind, DWORD slot, DWORD type) const;

    IDirect3DDevice9* device_;
    std::vector<Saved> saved_;
    std::vector<std::pair<DWORD, IDirect3DBaseTexture9*>> textures_;  // counted references
    bool fvfSaved_ = false;
    DWORD fvf_ = 0;
    // Counted references, or null.
    IDirect3DVertexBuffer9* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;
    IDirect3DIndexBuffer9* indices_ = nullptr;
};

}  // namespace quorvane::d3dx9

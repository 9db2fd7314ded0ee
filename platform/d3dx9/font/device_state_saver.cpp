#include "d3dx9/font/device_state_saver.h"

#include <algorithm>

namespace quorvane::d3dx9 {

DeviceStateSaver::DeviceStateSaver(IDirect3DDevice9* device) : device_(device)
{
    if (FAILED(device_->GetStreamSource(0, &stream_, &streamOffset_, &streamStride_))) {
        stream_ = nullptr;
    }
    if (FAILED(device_->GetIndices(&indices_))) {
        indices_ = nullptr;
    }
}

DeviceStateSaver::~DeviceStateSaver()
{
    // Restored in reverse, so a state touched twice ends at its first recorded value.
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        switch (it->kind) {
        case Saved::Kind::render: device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(it->type), it->value); break;
        case Saved::Kind::stage:
            device_->SetTextureStageState(it->slot, static_cast<D3DTEXTURESTAGESTATETYPE>(it->type), it->value);
            break;
        case Saved::Kind::sampler:
            device_->SetSamplerState(it->slot, static_cast<D3DSAMPLERSTATETYPE>(it->type), it->value);
            break;
        }
    }
    for (auto& [stage, texture] : textures_) {
        device_->SetTexture(stage, texture);
        if (texture != nullptr) {
            texture->Release();
        }
    }
    if (fvfSaved_) {
        device_->SetFVF(fvf_);
    }
    device_->SetStreamSource(0, stream_, streamOffset_, streamStride_);
    device_->SetIndices(indices_);
    if (stream_ != nullptr) {
        stream_->Release();
    }
    if (indices_ != nullptr) {
        indices_->Release();
    }
}

bool DeviceStateSaver::AlreadySaved(Saved::Kind kind, DWORD slot, DWORD type) const
{
    return std::any_of(saved_.begin(), saved_.end(),
                       [&](const Saved& s) { return s.kind == kind && s.slot == slot && s.type == type; });
}

void DeviceStateSaver::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    DWORD old = 0;
    if (!AlreadySaved(Saved::Kind::render, 0, state) && SUCCEEDED(device_->GetRenderState(state, &old))) {
        saved_.push_back({Saved::Kind::render, 0, static_cast<DWORD>(state), old});
    }
    device_->SetRenderState(state, value);
}

void DeviceStateSaver::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value)
{
    DWORD old = 0;
    if (!AlreadySaved(Saved::Kind::stage, stage, type) && SUCCEEDED(device_->GetTextureStageState(stage, type, &old))) {
        saved_.push_back({Saved::Kind::stage, stage, static_cast<DWORD>(type), old});
    }
    device_->SetTextureStageState(stage, type, value);
}

void DeviceStateSaver::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value)
{
    DWORD old = 0;
    if (!AlreadySaved(Saved::Kind::sampler, sampler, type) &&
        SUCCEEDED(device_->GetSamplerState(sampler, type, &old))) {
        saved_.push_back({Saved::Kind::sampler, sampler, static_cast<DWORD>(type), old});
    }
    device_->SetSamplerState(sampler, type, value);
}

void DeviceStateSaver::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture)
{
    const bool saved = std::any_of(textures_.begin(), textures_.end(), [&](const auto& t) { return t.first == stage; });
    IDirect3DBaseTexture9* old = nullptr;
    if (!saved && SUCCEEDED(device_->GetTexture(stage, &old))) {
        textures_.emplace_back(stage, old);  // GetTexture added a reference
    }
    device_->SetTexture(stage, texture);
}

void DeviceStateSaver::SetFVF(DWORD fvf)
{
    if (!fvfSaved_ && SUCCEEDED(device_->GetFVF(&fvf_))) {
        fvfSaved_ = true;
    }
    device_->SetFVF(fvf);
}

}  // namespace quorvane::d3dx9

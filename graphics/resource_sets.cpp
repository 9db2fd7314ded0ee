// Resource sets: per set name, one texture registry and one mesh registry bound to the same
// reader. The maps' ascending set-name order is the order of teardown and notification.
#include "graphics/draw_device.h"

#include "resources/mesh_registry.h"
#include "resources/texture_registry.h"

namespace {

constexpr const wchar_t* sphereFileName = L"mdl\\sphere.x";

template <class Registry>
Registry* Find(const std::map<std::wstring, std::unique_ptr<Registry>>& registries, const std::wstring& setName)
{
    auto entry = registries.find(setName);
    return entry != registries.end() ? entry->second.get() : nullptr;
}

// Clears and destroys every registry in set-name order, then empties the map.
template <class Registry>
void CloseRegistries(std::map<std::wstring, std::unique_ptr<Registry>>& registries)
{
    for (auto& entry : registries) {
        if (entry.second) {
            entry.second->Clear();
            entry.second.reset();
        }
    }
    registries.clear();
}

template <class Registry>
void Notify(const std::map<std::wstring, std::unique_ptr<Registry>>& registries, void (Registry::*notification)())
{
    for (const auto& entry : registries) {
        if (entry.second)
            (entry.second.get()->*notification)();
    }
}

}  // namespace

// Throws std::bad_alloc when a registry cannot be made; Open turns that into E_OUTOFMEMORY.
void CDrawDevice::OpenResourceSet(const std::wstring& setName, const RefPtr<CFileReaderBase4>& reader)
{
    textureRegistries_.emplace(setName, std::make_unique<TextureRegistry>(this, reader, setName));
    meshRegistries_.emplace(setName, std::make_unique<MeshRegistry>(this, reader, setName));
}

// Meshes go first: deleting one releases its textures into the texture registries.
void CDrawDevice::CloseResourceSets()
{
    CloseRegistries(meshRegistries_);
    CloseRegistries(textureRegistries_);
}

void CDrawDevice::NotifyLost()
{
    Notify(textureRegistries_, &TextureRegistry::OnLostDevice);
    Notify(meshRegistries_, &MeshRegistry::OnLostDevice);
    if (resetHandler_)
        resetHandler_->OnLostDevice();
}

void CDrawDevice::NotifyReset()
{
    if (resetHandler_)
        resetHandler_->OnResetDevice();
    Notify(textureRegistries_, &TextureRegistry::OnResetDevice);
    Notify(meshRegistries_, &MeshRegistry::OnResetDevice);
}

int CDrawDevice::GetTexture(const std::wstring& setName, LPCWSTR fileName, Texture** texture)
{
    TextureRegistry* registry = Find(textureRegistries_, setName);
    return registry != nullptr ? registry->Get(fileName, texture) : 0;
}

TextureRegistry* CDrawDevice::FindTextureRegistry(const std::wstring& setName) const
{
    return Find(textureRegistries_, setName);
}

MeshRegistry* CDrawDevice::FindMeshRegistry(const std::wstring& setName) const
{
    return Find(meshRegistries_, setName);
}

int CDrawDevice::GetSphereMesh(const std::wstring& setName, Mesh** mesh)
{
    MeshRegistry* registry = Find(meshRegistries_, setName);
    return registry != nullptr ? registry->Get(sphereFileName, mesh) : 0;
}

// Loading an X file into a drawable system-memory mesh, and drawing it.
#include "resources/mesh.h"

#include "graphics/com_reference.h"
#include "graphics/draw_device.h"
#include "graphics/emissive_material.h"
#include "resources/file_bytes.h"
#include "resources/mesh_registry.h"
#include "resources/texture.h"

#include <new>
#include <utility>

namespace {

constexpr DWORD drawMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

}  // namespace

Mesh::Mesh(MeshRegistry* registry) : DeviceObject(registry)
{
}

Mesh::~Mesh()
{
    ReleaseMeshData();
    ReleaseTextures();
}

void Mesh::ReleaseMeshData()
{
    if (drawMesh != nullptr)
        std::exchange(drawMesh, nullptr)->Release();
    materials.clear();
    textureNames.clear();
    materialCount = 0;
}

void Mesh::ReleaseTextures()
{
    for (Texture*& texture : textures) {
        if (texture != nullptr)
            std::exchange(texture, nullptr)->Release();
    }
    textures.clear();
}

void Mesh::ReadMaterials(ID3DXBuffer* buffer, DWORD count)
{
    if (buffer == nullptr)
        count = 0;  // a file that declares no materials
    const auto* loaded = count != 0 ? static_cast<const D3DXMATERIAL*>(buffer->GetBufferPointer()) : nullptr;
    materials.resize(count);
    textureNames.resize(count);
    for (DWORD i = 0; i < count; ++i) {
        materials[i] = loaded[i].MatD3D;
        materials[i].Ambient = materials[i].Diffuse;
        textureNames[i] = loaded[i].pTextureFilename != nullptr ? loaded[i].pTextureFilename : "";
    }
    materialCount = count;
}

HRESULT Mesh::Load(IDirect3DDevice9* device, const RefPtr<CFileReaderBase4>& reader)
{
    ReleaseMeshData();
    if (device == nullptr)
        return E_FAIL;
    FileBytes bytes;
    if (!bytes.Open(reader, fileName.c_str()))
        return E_FAIL;

    ComReference<ID3DXBuffer> adjacency;
    ComReference<ID3DXBuffer> materialBuffer;
    ComReference<ID3DXMesh> mesh;
    DWORD count = 0;
    if (HRESULT hr = D3DXLoadMeshFromXInMemory(bytes.Data(), bytes.Size(), D3DXMESH_SYSTEMMEM, device, adjacency.Out(),
                                               materialBuffer.Out(), nullptr, &count, mesh.Out());
        FAILED(hr))
        return hr;
    try {
        ReadMaterials(materialBuffer.Get(), count);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }

    const bool hasNormals = (mesh->GetFVF() & D3DFVF_NORMAL) != 0;
    if (mesh->GetFVF() != drawMeshFvf) {
        ComReference<ID3DXMesh> cloned;
        if (HRESULT hr = mesh->CloneMeshFVF(mesh->GetOptions(), drawMeshFvf, device, cloned.Out()); FAILED(hr))
            return hr;
        mesh.Reset(cloned.Detach());
    }
    if (!hasNormals)
        D3DXComputeNormals(mesh.Get(), nullptr);
    const auto* adjacencyIn = adjacency ? static_cast<const DWORD*>(adjacency->GetBufferPointer()) : nullptr;
    constexpr DWORD optimizeFlags = DWORD(D3DXMESHOPT_VERTEXCACHE) | DWORD(D3DXMESH_SYSTEMMEM);
    return mesh->Optimize(optimizeFlags, adjacencyIn, nullptr, nullptr, nullptr, &drawMesh);
}

HRESULT Mesh::DrawTextured(CDrawDevice* drawDevice) const
{
    return Draw(drawDevice, nullptr);
}

HRESULT Mesh::DrawFlat(CDrawDevice* drawDevice, const D3DCOLORVALUE& color) const
{
    return Draw(drawDevice, &color);
}

HRESULT Mesh::Draw(CDrawDevice* drawDevice, const D3DCOLORVALUE* flatColor) const
{
    if (drawDevice == nullptr || drawDevice->device == nullptr)
        return E_INVALIDARG;
    if (drawMesh == nullptr)
        return E_FAIL;
    IDirect3DDevice9* device = drawDevice->device;
    if (flatColor != nullptr || textures.empty())
        device->SetTexture(0, nullptr);
    if (flatColor != nullptr) {
        const D3DMATERIAL9 flat = EmissiveMaterial(*flatColor);
        device->SetMaterial(&flat);
    }
    for (DWORD i = 0; i < materialCount; ++i) {
        if (flatColor == nullptr) {
            device->SetMaterial(&materials[i]);
            const Texture* texture = i < textures.size() ? textures[i] : nullptr;
            device->SetTexture(0, texture != nullptr ? texture->DrawTexture() : nullptr);
        }
        drawMesh->DrawSubset(i);
    }
    return S_OK;
}

// D3DXLoadMeshFromXInMemory over our X-file parser, and D3DXComputeNormals.
//
// The loaded mesh has format D3DFVF_XYZ, plus D3DFVF_NORMAL and D3DFVF_TEX1 when the file
// has normals or texture coordinates; faces stay in file order with the material index as
// attribute (no attribute table until Optimize). Materials come as D3DX gives them: Diffuse
// from the face colour, Ambient left black, texture names as narrow strings in the buffer.
// A mesh with more vertices than 16-bit indices reach gets D3DXMESH_32BIT.
#include <d3dx9mesh.h>
#include <d3dx9xof.h>

#include <cstring>
#include <new>

#include "d3dx9/d3dx_buffer.h"
#include "d3dx9/mesh/d3dx_mesh.h"
#include "d3dx9/mesh/mesh_algorithms.h"
#include "d3dx9/xfile/xfile_parser.h"

namespace {

using namespace quorvane;
using d3dx9::Buffer;
using d3dx9::Mesh;

// D3DXERR_LOADEDMESHHASNODATA by its value: mingw-w64's header spells the name differently.
constexpr HRESULT loadedMeshHasNoData = MAKE_DDHRESULT(2906);

HRESULT ResultOf(xfile::XFileError error)
{
    switch (error) {
    case xfile::XFileError::none: return D3D_OK;
    case xfile::XFileError::badHeader: return D3DXFERR_BADFILETYPE;
    case xfile::XFileError::compressed: return E_NOTIMPL;
    case xfile::XFileError::syntax:
    case xfile::XFileError::truncated: return D3DXFERR_PARSEERROR;
    case xfile::XFileError::badData:
    case xfile::XFileError::tooDeep: return D3DXERR_INVALIDDATA;
    case xfile::XFileError::noMesh: return loadedMeshHasNoData;
    }
    return E_FAIL;
}

D3DCOLORVALUE Color(const float* rgb, float alpha)
{
    return {rgb[0], rgb[1], rgb[2], alpha};
}

// D3DXMATERIAL entries followed by their texture names, the pointers into the same buffer.
Buffer* MakeMaterialBuffer(const std::vector<xfile::XMaterial>& materials)
{
    std::size_t size = materials.size() * sizeof(D3DXMATERIAL);
    for (const xfile::XMaterial& material : materials) {
        size += material.textureFilename.empty() ? 0 : material.textureFilename.size() + 1;
    }
    if (size > UINT32_MAX) {
        return nullptr;
    }
    Buffer* buffer = Buffer::Create(static_cast<DWORD>(size));
    if (buffer == nullptr) {
        return nullptr;
    }
    auto* entries = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
    char* names = reinterpret_cast<char*>(entries + materials.size());
    for (std::size_t i = 0; i < materials.size(); ++i) {
        const xfile::XMaterial& source = materials[i];
        D3DXMATERIAL& entry = entries[i];
        entry.MatD3D.Diffuse = Color(source.faceColor, source.faceColor[3]);
        entry.MatD3D.Ambient = D3DCOLORVALUE{0, 0, 0, 0};
        entry.MatD3D.Specular = Color(source.specular, 1.0f);
        entry.MatD3D.Emissive = Color(source.emissive, 1.0f);
        entry.MatD3D.Power = source.power;
        entry.pTextureFilename = nullptr;
        if (!source.textureFilename.empty()) {
            std::memcpy(names, source.textureFilename.c_str(), source.textureFilename.size() + 1);
            entry.pTextureFilename = names;
            names += source.textureFilename.size() + 1;
        }
    }
    return buffer;
}

Buffer* MakeAdjacencyBuffer(const xfile::MeshDescription& description)
{
    const std::vector<std::uint32_t> adjacency =
        meshops::ComputeAdjacency(description.indices.data(), description.TriangleCount(), description.pointIds.data());
    Buffer* buffer = Buffer::Create(static_cast<DWORD>(adjacency.size() * sizeof(DWORD)));
    if (buffer != nullptr) {
        std::memcpy(buffer->GetBufferPointer(), adjacency.data(), adjacency.size() * sizeof(DWORD));
    }
    return buffer;
}

// The description's vertices interleaved straight into the vertex buffer, then its faces.
HRESULT FillMesh(Mesh* mesh, const xfile::MeshDescription& description)
{
    const d3dx9::FvfLayout& layout = mesh->Layout();
    void* locked = nullptr;
    if (HRESULT hr = mesh->LockVertexBuffer(0, &locked); FAILED(hr)) {
        return hr;
    }
    auto* vertices = static_cast<BYTE*>(locked);
    for (std::size_t v = 0; v < description.VertexCount(); ++v) {
        BYTE* vertex = vertices + v * layout.stride;
        std::memcpy(vertex, &description.positions[v * 3], 12);
        if (description.hasNormals) {
            std::memcpy(vertex + layout.normal, &description.normals[v * 3], 12);
        }
        if (description.hasTextureCoordinates) {
            std::memcpy(vertex + layout.texture[0], &description.textureCoordinates[v * 2], 8);
        }
    }
    mesh->UnlockVertexBuffer();
    return mesh->WriteFaces(description.indices.data(), description.attributes.data());
}

HRESULT LoadMesh(const BYTE* bytes, DWORD size, DWORD options, IDirect3DDevice9* device, LPD3DXBUFFER* adjacencyOut,
                 LPD3DXBUFFER* materialsOut, LPD3DXBUFFER* effectsOut, DWORD* materialCountOut, LPD3DXMESH* meshOut)
{
    // Optimize's face order is worked out on a second thread from the moment the faces are read,
    // while the rest of the file is parsed, the mesh filled and its adjacency computed; when the
    // merged mesh's faces turn out not to be those expected, it starts again from them.
    std::shared_ptr<d3dx9::PendingCacheOrder> order;
    const xfile::FacesExpected startOrder = [&order](std::vector<std::uint32_t> indices,
                                                     std::vector<std::uint32_t> attributes, std::size_t vertexCount) {
        order = d3dx9::PendingCacheOrder::Start(std::move(indices), std::move(attributes), vertexCount);
    };
    xfile::MeshDescription description;
    if (HRESULT hr = ResultOf(xfile::ParseXFile(bytes, size, description, startOrder)); FAILED(hr)) {
        return hr;
    }
    if (order == nullptr ||
        !order->StartedFrom(description.indices, description.attributes, description.VertexCount())) {
        order = d3dx9::PendingCacheOrder::Start(description.indices, description.attributes, description.VertexCount());
    }
    const DWORD fvf = D3DFVF_XYZ | (description.hasNormals ? D3DFVF_NORMAL : 0) |
                      (description.hasTextureCoordinates ? D3DFVF_TEX1 : 0);
    if (description.VertexCount() > 0x10000) {
        options |= D3DXMESH_32BIT;
    }
    Mesh* mesh = nullptr;
    if (HRESULT hr = Mesh::Create(static_cast<DWORD>(description.TriangleCount()),
                                  static_cast<DWORD>(description.VertexCount()), options, fvf, device, &mesh);
        FAILED(hr)) {
        return hr;
    }
    mesh->SetPendingCacheOrder(std::move(order));
    if (HRESULT hr = FillMesh(mesh, description); FAILED(hr)) {
        mesh->Release();
        return hr;
    }

    Buffer* adjacency = adjacencyOut != nullptr ? MakeAdjacencyBuffer(description) : nullptr;
    Buffer* materials =
        materialsOut != nullptr && !description.materials.empty() ? MakeMaterialBuffer(description.materials) : nullptr;
    // One empty effect instance per material: X files name no effects.
    Buffer* effects =
        effectsOut != nullptr && !description.materials.empty()
            ? Buffer::Create(static_cast<DWORD>(description.materials.size() * sizeof(D3DXEFFECTINSTANCE)))
            : nullptr;
    const bool allMade = (adjacencyOut == nullptr || adjacency != nullptr) &&
                         (materialsOut == nullptr || description.materials.empty() || materials != nullptr) &&
                         (effectsOut == nullptr || description.materials.empty() || effects != nullptr);
    if (!allMade) {
        SafeRelease(adjacency);
        SafeRelease(materials);
        SafeRelease(effects);
        mesh->Release();
        return E_OUTOFMEMORY;
    }
    if (adjacencyOut != nullptr) {
        *adjacencyOut = adjacency;
    }
    if (materialsOut != nullptr) {
        *materialsOut = materials;
    }
    if (effectsOut != nullptr) {
        *effectsOut = effects;
    }
    if (materialCountOut != nullptr) {
        *materialCountOut = static_cast<DWORD>(description.materials.size());
    }
    *meshOut = mesh;
    return D3D_OK;
}

}  // namespace

extern "C" HRESULT WINAPI D3DXLoadMeshFromXInMemory(LPCVOID Memory, DWORD SizeOfMemory, DWORD Options,
                                                    LPDIRECT3DDEVICE9 pD3DDevice, LPD3DXBUFFER* ppAdjacency,
                                                    LPD3DXBUFFER* ppMaterials, LPD3DXBUFFER* ppEffectInstances,
                                                    DWORD* pNumMaterials, LPD3DXMESH* ppMesh)
{
    for (LPD3DXBUFFER* out : {ppAdjacency, ppMaterials, ppEffectInstances}) {
        if (out != nullptr) {
            *out = nullptr;
        }
    }
    if (pNumMaterials != nullptr) {
        *pNumMaterials = 0;
    }
    if (ppMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *ppMesh = nullptr;
    if (Memory == nullptr || SizeOfMemory == 0 || pD3DDevice == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    try {
        return LoadMesh(static_cast<const BYTE*>(Memory), SizeOfMemory, Options, pD3DDevice, ppAdjacency, ppMaterials,
                        ppEffectInstances, pNumMaterials, ppMesh);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

extern "C" HRESULT WINAPI D3DXComputeNormals(LPD3DXBASEMESH pMesh, const DWORD* pAdjacency)
{
    if (pMesh == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    d3dx9::FvfLayout layout;
    if (!d3dx9::DescribeFvf(pMesh->GetFVF(), layout) || layout.normal == d3dx9::FvfLayout::absent) {
        return D3DERR_INVALIDCALL;
    }
    void* vertices = nullptr;
    void* indices = nullptr;
    if (HRESULT hr = pMesh->LockVertexBuffer(0, &vertices); FAILED(hr)) {
        return hr;
    }
    if (HRESULT hr = pMesh->LockIndexBuffer(D3DLOCK_READONLY, &indices); FAILED(hr)) {
        pMesh->UnlockVertexBuffer();
        return hr;
    }
    const std::size_t faceCount = pMesh->GetNumFaces();
    std::vector<std::uint32_t> wide(faceCount * 3);
    if (pMesh->GetOptions() & D3DXMESH_32BIT) {
        std::memcpy(wide.data(), indices, wide.size() * 4);
    } else {
        const auto* narrow = static_cast<const std::uint16_t*>(indices);
        std::copy(narrow, narrow + wide.size(), wide.begin());
    }
    // With adjacency, copies of a vertex at the same place are smoothed together; without it
    // each vertex averages only the faces that use it.
    meshops::ComputeVertexNormals(static_cast<std::uint8_t*>(vertices), pMesh->GetNumVertices(), layout.stride,
                                  static_cast<std::size_t>(layout.normal), wide.data(), faceCount,
                                  pAdjacency != nullptr);
    pMesh->UnlockIndexBuffer();
    pMesh->UnlockVertexBuffer();
    return D3D_OK;
}

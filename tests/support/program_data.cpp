#include "program_data.h"

#include <fstream>
#include <iterator>

namespace quorvane::tests {

namespace {

constexpr DWORD programMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

// `mesh` in the program's layout: itself, or a clone in its place.
ID3DXMesh* InProgramLayout(IDirect3DDevice9* device, ID3DXMesh* mesh)
{
    if (mesh->GetFVF() == programMeshFvf) {
        return mesh;
    }
    ID3DXMesh* cloned = nullptr;
    mesh->CloneMeshFVF(mesh->GetOptions(), programMeshFvf, device, &cloned);
    mesh->Release();
    return cloned;
}

}  // namespace

std::vector<std::uint8_t> ReadDataFile(const std::string& name)
{
    std::ifstream in(std::string(QUORVANE_DATA_DIR) + "/mdl/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ID3DXMesh* LoadProgramMesh(IDirect3DDevice9* device, const std::vector<std::uint8_t>& file, ID3DXBuffer** materials,
                           DWORD* materialCount)
{
    ID3DXMesh* loaded = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    if (file.empty() || FAILED(D3DXLoadMeshFromXInMemory(file.data(), DWORD(file.size()), D3DXMESH_SYSTEMMEM, device,
                                                         &adjacency, materials, nullptr, materialCount, &loaded))) {
        return nullptr;
    }
    loaded = InProgramLayout(device, loaded);
    ID3DXMesh* optimized = nullptr;
    if (loaded != nullptr) {
        loaded->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM,
                         static_cast<const DWORD*>(adjacency->GetBufferPointer()), nullptr, nullptr, nullptr,
                         &optimized);
        loaded->Release();
    }
    adjacency->Release();
    return optimized;
}

IDirect3DTexture9* LoadProgramTexture(IDirect3DDevice9* device, const std::vector<std::uint8_t>& file,
                                      IDirect3DTexture9** source)
{
    *source = nullptr;
    if (file.empty() || FAILED(D3DXCreateTextureFromFileInMemoryEx(device, file.data(), UINT(file.size()), 0, 0, 0, 0,
                                                                   D3DFMT_UNKNOWN, D3DPOOL_SYSTEMMEM, D3DX_DEFAULT,
                                                                   D3DX_DEFAULT, 0, nullptr, nullptr, source))) {
        return nullptr;
    }
    return CopyToDefaultPool(device, *source);
}

IDirect3DTexture9* CopyToDefaultPool(IDirect3DDevice9* device, IDirect3DTexture9* source)
{
    D3DSURFACE_DESC desc{};
    IDirect3DTexture9* texture = nullptr;
    if (source->GetLevelDesc(0, &desc) != D3D_OK ||
        device->CreateTexture(desc.Width, desc.Height, 1, 0, desc.Format, D3DPOOL_DEFAULT, &texture, nullptr) !=
            D3D_OK) {
        return nullptr;
    }
    IDirect3DSurface9* from = nullptr;
    IDirect3DSurface9* to = nullptr;
    source->GetSurfaceLevel(0, &from);
    texture->GetSurfaceLevel(0, &to);
    const HRESULT copied = device->UpdateSurface(from, nullptr, to, nullptr);
    from->Release();
    to->Release();
    if (copied != D3D_OK) {
        texture->Release();
        return nullptr;
    }
    return texture;
}

}  // namespace quorvane::tests

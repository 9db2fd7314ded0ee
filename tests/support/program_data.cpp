#include "program_data.h"

#include <fstream>
#include <iterator>

#include "resources/file_reader4.h"
#include "resources/texture_source.h"

namespace quorvane::tests {

std::vector<std::uint8_t> ReadDataFile(const std::string& name)
{
    std::ifstream in(std::string(QUORVANE_DATA_DIR) + "/mdl/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

RefPtr<CFileReaderBase4> DataReader()
{
    const std::string directory = QUORVANE_DATA_DIR;
    return new CFileReader4(std::wstring(directory.begin(), directory.end()).c_str());
}

std::unique_ptr<Mesh> LoadProgramMesh(IDirect3DDevice9* device)
{
    auto mesh = std::make_unique<Mesh>(nullptr);
    mesh->fileName = L"mdl\\sphere.x";
    if (FAILED(mesh->Load(device, DataReader())))
        return nullptr;
    return mesh;
}

IDirect3DTexture9* LoadProgramTexture(IDirect3DDevice9* device, IDirect3DTexture9** source)
{
    if (!LoadTextureSource(source, device, DataReader(), L"mdl\\" QUORVANE_EARTH_IMAGE))
        return nullptr;
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

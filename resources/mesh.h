// A triangle mesh loaded from an X file, with the material of each subset and one texture per
// subset. Everything it holds lives in system memory, so device loss and reset leave it alone.
#pragma once

#include "graphics/device_object.h"
#include "graphics/reference_count.h"
#include "resources/file_reader.h"

#include <d3dx9.h>
#include <windows.h>

#include <string>
#include <vector>

class CDrawDevice;
class MeshRegistry;
class Texture;

class Mesh final : public DeviceObject {
public:
    explicit Mesh(MeshRegistry* registry);
    ~Mesh() override;  // lets go of the mesh data and of one reference to each texture

    // Reads fileName through reader (or maps the name itself without one) and loads it into
    // drawMesh: format D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1 in system memory (cloned when
    // the file has another format, normals computed when it has none), ordered for the vertex
    // cache. Each material's ambient colour is taken equal to its diffuse colour. E_FAIL for
    // no device or no bytes; D3DX's result when loading, cloning or ordering fails.
    HRESULT Load(IDirect3DDevice9* device, const RefPtr<CFileReaderBase4>& reader);

    // Draws every subset with its own material and texture (the default-pool copy, or the
    // system-memory source while there is none). The caller sets transforms and states.
    HRESULT DrawTextured(CDrawDevice* drawDevice) const;
    // Draws every subset untextured with one material: emissive color, black diffuse, ambient
    // and specular carrying color's alpha.
    HRESULT DrawFlat(CDrawDevice* drawDevice, const D3DCOLORVALUE& color) const;

    // Releases one reference of each texture and empties the slots.
    void ReleaseTextures();

    std::wstring fileName;  // the key in the registry, at most MAX_PATH - 1 units
    DWORD materialCount = 0;
    std::vector<D3DMATERIAL9> materials;
    std::vector<std::string> textureNames;  // system code page; empty for no texture
    ID3DXMesh* drawMesh = nullptr;
    std::vector<Texture*> textures;  // one slot per material; null where there is none

private:
    HRESULT Draw(CDrawDevice* drawDevice, const D3DCOLORVALUE* flatColor) const;
    void ReleaseMeshData();
    void ReadMaterials(ID3DXBuffer* buffer, DWORD count);
};

// Looking meshes up by file name, loading them with their subset textures on first request,
// and erasing the released.
#include "resources/mesh_registry.h"

#include "graphics/draw_device.h"
#include "resources/texture.h"

#include <new>
#include <utility>

namespace {

// The text before the last backslash, or nothing: "mdl\sphere.x" gives "mdl".
std::wstring DirectoryOf(const std::wstring& fileName)
{
    const std::size_t separator = fileName.rfind(L'\\');
    return separator == std::wstring::npos ? std::wstring() : fileName.substr(0, separator);
}

// A texture name from the X file, in the system code page; empty when it cannot be converted.
std::wstring AnsiToWide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length) != length)
        return std::wstring();
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

}  // namespace

MeshRegistry::MeshRegistry(CDrawDevice* owner, RefPtr<CFileReaderBase4> reader, std::wstring name)
    : DeviceObjectRegistry(owner), reader_(std::move(reader)), name_(std::move(name))
{
}

BOOL MeshRegistry::Get(LPCWSTR fileName, Mesh** mesh)
{
    if (mesh == nullptr || fileName == nullptr || lstrlenW(fileName) >= MAX_PATH)
        return FALSE;
    try {
        return meshes_.Share(fileName, mesh, [&] {
            Mesh* created = nullptr;
            return SUCCEEDED(Create(fileName, &created)) ? created : nullptr;
        });
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

void MeshRegistry::EraseReleased(DeviceObject* object)
{
    auto* mesh = static_cast<Mesh*>(object);
    if (meshes_.Find(mesh->fileName) == mesh)
        meshes_.Erase(mesh->fileName);
    else
        delete mesh;  // never inserted: it is only the caller's
}

HRESULT MeshRegistry::Create(LPCWSTR fileName, Mesh** mesh)
{
    if (Owner() == nullptr || Owner()->device == nullptr)
        return E_INVALIDARG;
    Mesh* created = new (std::nothrow) Mesh(this);
    if (created == nullptr)
        return E_OUTOFMEMORY;
    HRESULT hr = E_OUTOFMEMORY;
    try {
        created->fileName = fileName;
        hr = created->Load(Owner()->device, reader_);
        if (SUCCEEDED(hr))
            AttachTextures(*created);
    } catch (const std::bad_alloc&) {
        hr = E_OUTOFMEMORY;
    }
    if (FAILED(hr)) {
        delete created;
        return hr;
    }
    *mesh = created;
    return S_OK;
}

// Each material's texture, named relative to the X file's directory, from the texture registry
// of the same set: a name the Earth request also uses shares that texture.
void MeshRegistry::AttachTextures(Mesh& mesh)
{
    mesh.textures.assign(mesh.materialCount, nullptr);
    const std::wstring directory = DirectoryOf(mesh.fileName);
    for (DWORD i = 0; i < mesh.materialCount; ++i) {
        const std::wstring name = AnsiToWide(mesh.textureNames[i]);
        if (name.empty())
            continue;  // no texture: the slot stays empty
        const std::wstring path = directory.empty() ? name : directory + L'\\' + name;
        Owner()->GetTexture(name_, path.c_str(), &mesh.textures[i]);
    }
}

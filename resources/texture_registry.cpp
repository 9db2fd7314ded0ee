// Looking textures up by file name, loading them on first request, and erasing the released.
#include "resources/texture_registry.h"

#include "graphics/com_reference.h"
#include "graphics/draw_device.h"
#include "resources/texture_source.h"

#include <new>
#include <utility>

TextureRegistry::TextureRegistry(CDrawDevice* owner, RefPtr<CFileReaderBase4> reader, std::wstring name)
    : DeviceObjectRegistry(owner), reader_(std::move(reader)), name_(std::move(name))
{
}

BOOL TextureRegistry::Get(LPCWSTR fileName, Texture** texture)
{
    if (texture == nullptr || fileName == nullptr)
        return FALSE;
    try {
        return textures_.Share(std::wstring(fileName), texture, [&] {
            Texture* loaded = nullptr;
            return Load(&loaded, fileName) ? loaded : nullptr;
        });
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL TextureRegistry::Insert(Texture* texture)
{
    try {
        return texture != nullptr && textures_.Insert(texture->key, texture);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

void TextureRegistry::EraseReleased(DeviceObject* object)
{
    auto* texture = static_cast<Texture*>(object);
    if (textures_.Find(texture->key) == texture)
        textures_.Erase(texture->key);
    else
        delete texture;  // never inserted: it is only the caller's
}

BOOL TextureRegistry::Load(Texture** texture, LPCWSTR fileName)
{
    *texture = nullptr;
    if (Owner() == nullptr || Owner()->device == nullptr)
        return FALSE;
    ComReference<IDirect3DTexture9> source;
    if (!LoadTextureSource(source.Out(), Owner()->device, reader_, fileName))
        return FALSE;
    return SUCCEEDED(Texture::Create(source.Get(), this, texture, std::wstring(fileName)));
}

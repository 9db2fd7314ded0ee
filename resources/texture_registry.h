// The textures of one resource set, shared by key: a file name for loaded images, a number for
// images the program makes. Each hand-out raises the texture's refCount; the release that
// brings it to zero erases and deletes it.
#pragma once

#include "graphics/device_object.h"
#include "graphics/device_object_table.h"
#include "graphics/reference_count.h"
#include "resources/file_reader.h"
#include "resources/texture.h"
#include "resources/texture_key.h"

#include <windows.h>

#include <map>
#include <string>

class CDrawDevice;

class TextureRegistry final : public DeviceObjectRegistry {
public:
    // Textures of the set called name, loaded through reader (null: file names are paths) with
    // the device of owner.
    TextureRegistry(CDrawDevice* owner, RefPtr<CFileReaderBase4> reader, std::wstring name);

    // The texture of fileName with one more reference for the caller, loaded on first request.
    // FALSE, with nothing made or inserted, when the file cannot be had or decoded.
    BOOL Get(LPCWSTR fileName, Texture** texture);

    // Inserts a texture made with Texture::Create under its key; FALSE when the key is taken.
    BOOL Insert(Texture* texture);

    // Deletes the texture stored under key, if any, and removes the entry.
    void Erase(const TextureKey& key) { textures_.Erase(key); }
    // Deletes every texture whatever its refCount.
    void Clear() { textures_.Clear(); }

    void OnLostDevice() { textures_.Notify(&DeviceObject::OnLostDevice); }
    void OnResetDevice() { textures_.Notify(&DeviceObject::OnResetDevice); }

    void EraseReleased(DeviceObject* object) override;

    const std::wstring& Name() const { return name_; }
    const std::map<TextureKey, Texture*>& Textures() const { return textures_.Entries(); }

    INT nextNumber = 0;  // the last number handed out as a key

private:
    BOOL Load(Texture** texture, LPCWSTR fileName);

    DeviceObjectTable<TextureKey, Texture> textures_;
    RefPtr<CFileReaderBase4> reader_;
    std::wstring name_;
};

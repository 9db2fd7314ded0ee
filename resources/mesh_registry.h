// The meshes of one resource set, shared by file name. Each hand-out raises the mesh's
// refCount; the release that brings it to zero erases and deletes it.
#pragma once

#include "graphics/device_object.h"
#include "graphics/device_object_table.h"
#include "graphics/reference_count.h"
#include "resources/file_reader.h"
#include "resources/mesh.h"

#include <windows.h>

#include <map>
#include <string>

class CDrawDevice;

class MeshRegistry final : public DeviceObjectRegistry {
public:
    // Meshes of the set called name, loaded through reader (null: file names are paths) with
    // the device of owner; their textures come from owner's texture registry of the same set.
    MeshRegistry(CDrawDevice* owner, RefPtr<CFileReaderBase4> reader, std::wstring name);

    // The mesh of fileName with one more reference for the caller, loaded on first request.
    // FALSE, with nothing made or inserted, for a name of MAX_PATH units or more (refused,
    // never truncated) and for a file that cannot be loaded. A texture that cannot be had
    // leaves its slot empty and does not fail the mesh.
    BOOL Get(LPCWSTR fileName, Mesh** mesh);

    // Deletes the mesh stored under fileName, if any, and removes the entry.
    void Erase(const std::wstring& fileName) { meshes_.Erase(fileName); }
    // Deletes every mesh whatever its refCount.
    void Clear() { meshes_.Clear(); }

    void OnLostDevice() { meshes_.Notify(&DeviceObject::OnLostDevice); }
    void OnResetDevice() { meshes_.Notify(&DeviceObject::OnResetDevice); }

    void EraseReleased(DeviceObject* object) override;

    const std::wstring& Name() const { return name_; }
    const std::map<std::wstring, Mesh*>& Meshes() const { return meshes_.Entries(); }

private:
    HRESULT Create(LPCWSTR fileName, Mesh** mesh);
    void AttachTextures(Mesh& mesh);

    DeviceObjectTable<std::wstring, Mesh> meshes_;
    RefPtr<CFileReaderBase4> reader_;
    std::wstring name_;
};

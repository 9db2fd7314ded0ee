// Readers over the resources of a loaded module.
#pragma once

#include "resources/file_reader.h"

#include <windows.h>

// The base of module-resource readers.
class CFileReaderRes : public CFileReaderBase4 {};

// Serves the resources of one type from one module: a name is a resource name. The bytes are
// the module's own and stay valid while it is loaded.
class CFileReaderBR : public CFileReaderRes {
public:
    // resourceType is an integer identifier (MAKEINTRESOURCEW) or a type name that must
    // outlive the reader.
    CFileReaderBR(HMODULE moduleHandle, LPCWSTR resourceType) : moduleHandle(moduleHandle), resourceType(resourceType)
    {
    }

    // Always TRUE: a missing resource gives a null pointer and size 0, which loaders reject.
    BOOL OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name) override;

    // Nothing to end: module resources need no closing.
    void CloseFile(LPCWSTR name) override;

    HMODULE moduleHandle;
    LPCWSTR resourceType;
};

// Looking names up among a module's resources.
#include "resources/file_reader_res.h"

BOOL CFileReaderBR::OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name)
{
    LPCVOID bytes = nullptr;
    DWORD byteCount = 0;
    // Loading and sizing are skipped for a resource that is not there: Windows does not
    // promise what LoadResource does with a null handle.
    if (name != nullptr) {
        if (const HRSRC resource = FindResourceW(moduleHandle, name, resourceType)) {
            bytes = LockResource(LoadResource(moduleHandle, resource));
            byteCount = bytes != nullptr ? SizeofResource(moduleHandle, resource) : 0;
        }
    }
    if (data != nullptr)
        *data = bytes;
    if (size != nullptr)
        *size = byteCount;
    return TRUE;
}

void CFileReaderBR::CloseFile(LPCWSTR)
{
}

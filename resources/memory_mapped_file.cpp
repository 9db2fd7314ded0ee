// Mapping a file: open, size, named mapping object, whole-file view.
#include "resources/memory_mapped_file.h"

BOOL MakeMappingName(LPCWSTR path, WCHAR (&name)[MAX_PATH])
{
    name[0] = L'\0';
    if (path == nullptr || lstrlenW(path) >= MAX_PATH)
        return FALSE;
    int i = 0;
    for (; path[i] != L'\0'; ++i)
        name[i] = path[i] == L'\\' ? L'_' : path[i];
    name[i] = L'\0';
    return TRUE;
}

BOOL CMemoryMappedFileR4::Map(LPCWSTR path)
{
    Unmap();
    WCHAR mappingName[MAX_PATH];
    if (!MakeMappingName(path, mappingName))
        return FALSE;

    file_ = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file_ == INVALID_HANDLE_VALUE)
        return FALSE;

    DWORD sizeHigh = 0;  // asked for and ignored: sizes are 32-bit here
    size_ = GetFileSize(file_, &sizeHigh);
    // A named object: a second mapping of the same path receives the existing object.
    mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READONLY, 0, size_, mappingName);
    if (mapping_ != nullptr)
        view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0);
    if (view_ == nullptr) {
        Unmap();
        return FALSE;
    }
    return TRUE;
}

void CMemoryMappedFileR4::Unmap()
{
    if (view_ != nullptr)
        UnmapViewOfFile(view_);
    if (mapping_ != nullptr)
        CloseHandle(mapping_);
    if (file_ != nullptr && file_ != INVALID_HANDLE_VALUE)
        CloseHandle(file_);
    file_ = nullptr;
    mapping_ = nullptr;
    view_ = nullptr;
    size_ = 0;
}

// A whole file mapped read-only into memory through the Win32 file-mapping calls.
#pragma once

#include <windows.h>

// The name of a path's file-mapping object: the path with every backslash replaced by an
// underscore ("Data\mdl\sphere.x" gives "Data_mdl_sphere.x"). FALSE, with name empty, for a
// path that would not fit.
BOOL MakeMappingName(LPCWSTR path, WCHAR (&name)[MAX_PATH]);

class CMemoryMappedFileR4 {
public:
    CMemoryMappedFileR4() = default;
    ~CMemoryMappedFileR4() { Unmap(); }
    CMemoryMappedFileR4(const CMemoryMappedFileR4&) = delete;
    CMemoryMappedFileR4& operator=(const CMemoryMappedFileR4&) = delete;

    // Lets go of what is mapped, then maps the file at path whole. FALSE for a file that cannot
    // be opened, an empty file, a failed mapping or view, and a path of MAX_PATH units or more.
    BOOL Map(LPCWSTR path);

    // Unmaps the view and closes both handles; the object is empty again.
    void Unmap();

    LPCVOID View() const { return view_; }
    DWORD Size() const { return size_; }  // low 32 bits of the file size

private:
    HANDLE file_ = nullptr;  // null or INVALID_HANDLE_VALUE: no file open
    HANDLE mapping_ = nullptr;
    LPVOID view_ = nullptr;
    DWORD size_ = 0;
};

// Readers turn a relative file name ("mdl\sphere.x") into read-only bytes in memory. A reader
// is shared by RefPtr; every successful OpenFile is matched by one CloseFile of the same name,
// and the bytes stay valid until then.
#pragma once

#include "graphics/reference_count.h"

#include <windows.h>

class CFileReaderBase4 : public CReferenceCount {
public:
    // TRUE with the first byte and the byte count stored where the out pointers are non-null;
    // FALSE, outputs unwritten, when the file cannot be had. name is NUL-terminated.
    virtual BOOL OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name) = 0;

    // Ends one use of the name.
    virtual void CloseFile(LPCWSTR name) = 0;
};

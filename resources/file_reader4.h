// The reader over a directory: files are memory-mapped on first open and shared by name among
// all their current holders; the last CloseFile of a name unmaps it.
#pragma once

#include "graphics/reference_count.h"
#include "resources/file_reader.h"
#include "resources/memory_mapped_file.h"

#include <map>
#include <string>

class CFileReader4 : public CFileReaderBase4 {
public:
    // One open file: its mapping and the number of opens not yet closed.
    class CMMF : public CReferenceCount {
    public:
        LONG useCount = 0;
        CMemoryMappedFileR4 file;
    };

    // Copies the directory (may be empty: names are then used as they are). A directory of
    // MAX_PATH units or more makes every OpenFile fail rather than be truncated.
    explicit CFileReader4(LPCWSTR directory);

    // The path is the directory, "\" when it is not empty, and the name, unchanged otherwise.
    // Names compare case-sensitively: "a.x" and "A.x" are two entries. FALSE, with no entry
    // left behind, for a file that cannot be mapped (missing, empty, unreadable) and for a
    // path that would not fit MAX_PATH units.
    BOOL OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name) override;

    // Ends one use of the name; at the last one the entry goes and the view is unmapped.
    // A name that is not open changes nothing.
    void CloseFile(LPCWSTR name) override;

    // The number of names open now.
    std::size_t OpenNameCount() const { return entries_.size(); }

private:
    BOOL BuildPath(LPCWSTR name, WCHAR (&path)[MAX_PATH]) const;

    WCHAR directory_[MAX_PATH];
    bool directoryFits_;
    std::map<std::wstring, RefPtr<CMMF>> entries_;
};

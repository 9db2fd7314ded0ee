// The bytes of one named file for the length of one load: read through a reader when there is
// one, otherwise mapped by the name itself. The destructor lets go of them.
#pragma once

#include "graphics/reference_count.h"
#include "resources/file_reader.h"
#include "resources/memory_mapped_file.h"
#include "resources/reader_file.h"

#include <windows.h>

class FileBytes {
public:
    FileBytes() = default;
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // TRUE when the bytes are usable: the file opened, and it has a non-null, non-empty view.
    // A missing module resource opens with TRUE but has no bytes, and is refused here.
    BOOL Open(const RefPtr<CFileReaderBase4>& reader, LPCWSTR name);

    LPCVOID Data() const { return data_; }
    DWORD Size() const { return size_; }

private:
    ReaderFile readerFile_;
    CMemoryMappedFileR4 mapping_;
    LPCVOID data_ = nullptr;
    DWORD size_ = 0;
};

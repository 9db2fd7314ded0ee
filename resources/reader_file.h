// Holds one open file of a reader for the length of one load: the destructor closes it.
#pragma once

#include "graphics/reference_count.h"
#include "resources/file_reader.h"

#include <windows.h>

class ReaderFile {
public:
    ReaderFile() = default;
    ~ReaderFile() { Close(); }
    ReaderFile(const ReaderFile&) = delete;
    ReaderFile& operator=(const ReaderFile&) = delete;

    // Closes what is held, then opens name on reader and holds it (and a reference to the
    // reader). FALSE leaves the holder empty: a null reader, a name of MAX_PATH units or
    // more, or a failed OpenFile. The bytes are usable only when Data() is non-null and
    // Size() non-zero (a missing module resource opens with TRUE but has neither).
    BOOL Open(RefPtr<CFileReaderBase4> reader, LPCWSTR name);

    const RefPtr<CFileReaderBase4>& Reader() const { return reader_; }
    LPCWSTR Name() const { return name_; }
    LPCVOID Data() const { return data_; }
    DWORD Size() const { return size_; }

private:
    void Close();

    RefPtr<CFileReaderBase4> reader_;
    WCHAR name_[MAX_PATH] = {};
    LPCVOID data_ = nullptr;
    DWORD size_ = 0;
};

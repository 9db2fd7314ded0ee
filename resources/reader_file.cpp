// Opening and closing the one file a ReaderFile holds.
#include "resources/reader_file.h"

BOOL ReaderFile::Open(RefPtr<CFileReaderBase4> reader, LPCWSTR name)
{
    Close();
    if (!reader || name == nullptr || lstrlenW(name) >= MAX_PATH)
        return FALSE;
    if (!reader->OpenFile(&data_, &size_, name)) {
        data_ = nullptr;
        size_ = 0;
        return FALSE;
    }
    reader_ = reader;
    lstrcpyW(name_, name);
    return TRUE;
}

void ReaderFile::Close()
{
    if (reader_)
        reader_->CloseFile(name_);
    reader_.Reset();
    name_[0] = L'\0';
    data_ = nullptr;
    size_ = 0;
}

// Getting a file's bytes from a reader or from the file system directly.
#include "resources/file_bytes.h"

BOOL FileBytes::Open(const RefPtr<CFileReaderBase4>& reader, LPCWSTR name)
{
    data_ = nullptr;
    size_ = 0;
    if (reader) {
        if (!readerFile_.Open(reader, name) || !readerFile_.Reader())
            return FALSE;
        data_ = readerFile_.Data();
        size_ = readerFile_.Size();
    } else {
        if (name == nullptr || !mapping_.Map(name))
            return FALSE;
        data_ = mapping_.View();
        size_ = mapping_.Size();
    }
    return data_ != nullptr && size_ != 0;
}

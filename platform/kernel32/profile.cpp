// GetPrivateProfileIntW and WritePrivateProfileStringW over UTF-8 files. Every call reads the
// file afresh (there is no cache to flush), and every write replaces the file atomically.
#include "kernel32/atomic_file.h"
#include "kernel32/last_error.h"
#include "kernel32/native_path.h"
#include "kernel32/profile_document.h"
#include "kernel32/profile_written.h"
#include "kernel32/utf8.h"

#include <windows.h>

#include <cwchar>
#include <new>
#include <string>

using namespace quorvane::kernel32;

namespace {

bool ContainsAny(LPCWSTR text, LPCWSTR characters)
{
    return text != nullptr && std::wcspbrk(text, characters) != nullptr;
}

// Names and values that would not read back as written: a line break would split the line, a
// ']' would end a section name early, a '=' would end a key name early, and a key starting
// with ';' or '[' would read as a comment or a section.
bool IsWritable(LPCWSTR section, LPCWSTR key, LPCWSTR value)
{
    if (ContainsAny(section, L"\r\n]") || ContainsAny(key, L"\r\n=") || ContainsAny(value, L"\r\n")) {
        return false;
    }
    if (key != nullptr) {
        const std::wstring_view name = TrimBlanks(key);
        if (!name.empty() && (name.front() == L';' || name.front() == L'['))
            return false;
    }
    return true;
}

BOOL ApplyEdit(const std::string& path, LPCWSTR section, LPCWSTR key, LPCWSTR value)
{
    std::string bytes;
    const ReadResult read = ReadWholeFile(path, bytes);
    if (read == ReadResult::Failed)
        return FALSE;
    if (read == ReadResult::Read && IsReadOnlyFile(path))
        return Fail(ERROR_ACCESS_DENIED);

    ProfileDocument document(bytes);
    if (key == nullptr) {
        document.RemoveSection(section);
    } else if (value == nullptr) {
        document.RemoveKey(section, key);
    } else {
        document.Set(section, key, EncodeUtf8Lossy(value));
    }
    const std::string edited = document.Bytes();
    if (edited == bytes && (read == ReadResult::Read || edited.empty()))
        return TRUE;
    if (!ReplaceFileAtomically(path, edited))
        return FALSE;
    ProfileWritten(path);
    return TRUE;
}

}  // namespace

extern "C" UINT WINAPI GetPrivateProfileIntW(LPCWSTR sectionName, LPCWSTR keyName, INT defaultValue, LPCWSTR fileName)
{
    const UINT fallback = static_cast<UINT>(defaultValue);
    if (sectionName == nullptr || keyName == nullptr)
        return fallback;
    std::string path;
    if (!NativePath(fileName, path) || path.empty())
        return fallback;
    try {
        std::string bytes;
        if (ReadWholeFile(path, bytes) != ReadResult::Read)
            return fallback;
        const auto value = ProfileDocument(bytes).Find(sectionName, keyName);
        if (!value || value->empty())
            return fallback;
        return ParseProfileInteger(*value);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return fallback;
    }
}

// A null value deletes the key; a null key deletes the section. The file and its section are
// created on the first write.
extern "C" BOOL WINAPI WritePrivateProfileStringW(LPCWSTR sectionName, LPCWSTR keyName, LPCWSTR value, LPCWSTR fileName)
{
    if (sectionName == nullptr) {
        // All three null asks Windows to flush its cache: there is none here.
        return keyName == nullptr && value == nullptr ? TRUE : Fail(ERROR_INVALID_PARAMETER);
    }
    if (!IsWritable(sectionName, keyName, value))
        return Fail(ERROR_INVALID_PARAMETER);
    std::string path;
    if (!NativePath(fileName, path))
        return FALSE;
    if (path.empty())
        return Fail(ERROR_PATH_NOT_FOUND);
    try {
        return ApplyEdit(path, sectionName, keyName, value);
    } catch (const std::bad_alloc&) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}

// Opening and closing names of a directory reader.
#include "resources/file_reader4.h"

#include <new>

CFileReader4::CFileReader4(LPCWSTR directory)
    : directory_{}, directoryFits_(directory == nullptr || lstrlenW(directory) < MAX_PATH)
{
    if (directory != nullptr && directoryFits_)
        lstrcpyW(directory_, directory);
}

BOOL CFileReader4::BuildPath(LPCWSTR name, WCHAR (&path)[MAX_PATH]) const
{
    path[0] = L'\0';
    const bool hasDirectory = directory_[0] != L'\0';
    const int length = lstrlenW(directory_) + (hasDirectory ? 1 : 0) + lstrlenW(name);
    if (!directoryFits_ || length >= MAX_PATH)
        return FALSE;
    lstrcpyW(path, directory_);
    if (hasDirectory)
        lstrcatW(path, L"\\");
    lstrcatW(path, name);
    return TRUE;
}

BOOL CFileReader4::OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name)
{
    if (name == nullptr)
        return FALSE;
    try {
        auto entry = entries_.find(name);
        if (entry == entries_.end()) {
            WCHAR path[MAX_PATH];
            if (!BuildPath(name, path))
                return FALSE;
            RefPtr<CMMF> mapped(new CMMF);
            if (!mapped->file.Map(path))
                return FALSE;  // dropping the reference unmaps
            entry = entries_.emplace(name, mapped).first;
        }
        CMMF& opened = *entry->second;
        ++opened.useCount;
        if (opened.file.View() == nullptr)
            return FALSE;
        if (data != nullptr)
            *data = opened.file.View();
        if (size != nullptr)
            *size = opened.file.Size();
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

void CFileReader4::CloseFile(LPCWSTR name)
{
    if (name == nullptr)
        return;
    const auto entry = entries_.find(name);
    if (entry == entries_.end())
        return;
    if (--entry->second->useCount <= 0)
        entries_.erase(entry);
}

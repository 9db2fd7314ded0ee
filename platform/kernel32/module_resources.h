// The resources linked into the executable, which FindResourceW, LoadResource, LockResource and
// SizeofResource serve for the process module. A build step that compiles the program's
// resource script into tables hands them over with SetLinkedResources before wWinMain runs;
// until then the table is empty.
#pragma once

#include <windows.h>

#include <cstddef>

namespace quorvane::kernel32 {

struct LinkedResource {
    LPCWSTR type;  // MAKEINTRESOURCEW(id), a name, or "#id"
    LPCWSTR name;  // likewise
    const void* bytes;
    DWORD size;
    LANGID language = 0;  // LANG_NEUTRAL for what every language shares
};

struct LinkedResourceTable {
    const LinkedResource* entries = nullptr;
    std::size_t count = 0;
};

// Serves the given entries from now on and returns the table served until now. The entries
// are not copied: they must outlive their use (static tables do).
LinkedResourceTable SetLinkedResources(LinkedResourceTable table);

// Whether some served resource is in this primary language (whatever its sublanguage).
bool ServesPrimaryLanguage(WORD primaryLanguage);

}  // namespace quorvane::kernel32

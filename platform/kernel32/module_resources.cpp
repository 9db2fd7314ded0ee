// Resource look-up in the linked-resource table. Types and names match as Windows matches
// them: integer identifiers by value, "#123" as the identifier 123, other names without
// regard to case; among the languages of one resource the thread's user-interface language
// chooses.
#include "kernel32/module_resources.h"

#include "kernel32/last_error.h"

#include <algorithm>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::kernel32 {
namespace {

LinkedResourceTable servedTable;

// A resource type or name reduced to the form it is compared in.
struct ResourceId {
    std::optional<WORD> number;
    std::wstring upperName;

    bool operator==(const ResourceId&) const = default;
};

std::optional<WORD> ParseNumberedName(LPCWSTR text)
{
    if (text[0] != L'#' || text[1] == L'\0')
        return std::nullopt;
    unsigned long value = 0;
    for (const wchar_t* p = text + 1; *p != L'\0'; ++p) {
        if (*p < L'0' || *p > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(*p - L'0');
        if (value > 0xFFFF)
            return std::nullopt;
    }
    return static_cast<WORD>(value);
}

std::optional<ResourceId> ReadResourceId(LPCWSTR id)
{
    if (id == nullptr)
        return std::nullopt;
    if (IS_INTRESOURCE(id))
        return ResourceId{LOWORD(reinterpret_cast<ULONG_PTR>(id)), {}};
    if (const auto number = ParseNumberedName(id))
        return ResourceId{number, {}};
    ResourceId named;
    for (const wchar_t* p = id; *p != L'\0'; ++p)
        named.upperName += static_cast<wchar_t>(std::towupper(*p));
    return named;
}

bool IsProcessModule(HMODULE module)
{
    return module == nullptr || module == GetModuleHandleW(nullptr);
}

// The table entry behind a resource handle, or null if the handle is not one of ours.
const LinkedResource* EntryOf(HRSRC resource)
{
    const auto* entry = reinterpret_cast<const LinkedResource*>(resource);
    for (std::size_t i = 0; i < servedTable.count; ++i) {
        if (&servedTable.entries[i] == entry)
            return entry;
    }
    return nullptr;
}

}  // namespace

LinkedResourceTable SetLinkedResources(LinkedResourceTable table)
{
    const LinkedResourceTable previous = servedTable;
    servedTable = table;
    return previous;
}

}  // namespace quorvane::kernel32

using namespace quorvane::kernel32;

namespace {

// The served entries of one type and name, in table order. The last error says why there are
// none.
std::vector<const LinkedResource*> EntriesNamed(HMODULE module, LPCWSTR type, LPCWSTR name)
{
    std::vector<const LinkedResource*> named;
    if (!IsProcessModule(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return named;
    }
    const auto wantedType = ReadResourceId(type);
    const auto wantedName = ReadResourceId(name);
    if (!wantedType || !wantedName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return named;
    }
    bool typeFound = false;
    for (std::size_t i = 0; i < servedTable.count; ++i) {
        const LinkedResource& entry = servedTable.entries[i];
        if (ReadResourceId(entry.type) != wantedType)
            continue;
        typeFound = true;
        if (ReadResourceId(entry.name) == wantedName)
            named.push_back(&entry);
    }
    if (named.empty())
        SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return named;
}

template <class Matches>
const LinkedResource* FirstThat(const std::vector<const LinkedResource*>& entries, Matches matches)
{
    const auto found = std::find_if(entries.begin(), entries.end(), matches);
    return found != entries.end() ? *found : nullptr;
}

// As Windows chooses among a resource's languages: the thread's language, then any of its
// primary language, then English (American first), then the first there is.
const LinkedResource* ForLanguage(const std::vector<const LinkedResource*>& entries, LANGID language)
{
    const auto primary = [](LANGID wanted) {
        return
            [wanted](const LinkedResource* entry) { return PRIMARYLANGID(entry->language) == PRIMARYLANGID(wanted); };
    };
    const auto exactly = [](LANGID wanted) {
        return [wanted](const LinkedResource* entry) { return entry->language == wanted; };
    };
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    for (const LinkedResource* chosen : {FirstThat(entries, exactly(language)), FirstThat(entries, primary(language)),
                                         FirstThat(entries, exactly(english)), FirstThat(entries, primary(english))}) {
        if (chosen != nullptr)
            return chosen;
    }
    return entries.empty() ? nullptr : entries.front();
}

HRSRC Handle(const LinkedResource* entry)
{
    return reinterpret_cast<HRSRC>(const_cast<LinkedResource*>(entry));
}

}  // namespace

bool quorvane::kernel32::ServesPrimaryLanguage(WORD primaryLanguage)
{
    for (std::size_t i = 0; i < servedTable.count; ++i) {
        if (PRIMARYLANGID(servedTable.entries[i].language) == primaryLanguage)
            return true;
    }
    return false;
}

extern "C" HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    return Handle(ForLanguage(EntriesNamed(module, type, name), GetThreadUILanguage()));
}

// The neutral language stands for the thread's, as in FindResourceW; a neutral sublanguage takes
// any of its primary language; otherwise only that very language is found.
extern "C" HRSRC WINAPI FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language)
{
    const std::vector<const LinkedResource*> entries = EntriesNamed(module, type, name);
    if (entries.empty())
        return nullptr;
    if (language == MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL))
        return Handle(ForLanguage(entries, GetThreadUILanguage()));
    const LinkedResource* found = FirstThat(entries, [language](const LinkedResource* entry) {
        return entry->language == language ||
               (SUBLANGID(language) == SUBLANG_NEUTRAL && PRIMARYLANGID(entry->language) == PRIMARYLANGID(language));
    });
    if (found == nullptr)
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
    return Handle(found);
}

// The data of a linked resource needs no loading: its handle is the address of its bytes.
extern "C" HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource)
{
    const LinkedResource* entry = IsProcessModule(module) ? EntryOf(resource) : nullptr;
    if (entry == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<void*>(entry->bytes);
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL resourceData)
{
    return resourceData;
}

extern "C" DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource)
{
    const LinkedResource* entry = IsProcessModule(module) ? EntryOf(resource) : nullptr;
    if (entry == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return entry->size;
}

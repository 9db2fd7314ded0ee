// Resource look-up in the linked-resource table. Types and names match as Windows matches
// them: integer identifiers by value, "#123" as the identifier 123, other names without
// regard to case.
#include "kernel32/module_resources.h"

#include "kernel32/last_error.h"

#include <cwctype>
#include <optional>
#include <string>

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

extern "C" HRSRC WINAPI FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type)
{
    if (!IsProcessModule(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    const auto wantedType = ReadResourceId(type);
    const auto wantedName = ReadResourceId(name);
    if (!wantedType || !wantedName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool typeFound = false;
    for (std::size_t i = 0; i < servedTable.count; ++i) {
        const LinkedResource& entry = servedTable.entries[i];
        if (ReadResourceId(entry.type) != wantedType)
            continue;
        typeFound = true;
        if (ReadResourceId(entry.name) == wantedName) {
            return reinterpret_cast<HRSRC>(const_cast<LinkedResource*>(&entry));
        }
    }
    SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
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

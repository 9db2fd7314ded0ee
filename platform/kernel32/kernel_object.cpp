// The handle table and CloseHandle.
#include "kernel32/kernel_object.h"

#include "kernel32/last_error.h"

#include <map>
#include <new>

namespace quorvane::kernel32 {
namespace {

// The object's address serves as its handle value; it never equals INVALID_HANDLE_VALUE.
// The table is never destroyed, so that handles closed by other objects' destructors at
// process exit still find it.
std::map<HANDLE, std::unique_ptr<KernelObject>>& HandleTable()
{
    static auto* table = new std::map<HANDLE, std::unique_ptr<KernelObject>>;
    return *table;
}

}  // namespace

HANDLE AddHandle(std::unique_ptr<KernelObject> object)
{
    if (!object)
        return nullptr;
    const HANDLE handle = object.get();
    try {
        HandleTable().emplace(handle, std::move(object));
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return handle;
}

KernelObject* FindHandle(HANDLE handle)
{
    const auto found = HandleTable().find(handle);
    return found == HandleTable().end() ? nullptr : found->second.get();
}

}  // namespace quorvane::kernel32

extern "C" BOOL WINAPI CloseHandle(HANDLE object)
{
    using namespace quorvane::kernel32;
    auto& table = HandleTable();
    const auto found = table.find(object);
    if (found == table.end())
        return Fail(ERROR_INVALID_HANDLE);
    // Take the object out before destroying it: its destructor may use the table.
    std::unique_ptr<KernelObject> closing = std::move(found->second);
    table.erase(found);
    return TRUE;
}

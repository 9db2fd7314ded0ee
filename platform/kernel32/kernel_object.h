// Kernel objects behind HANDLE values: open files and file mappings. A handle is valid from
// the call that creates it until CloseHandle; functions look handles up by the kind they need.
#pragma once

#include <windows.h>

#include <memory>

namespace quorvane::kernel32 {

class KernelObject {
public:
    virtual ~KernelObject() = default;
};

// Takes ownership of the object and returns its new handle (null when memory runs out).
HANDLE AddHandle(std::unique_ptr<KernelObject> object);

// The object behind a live handle if it is of kind T; null otherwise.
KernelObject* FindHandle(HANDLE handle);

template <class T>
T* FindHandleOf(HANDLE handle)
{
    return dynamic_cast<T*>(FindHandle(handle));
}

}  // namespace quorvane::kernel32

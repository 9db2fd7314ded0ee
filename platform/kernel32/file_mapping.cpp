// File mappings and their views over mmap. A mapping object keeps its own descriptor of the
// file, so the file handle may be closed while the mapping lives, and every view keeps its
// mapping object alive, as on Windows. Named mappings are shared within the process: creating
// one whose name is in use returns the existing object with ERROR_ALREADY_EXISTS.
#include "kernel32/file_object.h"
#include "kernel32/kernel_object.h"
#include "kernel32/last_error.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane::kernel32;

namespace {

// Windows places views on 64 KiB boundaries; offsets must be multiples of it.
constexpr std::uint64_t allocationGranularity = 64 * 1024;

class MappingObject;

// The registries below are never destroyed, so that views and handles released by other
// objects' destructors at process exit still find them.
std::map<std::wstring, std::weak_ptr<MappingObject>>& MappingNames()
{
    static auto* names = new std::map<std::wstring, std::weak_ptr<MappingObject>>;
    return *names;
}

class MappingObject {
public:
    MappingObject(int descriptor, std::uint64_t size, std::wstring name)
        : descriptor_(descriptor), size_(size), name_(std::move(name))
    {
    }
    ~MappingObject()
    {
        close(descriptor_);
        if (!name_.empty())
            MappingNames().erase(name_);
    }
    MappingObject(const MappingObject&) = delete;
    MappingObject& operator=(const MappingObject&) = delete;

    int Descriptor() const { return descriptor_; }
    std::uint64_t Size() const { return size_; }

private:
    int descriptor_;
    std::uint64_t size_;
    std::wstring name_;
};

class MappingHandle final : public KernelObject {
public:
    explicit MappingHandle(std::shared_ptr<MappingObject> mapping) : mapping(std::move(mapping)) {}
    std::shared_ptr<MappingObject> mapping;
};

struct View {
    std::size_t length;
    std::shared_ptr<MappingObject> mapping;
};

std::map<const void*, View>& Views()
{
    static auto* views = new std::map<const void*, View>;
    return *views;
}

HANDLE FailNull(DWORD errorCode)
{
    SetLastError(errorCode);
    return nullptr;
}

HANDLE AddMappingHandle(std::shared_ptr<MappingObject> mapping)
{
    std::unique_ptr<MappingHandle> handle(new (std::nothrow) MappingHandle(std::move(mapping)));
    if (!handle)
        return FailNull(ERROR_NOT_ENOUGH_MEMORY);
    return AddHandle(std::move(handle));
}

HANDLE OpenExistingMapping(LPCWSTR name)
{
    if (name == nullptr)
        return nullptr;
    const auto found = MappingNames().find(name);
    if (found == MappingNames().end())
        return nullptr;
    std::shared_ptr<MappingObject> existing = found->second.lock();
    if (!existing)
        return nullptr;
    const HANDLE handle = AddMappingHandle(std::move(existing));
    if (handle != nullptr)
        SetLastError(ERROR_ALREADY_EXISTS);
    return handle;
}

HANDLE CreateMapping(const FileObject& file, std::uint64_t requestedSize, LPCWSTR name)
{
    struct stat status {};
    if (fstat(file.Descriptor(), &status) != 0) {
        FailFromErrno();
        return nullptr;
    }
    const auto fileSize = static_cast<std::uint64_t>(status.st_size);
    // Size 0 means the whole file; an empty file cannot be mapped, and a read-only mapping
    // cannot extend its file.
    if (requestedSize == 0 && fileSize == 0)
        return FailNull(ERROR_FILE_INVALID);
    const std::uint64_t size = requestedSize == 0 ? fileSize : requestedSize;
    if (size > fileSize)
        return FailNull(ERROR_NOT_ENOUGH_MEMORY);

    const int descriptor = fcntl(file.Descriptor(), F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0) {
        FailFromErrno();
        return nullptr;
    }
    std::shared_ptr<MappingObject> mapping;
    try {
        mapping = std::make_shared<MappingObject>(descriptor, size, name ? name : L"");
        if (name != nullptr)
            MappingNames()[name] = mapping;
    } catch (const std::bad_alloc&) {
        if (!mapping)
            close(descriptor);
        return FailNull(ERROR_NOT_ENOUGH_MEMORY);
    }
    const HANDLE handle = AddMappingHandle(std::move(mapping));
    if (handle != nullptr)
        SetLastError(ERROR_SUCCESS);
    return handle;
}

}  // namespace

extern "C" HANDLE WINAPI CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES /*attributes*/, DWORD protect,
                                            DWORD maximumSizeHigh, DWORD maximumSizeLow, LPCWSTR name)
{
    if (protect != PAGE_READONLY)
        return FailNull(ERROR_INVALID_PARAMETER);
    const FileObject* fileObject = FindHandleOf<FileObject>(file);
    if (fileObject == nullptr) {
        // INVALID_HANDLE_VALUE would ask for a mapping backed by the paging file: not needed.
        return FailNull(file == INVALID_HANDLE_VALUE ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    }
    if (name != nullptr && name[0] == L'\0')
        name = nullptr;  // an empty name is no name
    if (const HANDLE existing = OpenExistingMapping(name))
        return existing;
    const std::uint64_t requestedSize = (static_cast<std::uint64_t>(maximumSizeHigh) << 32) | maximumSizeLow;
    return CreateMapping(*fileObject, requestedSize, name);
}

extern "C" LPVOID WINAPI MapViewOfFile(HANDLE fileMapping, DWORD desiredAccess, DWORD fileOffsetHigh,
                                       DWORD fileOffsetLow, SIZE_T numberOfBytesToMap)
{
    const MappingHandle* handle = FindHandleOf<MappingHandle>(fileMapping);
    if (handle == nullptr)
        return FailNull(ERROR_INVALID_HANDLE);
    if (desiredAccess != FILE_MAP_READ) {
        return FailNull((desiredAccess & FILE_MAP_WRITE) != 0 ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER);
    }
    const std::uint64_t offset = (static_cast<std::uint64_t>(fileOffsetHigh) << 32) | fileOffsetLow;
    const std::uint64_t mappingSize = handle->mapping->Size();
    if (offset % allocationGranularity != 0)
        return FailNull(ERROR_MAPPED_ALIGNMENT);
    if (offset >= mappingSize || numberOfBytesToMap > mappingSize - offset) {
        return FailNull(ERROR_ACCESS_DENIED);
    }
    const std::uint64_t length = numberOfBytesToMap == 0 ? mappingSize - offset : numberOfBytesToMap;
    if (length > SIZE_MAX)
        return FailNull(ERROR_NOT_ENOUGH_MEMORY);

    void* view = mmap(nullptr, static_cast<std::size_t>(length), PROT_READ, MAP_SHARED, handle->mapping->Descriptor(),
                      static_cast<off_t>(offset));
    if (view == MAP_FAILED) {
        FailFromErrno();
        return nullptr;
    }
    try {
        Views().emplace(view, View{static_cast<std::size_t>(length), handle->mapping});
    } catch (const std::bad_alloc&) {
        munmap(view, static_cast<std::size_t>(length));
        return FailNull(ERROR_NOT_ENOUGH_MEMORY);
    }
    SetLastError(ERROR_SUCCESS);
    return view;
}

// Takes the base address MapViewOfFile returned; any other address fails.
extern "C" BOOL WINAPI UnmapViewOfFile(LPCVOID baseAddress)
{
    auto& views = Views();
    const auto found = views.find(baseAddress);
    if (found == views.end())
        return Fail(ERROR_INVALID_ADDRESS);
    munmap(const_cast<void*>(found->first), found->second.length);
    views.erase(found);  // may destroy the mapping object, which needs the name table only
    return TRUE;
}

// CreateFileW and GetFileSize over open/fstat. Only what readers need: opening an existing
// regular file for reading.
#include "kernel32/file_object.h"
#include "kernel32/last_error.h"
#include "kernel32/native_path.h"

#include <windows.h>

#include <cerrno>
#include <memory>
#include <new>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane::kernel32;

namespace quorvane::kernel32 {

FileObject::~FileObject()
{
    close(descriptor_);
}

}  // namespace quorvane::kernel32

namespace {

HANDLE FailHandle(DWORD errorCode)
{
    SetLastError(errorCode);
    return INVALID_HANDLE_VALUE;
}

// Windows tells a missing file (ERROR_FILE_NOT_FOUND) from a missing directory on the way to
// it (ERROR_PATH_NOT_FOUND).
DWORD OpenError(int openErrno, const std::string& path)
{
    if (openErrno != ENOENT)
        return ErrorFromErrno(openErrno);
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ERROR_FILE_NOT_FOUND;
    const std::string directory = slash == 0 ? "/" : path.substr(0, slash);
    struct stat status {};
    if (stat(directory.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return ERROR_PATH_NOT_FOUND;
    }
    return ERROR_FILE_NOT_FOUND;
}

}  // namespace

extern "C" HANDLE WINAPI CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/,
                                     LPSECURITY_ATTRIBUTES /*securityAttributes*/, DWORD creationDisposition,
                                     DWORD flagsAndAttributes, HANDLE /*templateFile*/)
{
    if (desiredAccess != GENERIC_READ || creationDisposition != OPEN_EXISTING ||
        (flagsAndAttributes & ~DWORD{FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_READONLY}) != 0) {
        return FailHandle(ERROR_INVALID_PARAMETER);
    }
    std::string path;
    if (!NativePath(fileName, path))
        return INVALID_HANDLE_VALUE;
    if (path.empty())
        return FailHandle(ERROR_PATH_NOT_FOUND);

    // Non-blocking, so that a FIFO in place of a data file cannot stall the open.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return FailHandle(OpenError(errno, path));
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return FailHandle(ERROR_ACCESS_DENIED);  // what Windows answers for a directory
    }
    std::unique_ptr<FileObject> file(new (std::nothrow) FileObject(descriptor));
    if (!file) {
        close(descriptor);
        return FailHandle(ERROR_NOT_ENOUGH_MEMORY);
    }
    const HANDLE handle = AddHandle(std::move(file));
    if (handle == nullptr)
        return INVALID_HANDLE_VALUE;
    SetLastError(ERROR_SUCCESS);
    return handle;
}

// Returns the low 32 bits of the size and stores the high 32 bits where asked. A size whose low
// part is 0xFFFFFFFF is told from a failure by the last error, as on Windows.
extern "C" DWORD WINAPI GetFileSize(HANDLE file, LPDWORD fileSizeHigh)
{
    const FileObject* object = FindHandleOf<FileObject>(file);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    struct stat status {};
    if (fstat(object->Descriptor(), &status) != 0) {
        FailFromErrno();
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<unsigned long long>(status.st_size);
    if (fileSizeHigh != nullptr)
        *fileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

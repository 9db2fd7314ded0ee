// File reading and crash-safe replacement over POSIX calls.
#include "kernel32/atomic_file.h"

#include "kernel32/last_error.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::kernel32 {
namespace {

DWORD MissingError(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ERROR_FILE_NOT_FOUND;
    struct stat status {};
    const std::string directory = slash == 0 ? "/" : path.substr(0, slash);
    return stat(directory.c_str(), &status) == 0 && S_ISDIR(status.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                            : ERROR_PATH_NOT_FOUND;
}

bool WriteAll(int descriptor, const std::string& bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = write(descriptor, bytes.data() + written, bytes.size() - written);
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0) {
            if (result == 0)
                errno = ENOSPC;
            return false;
        }
        written += static_cast<std::size_t>(result);
    }
    return true;
}

// The file a write really replaces: the target of a symbolic link, the path itself otherwise.
std::string ResolveTarget(const std::string& path)
{
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    const std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : path;
}

mode_t DefaultFileMode()
{
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void SyncDirectory(const std::string& directory)
{
    const int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor);  // best effort: the rename itself has already happened
    close(descriptor);
}

}  // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        if (errno == ENOENT) {
            SetLastError(MissingError(path));
            return ReadResult::Missing;
        }
        FailFromErrno();
        return ReadResult::Failed;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        Fail(ERROR_ACCESS_DENIED);
        return ReadResult::Failed;
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t count = read(descriptor, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            FailFromErrno();
            close(descriptor);
            return ReadResult::Failed;
        }
        if (count == 0)
            break;
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
    close(descriptor);
    return ReadResult::Read;
}

bool IsReadOnlyFile(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    return (status.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes)
{
    const std::string target = ResolveTarget(path);
    const std::size_t slash = target.find_last_of('/');
    const std::string directory = slash == std::string::npos ? "." : (slash == 0 ? "/" : target.substr(0, slash));
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = directory + "/." + name + ".XXXXXX";
    if (temporary.size() >= PATH_MAX)
        return Fail(ERROR_FILENAME_EXCED_RANGE);

    const int descriptor = mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return Fail(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    }
    struct stat existing {};
    if (stat(target.c_str(), &existing) == 0) {
        fchmod(descriptor, existing.st_mode & 07777);
        if (fchown(descriptor, existing.st_uid, existing.st_gid) != 0) {
            // Only the owner can be kept when allowed to; the contents matter more.
        }
    } else {
        fchmod(descriptor, DefaultFileMode());
    }
    const bool written = WriteAll(descriptor, bytes) && fsync(descriptor) == 0;
    const int writeErrno = errno;
    if (close(descriptor) != 0 || !written) {
        unlink(temporary.c_str());
        return Fail(ErrorFromErrno(written ? errno : writeErrno));
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        const int renameErrno = errno;
        unlink(temporary.c_str());
        return Fail(ErrorFromErrno(renameErrno));
    }
    SyncDirectory(directory);
    return true;
}

}  // namespace quorvane::kernel32

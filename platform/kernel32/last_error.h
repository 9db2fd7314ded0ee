// The calling thread's last-error value, and its translation from errno.
#pragma once

#include <windows.h>

namespace quorvane::kernel32 {

// The Windows error code closest to a POSIX errno value.
DWORD ErrorFromErrno(int errnoValue);

// Sets the last error from errno and returns FALSE, for the common failure path.
BOOL FailFromErrno();

// Sets the last error and returns FALSE.
BOOL Fail(DWORD errorCode);

}  // namespace quorvane::kernel32

// GetCurrentDirectoryW over getcwd.
#include "kernel32/last_error.h"
#include "kernel32/utf8.h"

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <memory>

#include <unistd.h>

using namespace quorvane::kernel32;

// Returns the length written (without the terminator), or, when the buffer is too small, the
// size needed including the terminator, leaving the buffer untouched; 0 on failure.
extern "C" DWORD WINAPI GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer)
{
    const std::unique_ptr<char, decltype(&std::free)> directory(getcwd(nullptr, 0), &std::free);
    if (!directory) {
        FailFromErrno();
        return 0;
    }
    std::wstring text;
    if (!DecodeUtf8(directory.get(), text, InvalidUtf8::Reject)) {
        Fail(ERROR_NO_UNICODE_TRANSLATION);
        return 0;
    }
    const DWORD needed = static_cast<DWORD>(text.size() + 1);
    if (buffer == nullptr || bufferLength < needed)
        return needed;
    std::wmemcpy(buffer, text.c_str(), needed);
    return needed - 1;
}

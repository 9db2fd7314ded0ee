// OutputDebugStringW: there is no debugger channel on Linux, so the text goes to standard error
// as UTF-8, in one write so that traces from different sources do not interleave mid-line.
#include "kernel32/utf8.h"

#include <windows.h>

#include <unistd.h>

extern "C" void WINAPI OutputDebugStringW(LPCWSTR text)
{
    if (text == nullptr)
        return;
    const std::string bytes = quorvane::kernel32::EncodeUtf8Lossy(text);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t result = write(STDERR_FILENO, bytes.data() + written, bytes.size() - written);
        if (result <= 0)
            return;  // nowhere to report a failing debug channel
        written += static_cast<std::size_t>(result);
    }
}

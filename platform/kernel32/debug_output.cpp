// OutputDebugStringW: there is no debugger channel on Linux. On Windows the text reaches only a
// debugger that listens; here it goes to standard error only when QUORVANE_TRACE is set and not
// empty (as a debugger asks for it), so a user's terminal stays quiet. It is written as UTF-8, in
// one write so that traces from different sources do not interleave mid-line.
#include "kernel32/utf8.h"

#include <windows.h>

#include <cstdlib>

#include <unistd.h>

extern "C" void WINAPI OutputDebugStringW(LPCWSTR text)
{
    const char* asked = std::getenv("QUORVANE_TRACE");
    if (text == nullptr || asked == nullptr || *asked == '\0')
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

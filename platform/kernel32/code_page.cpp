// MultiByteToWideChar. The ANSI, OEM and thread code pages are UTF-8 on Linux, so every code
// page this accepts decodes the same way; one WCHAR holds one code point.
#include "kernel32/last_error.h"
#include "kernel32/utf8.h"

#include <windows.h>

#include <climits>
#include <cstring>
#include <cwchar>

using namespace quorvane::kernel32;

namespace {

bool IsUtf8CodePage(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP || codePage == CP_UTF8;
}

// CP_UTF8 takes no flag but MB_ERR_INVALID_CHARS; the legacy code pages also take the
// composition flags (meaningless for UTF-8 input, but not an error), one of them at a time.
bool AreFlagsValid(UINT codePage, DWORD flags)
{
    if (codePage == CP_UTF8)
        return (flags & ~DWORD{MB_ERR_INVALID_CHARS}) == 0;
    const DWORD known = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if ((flags & ~known) != 0)
        return false;
    return (flags & (MB_PRECOMPOSED | MB_COMPOSITE)) != (MB_PRECOMPOSED | MB_COMPOSITE);
}

int FailWith(DWORD errorCode)
{
    SetLastError(errorCode);
    return 0;
}

}  // namespace

// With multiByteCount -1 the input runs to its terminating NUL, which is converted too and
// counted in the result. With wideCount 0 the call only returns the size the output needs.
// An output buffer that is too small gets nothing and the call fails with
// ERROR_INSUFFICIENT_BUFFER; invalid input fails with ERROR_NO_UNICODE_TRANSLATION under
// MB_ERR_INVALID_CHARS and otherwise turns into U+FFFD.
extern "C" int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCCH multiByteText, int multiByteCount,
                                          LPWSTR wideText, int wideCount)
{
    if (multiByteText == nullptr || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 ||
        (wideCount > 0 && wideText == nullptr)) {
        return FailWith(ERROR_INVALID_PARAMETER);
    }
    if (!IsUtf8CodePage(codePage))
        return FailWith(ERROR_INVALID_PARAMETER);
    if (!AreFlagsValid(codePage, flags))
        return FailWith(ERROR_INVALID_FLAGS);

    const std::size_t inputLength =
        multiByteCount == -1 ? std::strlen(multiByteText) + 1 : static_cast<std::size_t>(multiByteCount);
    if (inputLength > static_cast<std::size_t>(INT_MAX))
        return FailWith(ERROR_INVALID_PARAMETER);
    const InvalidUtf8 invalid = (flags & MB_ERR_INVALID_CHARS) != 0 ? InvalidUtf8::Reject : InvalidUtf8::Replace;
    std::wstring decoded;
    if (!DecodeUtf8({multiByteText, inputLength}, decoded, invalid)) {
        return FailWith(ERROR_NO_UNICODE_TRANSLATION);
    }
    const int needed = static_cast<int>(decoded.size());
    if (wideCount == 0)
        return needed;
    if (needed > wideCount)
        return FailWith(ERROR_INSUFFICIENT_BUFFER);
    std::wmemcpy(wideText, decoded.data(), decoded.size());
    return needed;
}

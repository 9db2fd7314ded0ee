// Path translation shared by the file and profile functions.
#include "kernel32/native_path.h"

#include "kernel32/last_error.h"
#include "kernel32/utf8.h"

#include <algorithm>

namespace quorvane::kernel32 {

bool NativePath(LPCWSTR path, std::string& nativePath)
{
    if (path == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    if (!EncodeUtf8(path, nativePath))
        return Fail(ERROR_INVALID_NAME);
    std::replace(nativePath.begin(), nativePath.end(), '\\', '/');
    return true;
}

}  // namespace quorvane::kernel32

// Program paths (wide, backslash-separated) as Linux paths (UTF-8, slash-separated).
#pragma once

#include <windows.h>

#include <string>

namespace quorvane::kernel32 {

// Translates every backslash into a slash and encodes the text as UTF-8; nothing else changes
// (relative paths stay relative to the current directory). Returns false, with the last error
// set, for a null path or text that has no UTF-8 form.
bool NativePath(LPCWSTR path, std::string& nativePath);

}  // namespace quorvane::kernel32

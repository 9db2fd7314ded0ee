// UTF-16 (the text of compiled resources) to wide text: one WCHAR per code point on Linux.
#pragma once

#include <string>
#include <string_view>

namespace quorvane::kernel32 {

// Surrogate pairs become one code point; an unpaired surrogate is kept as it is, as Windows
// keeps it.
std::wstring DecodeUtf16(std::u16string_view text);

}  // namespace quorvane::kernel32

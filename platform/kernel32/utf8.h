// UTF-8 <-> wide text (one WCHAR per code point: wchar_t is UTF-32 on Linux).
#pragma once

#include <string>
#include <string_view>

namespace quorvane::kernel32 {

enum class InvalidUtf8 {
    Reject,
    Replace
};

// Decodes UTF-8 into wide text. Overlong forms, encoded surrogates, values above U+10FFFF and
// truncated sequences are invalid: Reject makes the call return false, Replace turns each
// maximal invalid subpart into U+FFFD (the Unicode recommendation, as Windows does).
bool DecodeUtf8(std::string_view bytes, std::wstring& text, InvalidUtf8 invalid);

// Encodes wide text as UTF-8. Returns false for a surrogate or a value above U+10FFFF.
bool EncodeUtf8(std::wstring_view text, std::string& bytes);

// Encodes wide text as UTF-8, writing U+FFFD for what cannot be encoded.
std::string EncodeUtf8Lossy(std::wstring_view text);

}  // namespace quorvane::kernel32

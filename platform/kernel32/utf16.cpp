#include "kernel32/utf16.h"

namespace quorvane::kernel32 {

std::wstring DecodeUtf16(std::u16string_view text)
{
    std::wstring decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t unit = text[i];
        bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            decoded += wchar_t(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
            continue;
        }
        decoded += wchar_t(unit);
    }
    return decoded;
}

}  // namespace quorvane::kernel32

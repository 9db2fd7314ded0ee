#include "user32/mnemonic.h"

#include <cwctype>

namespace quorvane::user32 {

WCHAR MnemonicOf(const std::wstring& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'&') {
            if (text[i + 1] != L'&')
                return WCHAR(std::towupper(text[i + 1]));
            ++i;
        }
    }
    return 0;
}

bool MatchesMnemonic(const std::wstring& text, WCHAR typed)
{
    WCHAR mnemonic = MnemonicOf(text);
    return mnemonic != 0 && mnemonic == WCHAR(std::towupper(typed));
}

}  // namespace quorvane::user32

// The mnemonic of a menu item's or a control's text: the character after a single '&'
// ("&&" is a literal '&'), matched without regard to case.
#pragma once

#include <windows.h>

#include <string>

namespace quorvane::user32 {

// The mnemonic, upper-cased, or 0 for a text without one.
WCHAR MnemonicOf(const std::wstring& text);
bool MatchesMnemonic(const std::wstring& text, WCHAR typed);

}  // namespace quorvane::user32

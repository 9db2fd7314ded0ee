#include "display/web/web_input.h"

#include <array>
#include <utility>

namespace quorvane::display::web {

namespace {

struct NamedKey {
    std::string_view code;
    KeyCode key;
};

// Keys that type nothing, or whose character does not depend on the layout, by place.
constexpr std::array<NamedKey, 29> specialKeys{{
    {"Backspace", keys::back},
    {"Tab", keys::tab},
    {"Enter", keys::enter},
    {"NumpadEnter", keys::enter},
    {"ShiftLeft", keys::shift},
    {"ShiftRight", keys::shift},
    {"ControlLeft", keys::control},
    {"ControlRight", keys::control},
    {"AltLeft", keys::alt},
    {"AltRight", keys::alt},
    {"Pause", keys::pause},
    {"CapsLock", keys::capsLock},
    {"Escape", keys::escape},
    {"Space", keys::space},
    {"PageUp", keys::pageUp},
    {"PageDown", keys::pageDown},
    {"End", keys::end},
    {"Home", keys::home},
    {"ArrowLeft", keys::left},
    {"ArrowUp", keys::up},
    {"ArrowRight", keys::right},
    {"ArrowDown", keys::down},
    {"Insert", keys::insert},
    {"Delete", keys::del},
    {"NumpadMultiply", keys::multiply},
    {"NumpadAdd", keys::add},
    {"NumpadSubtract", keys::subtract},
    {"NumpadDecimal", keys::decimal},
    {"NumpadDivide", keys::divide},
}};

// Punctuation by its place on a US keyboard, for layouts that type other characters there.
constexpr std::array<NamedKey, 12> punctuationPlaces{{
    {"Semicolon", keys::oem1},
    {"Equal", keys::oemPlus},
    {"Comma", keys::oemComma},
    {"Minus", keys::oemMinus},
    {"Period", keys::oemPeriod},
    {"Slash", keys::oem2},
    {"Backquote", keys::oem3},
    {"BracketLeft", keys::oem4},
    {"Backslash", keys::oem5},
    {"BracketRight", keys::oem6},
    {"Quote", keys::oem7},
    {"IntlBackslash", keys::oem5},
}};

struct Punctuation {
    char plain;
    KeyCode key;
};

constexpr std::array<Punctuation, 11> punctuation{{
    {';', keys::oem1},
    {'=', keys::oemPlus},
    {',', keys::oemComma},
    {'-', keys::oemMinus},
    {'.', keys::oemPeriod},
    {'/', keys::oem2},
    {'`', keys::oem3},
    {'[', keys::oem4},
    {'\\', keys::oem5},
    {']', keys::oem6},
    {'\'', keys::oem7},
}};

// The number after `prefix` in `code` ("F12", "Digit4"), or -1.
int NumberAfter(std::string_view code, std::string_view prefix)
{
    if (code.size() <= prefix.size() || code.substr(0, prefix.size()) != prefix)
        return -1;
    int number = 0;
    for (char c : code.substr(prefix.size())) {
        if (c < '0' || c > '9' || number > 99)
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

KeyCode KeyOfPlace(std::string_view code)
{
    for (const NamedKey& named : specialKeys) {
        if (named.code == code)
            return named.key;
    }
    for (const NamedKey& named : punctuationPlaces) {
        if (named.code == code)
            return named.key;
    }
    if (code.size() == 4 && code.substr(0, 3) == "Key" && code[3] >= 'A' && code[3] <= 'Z')
        return KeyCode(keys::letterA + (code[3] - 'A'));
    if (int digit = NumberAfter(code, "Digit"); digit >= 0 && digit <= 9)
        return KeyCode(keys::digit0 + digit);
    if (int digit = NumberAfter(code, "Numpad"); digit >= 0 && digit <= 9)
        return KeyCode(keys::numpad0 + digit);
    if (int function = NumberAfter(code, "F"); function >= 1 && function <= 24)
        return KeyCode(keys::f1 + function - 1);
    return 0;
}

bool IsPunctuationPlace(std::string_view code)
{
    for (const NamedKey& named : punctuationPlaces) {
        if (named.code == code)
            return true;
    }
    return false;
}

// The one character `key` names, or 0 when it names a key ("Enter", "F1") or is empty.
char32_t SingleCharacter(std::string_view key)
{
    std::u32string characters = DecodeUtf8(key);
    return characters.size() == 1 ? characters[0] : 0;
}

}  // namespace

std::u32string DecodeUtf8(std::string_view text)
{
    std::u32string result;
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i++]);
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0)
            continue;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        bool whole = true;
        for (int k = 0; k < extra; ++k) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                whole = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
        }
        if (whole)
            result.push_back(c);
    }
    return result;
}

KeyCode VirtualKeyOf(std::string_view code, std::string_view key)
{
    KeyCode place = KeyOfPlace(code);
    // Keys whose meaning does not follow the layout's characters keep their place.
    if (place != 0 && (place < keys::digit0 || place > keys::letterA + 25) && !IsPunctuationPlace(code))
        return place;
    char32_t c = SingleCharacter(key);
    if (c >= U'a' && c <= U'z')
        return KeyCode(keys::letterA + (c - U'a'));
    if (c >= U'A' && c <= U'Z')
        return KeyCode(keys::letterA + (c - U'A'));
    for (const Punctuation& p : punctuation) {
        if (c == char32_t(p.plain))
            return p.key;
    }
    return place;
}

char32_t CharacterOf(std::string_view key, std::uint32_t modifiers)
{
    if (key == "Enter")
        return U'\r';
    if (key == "Escape")
        return 0x1B;
    if (key == "Backspace")
        return 0x08;
    if (key == "Tab")
        return U'\t';
    char32_t c = SingleCharacter(key);
    if (c == 0)
        return 0;
    // Control with a letter types its control code; a character AltGr (Control and Alt to the
    // browser) types on a letter key is that character.
    if (modifiers & modifiers::control) {
        if (c >= U'a' && c <= U'z')
            return c - U'a' + 1;
        if (c >= U'A' && c <= U'Z')
            return c - U'A' + 1;
    }
    return c;
}

std::uint32_t ModifiersOf(bool shift, bool control, bool alt)
{
    return (shift ? modifiers::shift : 0) | (control ? modifiers::control : 0) | (alt ? modifiers::alt : 0);
}

std::optional<MouseButton> ButtonOf(int domButton)
{
    switch (domButton) {
    case 0: return MouseButton::Left;
    case 1: return MouseButton::Middle;
    case 2: return MouseButton::Right;
    default: return std::nullopt;
    }
}

float NotchesOf(double deltaY, unsigned long deltaMode)
{
    switch (deltaMode) {
    case 0: return float(-deltaY / 100);
    case 1: return float(-deltaY / 3);
    default: return float(-deltaY);
    }
}

bool HeldBackFromBrowser(std::string_view code, std::uint32_t modifiers)
{
    if (modifiers & modifiers::alt)
        return true;
    if (modifiers & modifiers::control)
        return false;
    KeyCode key = KeyOfPlace(code);
    if (key >= keys::f1 && key <= keys::f1 + 23)
        return true;
    switch (key) {
    case keys::tab:
    case keys::back:
    case keys::space:
    case keys::pageUp:
    case keys::pageDown:
    case keys::home:
    case keys::end:
    case keys::left:
    case keys::up:
    case keys::right:
    case keys::down:
    case keys::alt: return true;
    default: return false;
    }
}

}  // namespace quorvane::display::web

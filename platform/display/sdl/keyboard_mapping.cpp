#include "display/sdl/keyboard_mapping.h"

#include <array>
#include <utility>

namespace quorvane::display::sdl {

namespace {

// Punctuation keys by the character they type unshifted, with their virtual key and the
// character Shift gives them on a US keyboard.
struct Punctuation {
    char plain;
    KeyCode key;
    char shifted;
};

constexpr std::array<Punctuation, 11> punctuation{{
    {';', keys::oem1, ':'},
    {'=', keys::oemPlus, '+'},
    {',', keys::oemComma, '<'},
    {'-', keys::oemMinus, '_'},
    {'.', keys::oemPeriod, '>'},
    {'/', keys::oem2, '?'},
    {'`', keys::oem3, '~'},
    {'[', keys::oem4, '{'},
    {'\\', keys::oem5, '|'},
    {']', keys::oem6, '}'},
    {'\'', keys::oem7, '"'},
}};

constexpr std::array<char, 10> shiftedDigits{')', '!', '@', '#', '$', '%', '^', '&', '*', '('};

const Punctuation* FindPunctuation(SDL_Keycode key)
{
    for (const Punctuation& p : punctuation) {
        if (key == SDL_Keycode(p.plain))
            return &p;
    }
    return nullptr;
}

// Keys that type nothing, or whose character does not depend on the layout.
KeyCode SpecialKeyOf(SDL_Keycode key)
{
    static constexpr std::pair<SDL_Keycode, KeyCode> table[] = {
        {SDLK_BACKSPACE, keys::back},
        {SDLK_TAB, keys::tab},
        {SDLK_RETURN, keys::enter},
        {SDLK_KP_ENTER, keys::enter},
        {SDLK_LSHIFT, keys::shift},
        {SDLK_RSHIFT, keys::shift},
        {SDLK_LCTRL, keys::control},
        {SDLK_RCTRL, keys::control},
        {SDLK_LALT, keys::alt},
        {SDLK_RALT, keys::alt},
        {SDLK_PAUSE, keys::pause},
        {SDLK_CAPSLOCK, keys::capsLock},
        {SDLK_ESCAPE, keys::escape},
        {SDLK_SPACE, keys::space},
        {SDLK_PAGEUP, keys::pageUp},
        {SDLK_PAGEDOWN, keys::pageDown},
        {SDLK_END, keys::end},
        {SDLK_HOME, keys::home},
        {SDLK_LEFT, keys::left},
        {SDLK_UP, keys::up},
        {SDLK_RIGHT, keys::right},
        {SDLK_DOWN, keys::down},
        {SDLK_INSERT, keys::insert},
        {SDLK_DELETE, keys::del},
        {SDLK_KP_MULTIPLY, keys::multiply},
        {SDLK_KP_PLUS, keys::add},
        {SDLK_KP_MINUS, keys::subtract},
        {SDLK_KP_PERIOD, keys::decimal},
        {SDLK_KP_DIVIDE, keys::divide},
    };
    for (const auto& [sdlKey, virtualKey] : table) {
        if (sdlKey == key)
            return virtualKey;
    }
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return KeyCode(keys::f1 + (key - SDLK_F1));
    if (key >= SDLK_F13 && key <= SDLK_F24)
        return KeyCode(keys::f1 + 12 + (key - SDLK_F13));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return KeyCode(keys::numpad0 + 1 + (key - SDLK_KP_1));
    if (key == SDLK_KP_0)
        return keys::numpad0;
    return 0;
}

KeyCode KeyOfCharacter(SDL_Keycode key)
{
    if (key >= 'a' && key <= 'z')
        return KeyCode(keys::letterA + (key - 'a'));
    if (key >= '0' && key <= '9')
        return KeyCode(keys::digit0 + (key - '0'));
    const Punctuation* p = FindPunctuation(key);
    return p ? p->key : 0;
}

// Where the layout puts a character the display has no key for (an accented letter), the key
// is the one at that place on a US keyboard.
KeyCode KeyOfPlace(SDL_Scancode scancode)
{
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return KeyCode(keys::letterA + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return KeyCode(keys::digit0 + 1 + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0)
        return keys::digit0;
    static constexpr std::pair<SDL_Scancode, KeyCode> table[] = {
        {SDL_SCANCODE_SEMICOLON, keys::oem1},   {SDL_SCANCODE_EQUALS, keys::oemPlus},
        {SDL_SCANCODE_COMMA, keys::oemComma},   {SDL_SCANCODE_MINUS, keys::oemMinus},
        {SDL_SCANCODE_PERIOD, keys::oemPeriod}, {SDL_SCANCODE_SLASH, keys::oem2},
        {SDL_SCANCODE_GRAVE, keys::oem3},       {SDL_SCANCODE_LEFTBRACKET, keys::oem4},
        {SDL_SCANCODE_BACKSLASH, keys::oem5},   {SDL_SCANCODE_RIGHTBRACKET, keys::oem6},
        {SDL_SCANCODE_APOSTROPHE, keys::oem7},
    };
    for (const auto& [place, virtualKey] : table) {
        if (place == scancode)
            return virtualKey;
    }
    return 0;
}

char32_t KeypadCharacter(SDL_Keycode key, bool numLock)
{
    switch (key) {
    case SDLK_KP_MULTIPLY: return U'*';
    case SDLK_KP_PLUS: return U'+';
    case SDLK_KP_MINUS: return U'-';
    case SDLK_KP_DIVIDE: return U'/';
    default: break;
    }
    if (!numLock)
        return 0;
    if (key == SDLK_KP_PERIOD)
        return U'.';
    if (key == SDLK_KP_0)
        return U'0';
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return char32_t(U'1' + (key - SDLK_KP_1));
    return 0;
}

}  // namespace

KeyCode VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode)
{
    if (KeyCode special = SpecialKeyOf(key))
        return special;
    if (KeyCode byCharacter = KeyOfCharacter(key))
        return byCharacter;
    return KeyOfPlace(scancode);
}

char32_t CharacterOf(SDL_Keycode key, Uint16 held)
{
    bool shift = held & KMOD_SHIFT;
    bool control = held & KMOD_CTRL;
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return U'\r';
    case SDLK_ESCAPE: return 0x1B;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return U'\t';
    case SDLK_SPACE: return U' ';
    default: break;
    }
    if (char32_t keypad = KeypadCharacter(key, held & KMOD_NUM))
        return keypad;
    if (key >= 'a' && key <= 'z') {
        if (control)
            return char32_t(key - 'a' + 1);
        bool upper = shift != bool(held & KMOD_CAPS);
        return char32_t(upper ? key - 'a' + 'A' : key);
    }
    if (key >= '0' && key <= '9')
        return char32_t(shift ? shiftedDigits[std::size_t(key - '0')] : key);
    if (const Punctuation* p = FindPunctuation(key))
        return char32_t(shift ? p->shifted : p->plain);
    // A character of the layout beyond ASCII: typed as it is unshifted; its shifted form comes
    // as text from SDL when it comes at all.
    if (key >= 0x80 && !(key & SDLK_SCANCODE_MASK) && !shift)
        return char32_t(key);
    return 0;
}

std::uint32_t ModifiersOf(Uint16 held)
{
    std::uint32_t result = 0;
    if (held & KMOD_SHIFT)
        result |= modifiers::shift;
    if (held & KMOD_CTRL)
        result |= modifiers::control;
    if (held & KMOD_ALT)
        result |= modifiers::alt;
    return result;
}

}  // namespace quorvane::display::sdl

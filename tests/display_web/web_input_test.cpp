#include <gtest/gtest.h>

#include "display/web/web_input.h"

namespace quorvane::display::web {
namespace {

constexpr std::uint32_t none = 0;
constexpr std::uint32_t shift = modifiers::shift;
constexpr std::uint32_t control = modifiers::control;
constexpr std::uint32_t alt = modifiers::alt;

struct KeyCase {
    const char* code;  // KeyboardEvent.code
    const char* key;   // KeyboardEvent.key
    std::uint32_t held;
    KeyCode virtualKey;
    char32_t character;
    bool heldBack;
};

// A US layout, a French one (letters and digits elsewhere), a German one, and keys that type
// nothing.
TEST(WebInput, KeysAreNumberedAsOnTheDesktopAndTypeTheBrowsersCharacter)
{
    const KeyCase cases[] = {
        {"KeyA", "a", none, keys::letterA, U'a', false},
        {"KeyA", "A", shift, keys::letterA, U'A', false},
        {"KeyQ", "a", none, keys::letterA, U'a', false},
        {"KeyZ", "y", none, KeyCode(keys::letterA + 24), U'y', false},
        {"KeyC", "c", control, KeyCode(keys::letterA + 2), 3, false},
        {"KeyQ", "@", control | alt, KeyCode(keys::letterA + 16), U'@', true},
        {"KeyF", "f", alt, KeyCode(keys::letterA + 5), U'f', true},
        {"Digit1", "1", none, KeyCode(keys::digit0 + 1), U'1', false},
        {"Digit1", "!", shift, KeyCode(keys::digit0 + 1), U'!', false},
        {"Digit1", "&", none, KeyCode(keys::digit0 + 1), U'&', false},
        {"Slash", "/", none, keys::oem2, U'/', false},
        {"Slash", "?", shift | alt, keys::oem2, U'?', true},
        {"Minus", "ß", none, keys::oemMinus, U'ß', false},
        {"Semicolon", "ö", none, keys::oem1, U'ö', false},
        {"Period", ".", none, keys::oemPeriod, U'.', false},
        {"F1", "F1", none, keys::f1, 0, true},
        {"F5", "F5", none, KeyCode(keys::f1 + 4), 0, true},
        {"F5", "F5", control, KeyCode(keys::f1 + 4), 0, false},
        {"F12", "F12", none, KeyCode(keys::f1 + 11), 0, true},
        {"Enter", "Enter", alt, keys::enter, U'\r', true},
        {"NumpadEnter", "Enter", none, keys::enter, U'\r', false},
        {"Escape", "Escape", none, keys::escape, 0x1B, false},
        {"Tab", "Tab", none, keys::tab, U'\t', true},
        {"Backspace", "Backspace", none, keys::back, 0x08, true},
        {"AltLeft", "Alt", alt, keys::alt, 0, true},
        {"ShiftRight", "Shift", shift, keys::shift, 0, false},
        {"ArrowDown", "ArrowDown", none, keys::down, 0, true},
        {"Numpad7", "7", none, KeyCode(keys::numpad0 + 7), U'7', false},
        {"Numpad7", "Home", none, KeyCode(keys::numpad0 + 7), 0, false},
        {"NumpadAdd", "+", none, keys::add, U'+', false},
        {"IntlRo", "\\", none, keys::oem5, U'\\', false},
        {"Lang1", "HangulMode", none, 0, 0, false},
        {"KeyA", "あ", none, keys::letterA, U'あ', false},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.key);
        EXPECT_EQ(VirtualKeyOf(c.code, c.key), c.virtualKey);
        EXPECT_EQ(CharacterOf(c.key, c.held), c.character);
        EXPECT_EQ(HeldBackFromBrowser(c.code, c.held), c.heldBack);
    }
}

TEST(WebInput, ButtonsWheelAndModifiersAsTheDesktopDisplayGivesThem)
{
    EXPECT_EQ(ButtonOf(0), MouseButton::Left);
    EXPECT_EQ(ButtonOf(1), MouseButton::Middle);
    EXPECT_EQ(ButtonOf(2), MouseButton::Right);
    EXPECT_EQ(ButtonOf(3), std::nullopt);
    // Positive deltaY scrolls towards the user: notches the other way.
    EXPECT_FLOAT_EQ(NotchesOf(100, 0), -1);
    EXPECT_FLOAT_EQ(NotchesOf(-50, 0), 0.5f);
    EXPECT_FLOAT_EQ(NotchesOf(-3, 1), 1);
    EXPECT_FLOAT_EQ(NotchesOf(1, 2), -1);
    EXPECT_EQ(ModifiersOf(true, false, true), shift | alt);
    EXPECT_EQ(ModifiersOf(false, true, false), control);
}

TEST(WebInput, MalformedUtf8IsSkippedNotGuessed)
{
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9"), U"aé");
    EXPECT_EQ(DecodeUtf8("\xE3\x81"), U"");
    EXPECT_EQ(DecodeUtf8("\xFFx\xF0\x9F\x98\x80"), U"x😀");
}

}  // namespace
}  // namespace quorvane::display::web

#include "display/sdl/keyboard_mapping.h"

#include <gtest/gtest.h>

namespace quorvane::display::sdl {
namespace {

TEST(SdlKeyboardMapping, KeysThatTypeNothingHaveTheirVirtualKeys)
{
    EXPECT_EQ(VirtualKeyOf(SDLK_F1, SDL_SCANCODE_F1), keys::f1);
    EXPECT_EQ(VirtualKeyOf(SDLK_F6, SDL_SCANCODE_F6), keys::f1 + 5);
    EXPECT_EQ(VirtualKeyOf(SDLK_F12, SDL_SCANCODE_F12), keys::f1 + 11);
    EXPECT_EQ(VirtualKeyOf(SDLK_F13, SDL_SCANCODE_F13), keys::f1 + 12);
    EXPECT_EQ(VirtualKeyOf(SDLK_F24, SDL_SCANCODE_F24), 0x87);
    EXPECT_EQ(VirtualKeyOf(SDLK_RETURN, SDL_SCANCODE_RETURN), keys::enter);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), keys::enter);
    EXPECT_EQ(VirtualKeyOf(SDLK_LALT, SDL_SCANCODE_LALT), keys::alt);
    EXPECT_EQ(VirtualKeyOf(SDLK_RALT, SDL_SCANCODE_RALT), keys::alt);
    EXPECT_EQ(VirtualKeyOf(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), keys::shift);
    EXPECT_EQ(VirtualKeyOf(SDLK_LCTRL, SDL_SCANCODE_LCTRL), keys::control);
    EXPECT_EQ(VirtualKeyOf(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), keys::escape);
    EXPECT_EQ(VirtualKeyOf(SDLK_DOWN, SDL_SCANCODE_DOWN), keys::down);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_0, SDL_SCANCODE_KP_0), keys::numpad0);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_7, SDL_SCANCODE_KP_7), keys::numpad0 + 7);
    EXPECT_EQ(VirtualKeyOf(SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE), keys::divide);
    EXPECT_EQ(VirtualKeyOf(SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP), 0);
}

TEST(SdlKeyboardMapping, CharacterKeysFollowTheLayoutAndFallBackToTheirPlace)
{
    EXPECT_EQ(VirtualKeyOf(SDLK_a, SDL_SCANCODE_A), keys::letterA);
    // An AZERTY layout: the key at Q's place types 'a' and is VK 'A'.
    EXPECT_EQ(VirtualKeyOf(SDLK_a, SDL_SCANCODE_Q), keys::letterA);
    EXPECT_EQ(VirtualKeyOf(SDLK_z, SDL_SCANCODE_W), keys::letterA + 25);
    EXPECT_EQ(VirtualKeyOf(SDLK_7, SDL_SCANCODE_7), keys::digit0 + 7);
    EXPECT_EQ(VirtualKeyOf(SDLK_SLASH, SDL_SCANCODE_SLASH), keys::oem2);
    EXPECT_EQ(VirtualKeyOf(SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE), keys::oem7);
    // A German layout's 'ü' (no virtual key of its own) is the key at '[''s place.
    EXPECT_EQ(VirtualKeyOf(SDL_Keycode(0xFC), SDL_SCANCODE_LEFTBRACKET), keys::oem4);
    EXPECT_EQ(VirtualKeyOf(SDL_Keycode(0xE9), SDL_SCANCODE_2), keys::digit0 + 2);
}

TEST(SdlKeyboardMapping, CharactersWithShiftCapsLockAndControl)
{
    EXPECT_EQ(CharacterOf(SDLK_a, KMOD_NONE), U'a');
    EXPECT_EQ(CharacterOf(SDLK_a, KMOD_LSHIFT), U'A');
    EXPECT_EQ(CharacterOf(SDLK_a, KMOD_CAPS), U'A');
    EXPECT_EQ(CharacterOf(SDLK_a, KMOD_CAPS | KMOD_RSHIFT), U'a');
    EXPECT_EQ(CharacterOf(SDLK_c, KMOD_LCTRL), char32_t(3));
    EXPECT_EQ(CharacterOf(SDLK_1, KMOD_NONE), U'1');
    EXPECT_EQ(CharacterOf(SDLK_1, KMOD_LSHIFT), U'!');
    EXPECT_EQ(CharacterOf(SDLK_0, KMOD_RSHIFT), U')');
    EXPECT_EQ(CharacterOf(SDLK_SEMICOLON, KMOD_LSHIFT), U':');
    EXPECT_EQ(CharacterOf(SDLK_BACKSLASH, KMOD_NONE), U'\\');
    EXPECT_EQ(CharacterOf(SDLK_BACKSLASH, KMOD_LSHIFT), U'|');
}

TEST(SdlKeyboardMapping, AltChangesNoCharacter)
{
    // The About box's accelerators: Alt with '/' and with '?' (Shift+'/').
    EXPECT_EQ(CharacterOf(SDLK_SLASH, KMOD_LALT), U'/');
    EXPECT_EQ(CharacterOf(SDLK_SLASH, KMOD_LALT | KMOD_LSHIFT), U'?');
    EXPECT_EQ(CharacterOf(SDLK_RETURN, KMOD_LALT), U'\r');
}

TEST(SdlKeyboardMapping, KeysWithoutAPrintableCharacter)
{
    EXPECT_EQ(CharacterOf(SDLK_RETURN, KMOD_NONE), U'\r');
    EXPECT_EQ(CharacterOf(SDLK_ESCAPE, KMOD_NONE), char32_t(0x1B));
    EXPECT_EQ(CharacterOf(SDLK_BACKSPACE, KMOD_NONE), char32_t(8));
    EXPECT_EQ(CharacterOf(SDLK_TAB, KMOD_NONE), U'\t');
    EXPECT_EQ(CharacterOf(SDLK_F5, KMOD_NONE), char32_t(0));
    EXPECT_EQ(CharacterOf(SDLK_LALT, KMOD_LALT), char32_t(0));
    EXPECT_EQ(CharacterOf(SDLK_LEFT, KMOD_NONE), char32_t(0));
}

TEST(SdlKeyboardMapping, KeypadDigitsNeedNumLock)
{
    EXPECT_EQ(CharacterOf(SDLK_KP_5, KMOD_NUM), U'5');
    EXPECT_EQ(CharacterOf(SDLK_KP_0, KMOD_NUM), U'0');
    EXPECT_EQ(CharacterOf(SDLK_KP_5, KMOD_NONE), char32_t(0));
    EXPECT_EQ(CharacterOf(SDLK_KP_PERIOD, KMOD_NUM), U'.');
    EXPECT_EQ(CharacterOf(SDLK_KP_MULTIPLY, KMOD_NONE), U'*');
}

TEST(SdlKeyboardMapping, LayoutCharactersBeyondAsciiAreTypedUnshifted)
{
    EXPECT_EQ(CharacterOf(SDL_Keycode(0xE9), KMOD_NONE), U'\u00E9');
    EXPECT_EQ(CharacterOf(SDL_Keycode(0xE9), KMOD_LSHIFT), char32_t(0));
}

TEST(SdlKeyboardMapping, Modifiers)
{
    EXPECT_EQ(ModifiersOf(KMOD_NONE), 0u);
    EXPECT_EQ(ModifiersOf(KMOD_RSHIFT | KMOD_LALT), modifiers::shift | modifiers::alt);
    EXPECT_EQ(ModifiersOf(KMOD_RCTRL | KMOD_NUM | KMOD_CAPS), modifiers::control);
}

}  // namespace
}  // namespace quorvane::display::sdl

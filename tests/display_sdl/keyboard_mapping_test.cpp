#include "display/sdl/keyboard_mapping.h"

#include <gtest/gtest.h>

namespace quorvane::display::sdl {
namespace {

// Keys that type nothing have their own virtual keys; character keys follow the layout and
// fall back to their place on the keyboard.
TEST(SdlKeyboardMapping, VirtualKeys)
{
    struct Case {
        SDL_Keycode key;
        SDL_Scancode place;
        int virtualKey;
    };
    const Case cases[] = {
        {SDLK_F1, SDL_SCANCODE_F1, keys::f1},
        {SDLK_F6, SDL_SCANCODE_F6, keys::f1 + 5},
        {SDLK_F12, SDL_SCANCODE_F12, keys::f1 + 11},
        {SDLK_F13, SDL_SCANCODE_F13, keys::f1 + 12},
        {SDLK_F24, SDL_SCANCODE_F24, 0x87},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, keys::enter},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, keys::enter},
        {SDLK_LALT, SDL_SCANCODE_LALT, keys::alt},
        {SDLK_RALT, SDL_SCANCODE_RALT, keys::alt},
        {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, keys::shift},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, keys::control},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, keys::escape},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, keys::down},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, keys::numpad0},
        {SDLK_KP_7, SDL_SCANCODE_KP_7, keys::numpad0 + 7},
        {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, keys::divide},
        {SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0},
        {SDLK_a, SDL_SCANCODE_A, keys::letterA},
        {SDLK_a, SDL_SCANCODE_Q, keys::letterA},  // AZERTY: the key at Q's place types 'a'
        {SDLK_z, SDL_SCANCODE_W, keys::letterA + 25},
        {SDLK_7, SDL_SCANCODE_7, keys::digit0 + 7},
        {SDLK_SLASH, SDL_SCANCODE_SLASH, keys::oem2},
        {SDLK_QUOTE, SDL_SCANCODE_APOSTROPHE, keys::oem7},
        {SDL_Keycode(0xFC), SDL_SCANCODE_LEFTBRACKET, keys::oem4},  // German 'ü', at '[''s place
        {SDL_Keycode(0xE9), SDL_SCANCODE_2, keys::digit0 + 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VirtualKeyOf(c.key, c.place), c.virtualKey) << "key " << c.key << " at " << c.place;
}

TEST(SdlKeyboardMapping, Characters)
{
    struct Case {
        SDL_Keycode key;
        Uint16 held;
        char32_t character;
    };
    const Case cases[] = {
        // Shift, Caps Lock and Control.
        {SDLK_a, KMOD_NONE, U'a'},
        {SDLK_a, KMOD_LSHIFT, U'A'},
        {SDLK_a, KMOD_CAPS, U'A'},
        {SDLK_a, KMOD_CAPS | KMOD_RSHIFT, U'a'},
        {SDLK_c, KMOD_LCTRL, 3},
        {SDLK_1, KMOD_NONE, U'1'},
        {SDLK_1, KMOD_LSHIFT, U'!'},
        {SDLK_0, KMOD_RSHIFT, U')'},
        {SDLK_SEMICOLON, KMOD_LSHIFT, U':'},
        {SDLK_BACKSLASH, KMOD_NONE, U'\\'},
        {SDLK_BACKSLASH, KMOD_LSHIFT, U'|'},
        // Alt changes nothing: the About box's accelerators are Alt with '/' and with '?'.
        {SDLK_SLASH, KMOD_LALT, U'/'},
        {SDLK_SLASH, KMOD_LALT | KMOD_LSHIFT, U'?'},
        {SDLK_RETURN, KMOD_LALT, U'\r'},
        // Keys without a printable character.
        {SDLK_RETURN, KMOD_NONE, U'\r'},
        {SDLK_ESCAPE, KMOD_NONE, 0x1B},
        {SDLK_BACKSPACE, KMOD_NONE, 8},
        {SDLK_TAB, KMOD_NONE, U'\t'},
        {SDLK_F5, KMOD_NONE, 0},
        {SDLK_LALT, KMOD_LALT, 0},
        {SDLK_LEFT, KMOD_NONE, 0},
        // Keypad digits need Num Lock; its operators do not.
        {SDLK_KP_5, KMOD_NUM, U'5'},
        {SDLK_KP_0, KMOD_NUM, U'0'},
        {SDLK_KP_5, KMOD_NONE, 0},
        {SDLK_KP_PERIOD, KMOD_NUM, U'.'},
        {SDLK_KP_MULTIPLY, KMOD_NONE, U'*'},
        // A layout's characters beyond ASCII are typed unshifted only.
        {SDL_Keycode(0xE9), KMOD_NONE, U'\u00E9'},
        {SDL_Keycode(0xE9), KMOD_LSHIFT, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CharacterOf(c.key, c.held), c.character) << "key " << c.key << " with " << c.held;
}

TEST(SdlKeyboardMapping, Modifiers)
{
    EXPECT_EQ(ModifiersOf(KMOD_NONE), 0u);
    EXPECT_EQ(ModifiersOf(KMOD_RSHIFT | KMOD_LALT), modifiers::shift | modifiers::alt);
    EXPECT_EQ(ModifiersOf(KMOD_RCTRL | KMOD_NUM | KMOD_CAPS), modifiers::control);
}

}  // namespace
}  // namespace quorvane::display::sdl

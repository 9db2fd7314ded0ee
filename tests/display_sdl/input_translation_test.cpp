#include "display/sdl/input_translation.h"

#include <gtest/gtest.h>

namespace quorvane::display::sdl {
namespace {

Window* const someWindow = reinterpret_cast<Window*>(std::uintptr_t{0x1000});

SDL_Event KeyDown(SDL_Keycode key, SDL_Scancode scancode, Uint16 held)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.timestamp = 1234;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = held;
    return event;
}

SDL_Event TextInput(const char* text)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    std::snprintf(event.text.text, sizeof event.text.text, "%s", text);
    return event;
}

SDL_Event Wheel(float preciseY, Uint32 direction)
{
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.preciseY = preciseY;
    event.wheel.y = int(preciseY);
    event.wheel.direction = direction;
    event.wheel.mouseX = 40;
    event.wheel.mouseY = 30;
    return event;
}

class SdlInputTranslation : public testing::Test {
protected:
    std::vector<Event> Translate(const SDL_Event& event, const char* pressText = nullptr, Uint16 held = KMOD_NONE)
    {
        std::vector<Event> out;
        translator.Translate(event, someWindow, pressText, held, out);
        return out;
    }

    InputTranslator translator;
};

TEST_F(SdlInputTranslation, APressCarriesTheTextThatCameWithItOrWorksItOutWithAlt)
{
    // Shift+'/' on a US layout: SDL's text says '?'.
    auto events = Translate(KeyDown(SDLK_SLASH, SDL_SCANCODE_SLASH, KMOD_LSHIFT), "?");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::KeyDown);
    EXPECT_EQ(events[0].key, keys::oem2);
    EXPECT_EQ(events[0].character, U'?');
    EXPECT_EQ(events[0].modifiers, modifiers::shift);
    EXPECT_EQ(events[0].window, someWindow);
    EXPECT_EQ(events[0].time, 1234u);
    // With Alt held SDL sends no text: the character is worked out from the key.
    events = Translate(KeyDown(SDLK_SLASH, SDL_SCANCODE_SLASH, KMOD_LALT | KMOD_LSHIFT));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].character, U'?');
    EXPECT_EQ(events[0].modifiers, modifiers::alt | modifiers::shift);
}

TEST_F(SdlInputTranslation, ACharacterIsNeverTypedTwice)
{
    // An input method sends the text of a press late, on its own.
    auto press = Translate(KeyDown(SDLK_a, SDL_SCANCODE_A, KMOD_NONE));
    ASSERT_EQ(press.size(), 1u);
    EXPECT_EQ(press[0].character, U'a');
    EXPECT_TRUE(Translate(TextInput("a")).empty());
    // Other text, or the same text again after it, is typed.
    auto other = Translate(TextInput("a"));
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].type, EventType::Text);
    EXPECT_EQ(other[0].character, U'a');
    Translate(KeyDown(SDLK_a, SDL_SCANCODE_A, KMOD_NONE));
    auto different = Translate(TextInput("b"));
    ASSERT_EQ(different.size(), 1u);
    EXPECT_EQ(different[0].character, U'b');
}

TEST_F(SdlInputTranslation, TextOfSeveralCharactersFollowsThePress)
{
    auto events = Translate(KeyDown(SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE), "日本");
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].type, EventType::KeyDown);
    EXPECT_EQ(events[0].character, char32_t(0));
    EXPECT_EQ(events[1].type, EventType::Text);
    EXPECT_EQ(events[1].character, U'日');
    EXPECT_EQ(events[2].character, U'本');
}

TEST_F(SdlInputTranslation, AKeyWithoutVirtualKeyStillTypes)
{
    auto events = Translate(KeyDown(SDL_Keycode(0xE9), SDL_SCANCODE_UNKNOWN, KMOD_NONE));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::Text);
    EXPECT_EQ(events[0].character, U'\u00E9');
    EXPECT_TRUE(Translate(KeyDown(SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, KMOD_NONE)).empty());
}

TEST_F(SdlInputTranslation, ReleasesAndRepeats)
{
    SDL_Event repeat = KeyDown(SDLK_F2, SDL_SCANCODE_F2, KMOD_NONE);
    repeat.key.repeat = 1;
    auto pressed = Translate(repeat);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_TRUE(pressed[0].repeat);
    EXPECT_EQ(pressed[0].character, char32_t(0));
    SDL_Event release = KeyDown(SDLK_LALT, SDL_SCANCODE_LALT, KMOD_NONE);
    release.type = SDL_KEYUP;
    auto released = Translate(release);
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].type, EventType::KeyUp);
    EXPECT_EQ(released[0].key, keys::alt);
    EXPECT_EQ(released[0].modifiers, 0u);  // after the release took effect
}

TEST_F(SdlInputTranslation, WheelNotchesAwayFromTheUserAndFractions)
{
    auto forward = Translate(Wheel(1.0f, SDL_MOUSEWHEEL_NORMAL));
    ASSERT_EQ(forward.size(), 1u);
    EXPECT_EQ(forward[0].type, EventType::MouseWheel);
    EXPECT_FLOAT_EQ(forward[0].wheel, 1.0f);
    EXPECT_EQ(forward[0].x, 40);
    EXPECT_EQ(forward[0].y, 30);
    auto fine = Translate(Wheel(-0.5f, SDL_MOUSEWHEEL_NORMAL));
    ASSERT_EQ(fine.size(), 1u);
    EXPECT_FLOAT_EQ(fine[0].wheel, -0.5f);
    auto flipped = Translate(Wheel(1.0f, SDL_MOUSEWHEEL_FLIPPED));
    ASSERT_EQ(flipped.size(), 1u);
    EXPECT_FLOAT_EQ(flipped[0].wheel, -1.0f);
    EXPECT_TRUE(Translate(Wheel(0.0f, SDL_MOUSEWHEEL_NORMAL)).empty());  // sideways only
}

TEST_F(SdlInputTranslation, ButtonsWithTheModifiersHeld)
{
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.button = SDL_BUTTON_RIGHT;
    press.button.x = -5;  // held outside the surface
    press.button.y = 17;
    auto events = Translate(press, nullptr, KMOD_LCTRL);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::MouseButtonDown);
    EXPECT_EQ(events[0].button, MouseButton::Right);
    EXPECT_EQ(events[0].x, -5);
    EXPECT_EQ(events[0].y, 17);
    EXPECT_EQ(events[0].modifiers, modifiers::control);
    press.button.button = SDL_BUTTON_X1;
    EXPECT_TRUE(Translate(press).empty());
}

TEST(SdlUtf8, DecodesAndSkipsMalformedBytes)
{
    EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"), U"aé日😀");
    EXPECT_EQ(DecodeUtf8("\xFF"
                         "b\xE6\x97"
                         "c"),
              U"bc");
    EXPECT_EQ(DecodeUtf8(""), U"");
}

}  // namespace
}  // namespace quorvane::display::sdl

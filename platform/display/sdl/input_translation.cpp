#include "display/sdl/input_translation.h"

#include "display/sdl/keyboard_mapping.h"

namespace quorvane::display::sdl {

namespace {

std::optional<MouseButton> ButtonOf(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT: return MouseButton::Left;
    case SDL_BUTTON_RIGHT: return MouseButton::Right;
    case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
    default: return std::nullopt;
    }
}

// Notches away from the user, fractions from fine wheels.
float NotchesOf(const SDL_MouseWheelEvent& wheel)
{
    float notches = wheel.preciseY;
    return wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -notches : notches;
}

}  // namespace

std::u32string DecodeUtf8(const char* text)
{
    std::u32string result;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        unsigned char lead = *p++;
        int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0)
            continue;
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        bool whole = true;
        for (int i = 0; i < extra; ++i) {
            if ((*p & 0xC0) != 0x80) {
                whole = false;
                break;
            }
            c = (c << 6) | (*p++ & 0x3F);
        }
        if (whole)
            result.push_back(c);
    }
    return result;
}

void InputTranslator::Translate(const SDL_Event& sdl, Window* window, const char* pressText, Uint16 held,
                                std::vector<Event>& out)
{
    Event event{.window = window, .time = sdl.common.timestamp, .modifiers = ModifiersOf(held)};
    switch (sdl.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (auto button = ButtonOf(sdl.button.button)) {
            event.type = sdl.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseButtonDown : EventType::MouseButtonUp;
            event.button = *button;
            event.x = sdl.button.x;
            event.y = sdl.button.y;
            out.push_back(event);
        }
        break;
    case SDL_MOUSEMOTION:
        event.type = EventType::MouseMove;
        event.x = sdl.motion.x;
        event.y = sdl.motion.y;
        out.push_back(event);
        break;
    case SDL_MOUSEWHEEL:
        event.wheel = NotchesOf(sdl.wheel);
        if (event.wheel != 0) {
            event.type = EventType::MouseWheel;
            event.x = sdl.wheel.mouseX;
            event.y = sdl.wheel.mouseY;
            out.push_back(event);
        }
        break;
    case SDL_KEYDOWN: TranslatePress(sdl.key, event, pressText, out); break;
    case SDL_KEYUP:
        event.type = EventType::KeyUp;
        event.key = VirtualKeyOf(sdl.key.keysym.sym, sdl.key.keysym.scancode);
        event.modifiers = ModifiersOf(sdl.key.keysym.mod);
        if (event.key != 0)
            out.push_back(event);
        break;
    case SDL_TEXTINPUT: TranslateText(sdl.text.text, event, out); break;
    default: break;
    }
}

void InputTranslator::TranslatePress(const SDL_KeyboardEvent& key, Event event, const char* pressText,
                                     std::vector<Event>& out)
{
    event.type = EventType::KeyDown;
    event.key = VirtualKeyOf(key.keysym.sym, key.keysym.scancode);
    event.modifiers = ModifiersOf(key.keysym.mod);
    event.repeat = key.repeat != 0;
    workedOut_ = 0;
    std::u32string text = pressText ? DecodeUtf8(pressText) : std::u32string();
    if (text.size() == 1) {
        event.character = text[0];
        text.clear();
    } else if (text.empty()) {
        event.character = CharacterOf(key.keysym.sym, key.keysym.mod);
        workedOut_ = event.character;
    }
    if (event.key != 0)
        out.push_back(event);
    else if (event.character != 0)
        text.insert(text.begin(), event.character);  // a key the display does not number still types
    for (char32_t c : text) {
        Event typed = event;
        typed.type = EventType::Text;
        typed.key = 0;
        typed.repeat = false;
        typed.character = c;
        out.push_back(typed);
    }
}

void InputTranslator::TranslateText(const char* text, Event event, std::vector<Event>& out)
{
    std::u32string characters = DecodeUtf8(text);
    if (workedOut_ != 0 && characters.size() == 1 && characters[0] == workedOut_)
        characters.clear();
    workedOut_ = 0;
    event.type = EventType::Text;
    for (char32_t c : characters) {
        event.character = c;
        out.push_back(event);
    }
}

}  // namespace quorvane::display::sdl

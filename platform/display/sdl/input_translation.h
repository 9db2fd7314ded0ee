// SDL's mouse and keyboard events as the display's input events.
//
// A key press carries the character it types. SDL sends that character as a separate text
// event right after the press, except while Alt or Control is held and for keys like Enter; the
// driver hands the press its text when one follows, and the press works its character out from
// the key and the Shift state when none does. Text that comes on its own (an input method's) is
// delivered as Text events, one per character, but never a character that a press already
// carried.
#pragma once

#include <SDL.h>

#include <optional>
#include <string>
#include <vector>

#include "display/display_events.h"

namespace quorvane::display::sdl {

// The characters of UTF-8 text (a malformed sequence is skipped).
std::u32string DecodeUtf8(const char* text);

class InputTranslator {
public:
    // Appends what `event` becomes to `out`, naming `window` (null when the window has gone).
    // `pressText` is the text SDL sent with a key press (null when none followed it); `held` is
    // the keyboard's modifier state now (SDL's KMOD_ flags), for mouse events.
    void Translate(const SDL_Event& event, Window* window, const char* pressText, Uint16 held, std::vector<Event>& out);

private:
    void TranslatePress(const SDL_KeyboardEvent& key, Event event, const char* pressText, std::vector<Event>& out);
    void TranslateText(const char* text, Event event, std::vector<Event>& out);

    // The character the last key press carried that SDL had not sent as text: SDL may still
    // send it (an input method answers late), and it is not typed twice.
    char32_t workedOut_ = 0;
};

}  // namespace quorvane::display::sdl

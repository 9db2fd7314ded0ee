// The browser's mouse and keyboard events as the display's input events: plain functions of what
// a KeyboardEvent, MouseEvent or WheelEvent carries, so that they build and run anywhere.
//
// Keys are numbered as the desktop display numbers them: a letter by the character the layout
// gives it, punctuation by its unshifted character where the layout types one of the US
// keyboard's, any other key by its place (KeyboardEvent.code). A key press carries the
// character KeyboardEvent.key names (the browser has applied the layout and Shift), Enter,
// Escape, Backspace and Tab their control characters, and Control with a letter its control
// code, as on the desktop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "display/display_events.h"

namespace quorvane::display::web {

// The characters of UTF-8 text (a malformed sequence is skipped).
std::u32string DecodeUtf8(std::string_view text);

// The virtual key of a key event (KeyboardEvent.code and .key, UTF-8); 0 for a key the display
// does not number.
KeyCode VirtualKeyOf(std::string_view code, std::string_view key);

// The character a key press types (KeyboardEvent.key, UTF-8; 0 for none), with the display's
// modifier flags held.
char32_t CharacterOf(std::string_view key, std::uint32_t modifiers);

// The display's modifier flags from a DOM event's.
std::uint32_t ModifiersOf(bool shift, bool control, bool alt);

// MouseEvent.button: 0 left, 1 middle, 2 right; the others are not the display's.
std::optional<MouseButton> ButtonOf(int domButton);

// Wheel notches away from the user from WheelEvent.deltaY (positive towards the user) in its
// deltaMode (0 pixels, 1 lines, 2 pages): 100 pixels or 3 lines make one notch.
float NotchesOf(double deltaY, unsigned long deltaMode);

// Whether a key press is kept from the browser (its default action prevented): the function
// keys, Alt with any key, Tab, Backspace and the keys that scroll the page. Keys with Control
// stay the browser's (reload, zoom, closing the tab), except with Alt.
bool HeldBackFromBrowser(std::string_view code, std::uint32_t modifiers);

}  // namespace quorvane::display::web

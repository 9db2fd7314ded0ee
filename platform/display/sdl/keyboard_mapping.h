// SDL's keys as the display numbers them (Windows' virtual keys), and the character a key press
// types when SDL sends no text for it (Alt or Control held, or a key like Enter whose character
// SDL does not count as text).
#pragma once

#include <SDL.h>

#include "display/display_events.h"

namespace quorvane::display::sdl {

// The virtual key of an SDL key: by the character the layout gives it where it has one, by its
// place on the keyboard otherwise. 0 for a key the display does not number.
KeyCode VirtualKeyOf(SDL_Keycode key, SDL_Scancode scancode);

// The character a key types with the modifiers held (SDL's KMOD_ flags), 0 for none. SDL's key
// code is the unshifted character of the layout; Shift gives the character above it as on a
// US keyboard, Control with a letter gives its control code.
char32_t CharacterOf(SDL_Keycode key, Uint16 held);

// The display's modifier flags from SDL's.
std::uint32_t ModifiersOf(Uint16 held);

}  // namespace quorvane::display::sdl

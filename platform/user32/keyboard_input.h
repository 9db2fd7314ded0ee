// Key events to key messages (WM_SYSKEYDOWN while Alt is held, and for Alt and F10 themselves),
// the keyboard state behind GetKeyState, the focus, and TranslateMessage's characters.
#pragma once

#include <cstdint>

#include "display/display_events.h"
#include "user32/window.h"

namespace quorvane::user32 {

void TranslateKeyEvent(Window& topLevel, const display::Event& event);

// Only the state of the keys, for an event that makes no message.
void KeepKeyState(const display::Event& event);

// The focus window if it is `topLevel` or inside it, otherwise `topLevel` (null if disabled).
Window* KeyboardTarget(Window& topLevel);

// Shift, Control and Alt as the display says they are held.
void SetModifierState(std::uint32_t modifiers);

}  // namespace quorvane::user32

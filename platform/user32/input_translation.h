// The one path from the display's events to messages, for every backend: input becomes queued
// messages for the window under the mouse, the capture or the focus; what the window manager
// does is sent to the window procedure as Windows sends it (system commands, sizes, the
// display's change).
#pragma once

#include "display/display_events.h"

namespace quorvane::user32 {

void TranslateDeviceEvent(const display::Event& event);

}  // namespace quorvane::user32

// The update region (kept as its bounding rectangle) and the painting calls around it.
#pragma once

#include "user32/window.h"

namespace quorvane::user32 {

// Shown, not minimised, and something of it invalid: GetMessageW owes it a WM_PAINT.
bool NeedsPainting(const Window& window);

}  // namespace quorvane::user32

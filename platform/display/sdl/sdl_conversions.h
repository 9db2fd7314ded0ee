// Sizes and modes between SDL's terms and the display's.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cstdint>

#include "display/display.h"

namespace quorvane::display::sdl {

inline Mode ModeOf(const SDL_DisplayMode& mode)
{
    return Mode{std::uint32_t(mode.w), std::uint32_t(mode.h), std::uint32_t(mode.refresh_rate)};
}

// A window's side as SDL takes it: at least one pixel, at most 16384.
inline int AtLeastOne(std::uint32_t size)
{
    return std::max(1, int(std::min<std::uint32_t>(size, 16384)));
}

}  // namespace quorvane::display::sdl

#include "display/sdl/window_placement.h"

#include <utility>

namespace quorvane::display::sdl {

bool WindowPlacement::PlaceToAsk(const Rect& rect, std::uint32_t now)
{
    geometry_.Place(rect, now);
    if (IsFullScreen())
        return false;
    unsent_ = rect;
    return true;
}

std::optional<Rect> WindowPlacement::TakeUnsent()
{
    return std::exchange(unsent_, std::nullopt);
}

bool WindowPlacement::TakePutBack()
{
    return std::exchange(putBack_, false);
}

void WindowPlacement::LeaveWindowed()
{
    if (!IsFullScreen())
        windowed_ = geometry_.Placed();
    unsent_.reset();
}

void WindowPlacement::EnterFullScreen(FullScreen how, const Rect& screen, std::uint32_t now)
{
    fullScreen_ = how;
    usersFullScreen_ = false;
    geometry_.Place(screen, now);
}

Rect WindowPlacement::LeaveFullScreen()
{
    fullScreen_ = FullScreen::No;
    return windowed_;
}

}  // namespace quorvane::display::sdl

#include "display/sdl/window_placement.h"

#include <utility>

namespace quorvane::display::sdl {

bool WindowPlacement::PlaceToAsk(const Rect& rect, std::uint32_t now, bool coversDesktop)
{
    geometry_.Place(rect, now);
    if (IsFullScreen())
        return false;
    unsent_ = coversDesktop && !usersFullScreen_ && beforeUsers_ ? *beforeUsers_ : rect;
    if (!coversDesktop && rect != beforeUsers_)
        beforeUsers_.reset();  // a place of the program's own
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

void WindowPlacement::BeginUsersFullScreen()
{
    if (!usersFullScreen_ || !beforeUsers_)
        beforeUsers_ = geometry_.Placed();
    usersFullScreen_ = true;
}

void WindowPlacement::EndUsersFullScreen()
{
    // Outside the program's full screen the window manager puts the window back itself; within
    // it, the program's records may still hold the screen as the window's place.
    if (usersFullScreen_ && !IsFullScreen())
        beforeUsers_.reset();
    usersFullScreen_ = false;
}

void WindowPlacement::EnterFullScreen(FullScreen how, const Rect& screen, std::uint32_t now)
{
    fullScreen_ = how;
    geometry_.Place(screen, now);
}

Rect WindowPlacement::LeaveFullScreen(bool usersKept)
{
    fullScreen_ = FullScreen::No;
    usersFullScreen_ = usersKept;
    if (!usersKept && beforeUsers_)
        return *beforeUsers_;
    return windowed_;
}

}  // namespace quorvane::display::sdl

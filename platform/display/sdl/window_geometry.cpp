#include "display/sdl/window_geometry.h"

namespace quorvane::display::sdl {

namespace {

// Ticks wrap after 49 days; differences stay right across the wrap.
bool NotBefore(std::uint32_t now, std::uint32_t time)
{
    return std::int32_t(now - time) >= 0;
}

}  // namespace

void WindowGeometry::Place(const Rect& rect, std::uint32_t now)
{
    placed_ = rect;
    requested_ = true;
    std::uint32_t settleAt = now + answerLimit;
    if (!settleAt_ || NotBefore(settleAt, *settleAt_))
        settleAt_ = settleAt;
}

void WindowGeometry::Reported(std::uint32_t now)
{
    // A burst of reports is looked at once, a short while after its first report.
    if (!settleAt_)
        settleAt_ = now + reportDelay;
}

void WindowGeometry::Answered(const Rect& actual, std::uint32_t now)
{
    if (requested_ && actual == placed_)
        settleAt_ = now;
    else
        Reported(now);
}

bool WindowGeometry::Due(std::uint32_t now) const
{
    return settleAt_ && NotBefore(now, *settleAt_);
}

bool WindowGeometry::Settle(const Rect& actual, bool reportable)
{
    settleAt_.reset();
    requested_ = false;
    if (!reportable || actual == placed_)
        return false;
    placed_ = actual;
    return true;
}

}  // namespace quorvane::display::sdl

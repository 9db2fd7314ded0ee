// Where a window's surface is: as the platform placed it, and as the window manager says it is.
//
// The window manager answers late and in bursts: after a request, reports of the sizes the
// window had before it may still be on their way, and a drag of the border reports every step.
// A report is therefore not passed on when it arrives. After a request the window waits for the
// window manager's answer: the wait ends as soon as the window manager says the surface is where
// it was placed, and otherwise after answerLimit (it put the surface elsewhere, or says nothing).
// A change of the window manager's own is looked at once its burst of reports is over
// (reportDelay). Only a difference from where the surface was placed is news for the program.
#pragma once

#include <cstdint>
#include <optional>

#include "display/display.h"

namespace quorvane::display::sdl {

class WindowGeometry {
public:
    static constexpr std::uint32_t answerLimit = 250;  // milliseconds
    static constexpr std::uint32_t reportDelay = 20;

    explicit WindowGeometry(const Rect& placed) : placed_(placed) {}

    // Where the surface was placed last, or where the window manager put it since.
    const Rect& Placed() const { return placed_; }

    // The platform places the surface at `now` (milliseconds).
    void Place(const Rect& rect, std::uint32_t now);
    // The window manager reported a move or a new size at `now`.
    void Reported(std::uint32_t now);
    // The window manager said where the surface is now (`actual`), at `now`.
    void Answered(const Rect& actual, std::uint32_t now);
    // When the reports are to be trusted, if some are awaited.
    std::optional<std::uint32_t> SettleTime() const { return settleAt_; }
    bool Due(std::uint32_t now) const;
    // Whether the window waits for the window manager's answer to a place asked of it.
    bool AwaitsAnswer() const { return requested_ && settleAt_; }
    // Ends the wait with where the surface is now. True when the window manager moved or sized
    // it away from where it was placed and the change is to be reported (`reportable`: the
    // window is shown, not minimised, not full screen); Placed() is then the surface's place.
    bool Settle(const Rect& actual, bool reportable);

private:
    Rect placed_;
    std::optional<std::uint32_t> settleAt_;
    bool requested_ = false;  // the wait is for the answer to a request
};

}  // namespace quorvane::display::sdl

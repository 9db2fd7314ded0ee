// How the platform has placed one window's surface, and what is still to be settled about it with
// the window manager: the surface's geometry (where it was placed, where the window manager says it
// is), a place not asked of the window manager yet, whether the window is to be put back where it
// was placed once the window manager has answered, and the program's full screen with the place the
// window leaves it for.
#pragma once

#include <cstdint>
#include <optional>

#include "display/display.h"
#include "display/sdl/window_geometry.h"

namespace quorvane::display::sdl {

class WindowPlacement {
public:
    // How the program's full screen is shown: not at all, through the window manager's
    // full-screen state alone (at the desktop's mode), or by SDL at a mode of the screen.
    enum class FullScreen {
        No,
        ThroughWindowManager,
        AtMode
    };

    explicit WindowPlacement(const Rect& surface) : geometry_(surface) {}

    WindowGeometry& Geometry() { return geometry_; }
    const Rect& Placed() const { return geometry_.Placed(); }

    // The program places the surface at `now` (`coversDesktop`: the place covers the whole
    // desktop). True when a place is to be asked of the window manager (TakeUnsent); in full
    // screen it is only kept for the window to come back to. A window the user's full screen
    // once covered keeps that place in the program's records (it saved it as the window's own
    // before its full screen, say): asked for again when that full screen is over, the window
    // goes back to where it was before instead, and the window manager's answer tells the
    // program so.
    bool PlaceToAsk(const Rect& rect, std::uint32_t now, bool coversDesktop);
    // The place not asked for yet, taken; nothing when there is none.
    std::optional<Rect> TakeUnsent();

    // Once the window manager has answered, the window goes back where it was placed if it is not
    // there (after the window manager maximised it, or it left full screen).
    void PutBackOnceAnswered() { putBack_ = true; }
    // Whether the window is to be put back; asking ends it.
    bool TakePutBack();

    // The window manager holds the window in its full-screen state at the user's request (its key,
    // its menu, a pager): the window covers the screen as a window the user sized so. It may
    // hold beneath the program's full screen, which then gives it back when it ends.
    bool UsersFullScreen() const { return usersFullScreen_; }
    // The user's full screen begins, the window being at Placed() until then.
    void BeginUsersFullScreen();
    // The window manager took its full-screen state away: outside the program's full screen it
    // puts the window back itself.
    void EndUsersFullScreen();

    bool IsFullScreen() const { return fullScreen_ != FullScreen::No; }
    FullScreen HowFullScreen() const { return fullScreen_; }
    // Before a switch to full screen: the place the window leaves (unless it is full screen
    // already) is kept for its return, and no place of before is asked for any more.
    void LeaveWindowed();
    // The switch was made: the surface covers `screen` from `now`.
    void EnterFullScreen(FullScreen how, const Rect& screen, std::uint32_t now);
    // Out of full screen: the place to go back to. With `usersKept` the user's full screen held
    // beneath the program's and still does: the window stays covering the screen.
    Rect LeaveFullScreen(bool usersKept);

private:
    WindowGeometry geometry_;
    std::optional<Rect> unsent_;
    bool putBack_ = false;
    bool usersFullScreen_ = false;
    std::optional<Rect> beforeUsers_;  // where the window was before the user's full screen
    FullScreen fullScreen_ = FullScreen::No;
    Rect windowed_;
};

}  // namespace quorvane::display::sdl

// What the SDL display asks of an X11 window manager and hears from it, where SDL 2 does it its
// own way or not at all.
//
// - Placing: SDL moves a window's frame to where the window is wanted, computing the frame from
//   the frame extents it has heard of so far; before the window manager has told them (a new
//   window, a window getting its frame back after full screen) the window lands a caption's height
//   off, and SDL then waits up to 100 ms for the window manager's answer. Here the window manager
//   keeps the window itself where it is asked to be (static gravity), whatever its frame, and a
//   move and a resize are one request that is not waited for: the answer comes as an event.
// - Full screen: metacity and mutter take an undecorated window that covers the screen for a
//   full-screen window and then ignore plain moves and resizes; the state is taken away through
//   the window manager's own protocol (_NET_WM_STATE) before such a window is placed.
// - Answers: the configure notifications, the frame extents and the state the window manager
//   sets, from SDL's system events.
//
// Everything here does nothing (and answers "no") when SDL does not run on X11.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <optional>

#include "display/display.h"

namespace quorvane::display::sdl::x11 {

// Turns on the system events that carry the window manager's answers.
void ListenToWindowManager();

// The X window behind an SDL window; 0 when SDL does not run on X11.
unsigned long XWindowOf(SDL_Window* window);

// Before the window is first shown: the window manager puts the window itself, not its frame,
// where it is asked to be, at the start and on every move.
void PlaceWindowItself(SDL_Window* window);

// Asks for the window at `rect` (the window itself, see above) in one request, without waiting;
// a window the user cannot resize keeps that size as its only one. False when not on X11.
bool RequestRect(SDL_Window* window, const Rect& rect);

// Whether the window manager has the window in its full-screen state, and asking it to put the
// window into that state or take it out.
bool HasFullScreenState(SDL_Window* window);
void RequestFullScreenState(SDL_Window* window, bool fullScreen);

// When the X server saw the mouse button pressed or released that an SDL system event carries
// (its milliseconds); nothing for other events. SDL stamps its own events when it takes them from
// the server, which may be long after when the program is busy.
std::optional<std::uint32_t> ButtonTimeOf(const SDL_Event& event);
// Whether an SDL system event carries a key press of the X server's.
bool IsKeyPress(const SDL_Event& event);

// What the window manager said about a window, read from an SDL system event.
struct Answer {
    enum class Kind {
        Configured,    // the window was moved or sized, or a request of its left as it was
        FrameExtents,  // the frame around the window changed
        State,         // the window's state (_NET_WM_STATE) changed
    };
    Kind kind;
    unsigned long window;  // the X window
};
std::optional<Answer> AnswerOf(const SDL_Event& event);

}  // namespace quorvane::display::sdl::x11

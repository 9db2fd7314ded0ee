// The viewer's main window driven by a sequence of input read from bytes, and what must hold
// afterwards; shared by the input fuzz target and by the test that replays the inputs it kept.
// Each sequence starts from the same state and is checked on its own:
// - the window exists and answers, and leaves full screen and minimising as a person asks it to;
// - a frame renders, at once or, after a lost device, on the next one;
// - the camera distance and elevation keep within their clamps, and nothing becomes NaN;
// - the View menu's check marks match the flags they show;
// - no window, menu, device or device resource is left over.
// A menu or dialog opened by the input runs its own loop; the sequence goes on inside it, and
// once it is used up Esc is pressed until every loop has ended. The window's close is refused
// (the window outlives every sequence); everything else reaches the viewer as it comes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvane::tests::viewer_input {

// At most this many steps are read from one sequence.
constexpr int maxSteps = 64;

// The viewer's main window and its accelerators, its messages handled as its loop handles them.
struct Viewer {
    HWND window;
    HACCEL accelerators;
};

// Plays the bytes on the viewer and checks it afterwards: "" when everything held, otherwise
// what did not.
std::string PlayAndCheck(const Viewer& viewer, const std::uint8_t* data, std::size_t size);

}  // namespace quorvane::tests::viewer_input

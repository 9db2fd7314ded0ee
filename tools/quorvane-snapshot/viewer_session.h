// The viewer's main window on the headless display, started in the current directory exactly as
// wWinMain starts it, and its messages handled as the viewer's loop handles them. The snapshot
// tool makes its picture with it; the input fuzzer and its replaying test drive it.
#pragma once

#include "app/entry.h"

#include <windows.h>

namespace quorvane::snapshot {

// Takes every waiting message as the viewer's loop takes it, until none is left (the last is the
// WM_PAINT that draws the frame) or the window has posted its quit; true when WM_QUIT came.
// Bounded: a window that never validated would be painted for ever.
bool HandleWaitingMessages(HACCEL accelerators);

// The viewer from start-up to its window's close, which saves nothing: the INI is only read.
class RunningViewer {
public:
    RunningViewer();
    ~RunningViewer();
    RunningViewer(const RunningViewer&) = delete;
    RunningViewer& operator=(const RunningViewer&) = delete;

    HWND Window() const { return startup_.window; }
    HACCEL Accelerators() const { return startup_.accelerators; }

private:
    ViewerStartup startup_;
};

// Whether the window's creation built the picture: the draw device, the sphere and the Earth.
bool SceneStarted();

// Sizes the window so that its client area is width x height, as a person sizes it by its frame;
// false when it cannot be made that size.
bool SizeClientArea(HWND window, unsigned width, unsigned height);

}  // namespace quorvane::snapshot

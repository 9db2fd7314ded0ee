// A drag of the Earth timed from outside: the left button pressed on the Earth's centre and moved
// back and forth without a pause for about three seconds, the frames counted by the X server's
// DAMAGE reports on the window that shows them, and the viewer's own processor time meanwhile.
#pragma once

#include "child_process.h"
#include "x_session.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvane::bench {

struct DragMeasurement {
    int frames = 0;         // frames shown during the drag
    double seconds = 0;     // from the first of them to the last
    double cpuSeconds = 0;  // user and system time of the viewer's process over the whole drag

    double FramesPerSecond() const { return double(frames - 1) / seconds; }
    double MillisecondsPerFrame() const { return 1000.0 / FramesPerSecond(); }
    double CpuMillisecondsPerFrame() const { return 1000.0 * cpuSeconds / double(frames); }
};

// One xdotool run that presses the left button on the Earth at `centre`, moves 8 pixels every
// 5 ms, swinging 160 pixels either side, for 600 moves, and lets go.
std::vector<std::string> DragArguments(int centreX, int centreY);

// Drags the Earth at the centre of `client` and counts the frames `window` shows meanwhile;
// nothing when fewer than two could be counted.
std::optional<DragMeasurement> MeasureDrag(const tests::XSession& session, unsigned long window,
                                           const tests::ScreenRect& client, const tests::ChildProcess& viewer);

}  // namespace quorvane::bench

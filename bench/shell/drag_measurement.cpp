#include "drag_measurement.h"

#include "frame_counter.h"
#include "viewer_picture.h"

#include <thread>

namespace quorvane::bench {

using namespace std::chrono_literals;

std::vector<std::string> DragArguments(int centreX, int centreY)
{
    std::vector<std::string> arguments{"xdotool",   "mousemove", std::to_string(centreX), std::to_string(centreY),
                                       "mousedown", "1"};
    for (int step = 0; step < 600; ++step) {
        const int phase = step % 80;
        const int offset = 8 * (phase < 40 ? phase - 20 : 60 - phase);
        for (const std::string& argument : {std::string("mousemove"), std::to_string(centreX + offset),
                                            std::to_string(centreY), std::string("sleep"), std::string("0.005")})
            arguments.push_back(argument);
    }
    arguments.insert(arguments.end(), {"mouseup", "1"});
    return arguments;
}

std::optional<DragMeasurement> MeasureDrag(const tests::XSession& session, unsigned long window,
                                           const tests::ScreenRect& client, const tests::ChildProcess& viewer)
{
    FrameCounter counter(session.DisplayName(), window);
    if (!counter.Ready())
        return std::nullopt;
    const tests::ScreenPoint centre = tests::Project({0, 0, 0}, client);
    const double cpuBefore = viewer.CpuSeconds();
    tests::ChildProcess drag(DragArguments(centre.x, centre.y), tests::QuietOn(session.DisplayName()));
    counter.Clear();
    while (drag.Running()) {
        counter.Collect();
        std::this_thread::sleep_for(1ms);
    }
    counter.Collect();
    const auto& frames = counter.Frames();
    if (frames.size() < 2)
        return std::nullopt;
    DragMeasurement measurement;
    measurement.frames = int(frames.size());
    measurement.seconds = std::chrono::duration<double>(frames.back() - frames.front()).count();
    measurement.cpuSeconds = viewer.CpuSeconds() - cpuBefore;
    return measurement;
}

}  // namespace quorvane::bench

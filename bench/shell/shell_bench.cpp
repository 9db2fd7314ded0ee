// The shipped viewer timed from outside, as a person meets it, on an X server of its own (Xvfb
// with openbox; OpenGL in software, llvmpipe):
//
//   bench_shell [RUNS]    (default 5)
//
// start-up     from starting the process to its first frame on the screen (the Earth round at
//              the centre of the client area), RUNS starts; and how often the window was placed
//              in each start (until half a second after that frame), and at how many different
//              places it was left over the starts
// drag         frames per second while the left button drags the Earth back and forth without a
//              pause for about three seconds, client area 1024 x 768; the frames are counted by
//              the X server's DAMAGE reports on the window
// full screen  from the start of a double-click on the Earth until the first frame at the
//              desktop's size (1280 x 1024), and from a double-click back until the window's own
//              frame, RUNS switches; the double-click itself takes about 80 ms
//
// Times are in milliseconds: median, least and most of the runs.
#include "drag_measurement.h"
#include "viewer_picture.h"
#include "viewer_process.h"
#include "x_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using namespace std::chrono_literals;
using quorvane::bench::DragMeasurement;
using quorvane::bench::MeasureDrag;
using namespace quorvane::tests;
using Clock = std::chrono::steady_clock;

constexpr int dragWidth = 1024;
constexpr int dragHeight = 768;

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

void Report(const char* label, std::vector<double> values)
{
    if (values.empty()) {
        std::printf("  %-34s no result\n", label);
        return;
    }
    std::sort(values.begin(), values.end());
    std::printf("  %-34s %8.1f %8.1f %8.1f\n", label, values[values.size() / 2], values.front(), values.back());
}

bool ShowsPicture(const XSession& session, const ViewerProcess& viewer, bool withMenu)
{
    std::optional<ScreenRect> client = viewer.Client(withMenu);
    return client && ShowsEarthAtCentre(session, *client);
}

struct StartUps {
    std::vector<double> times;
    std::vector<double> placements;
    std::vector<ScreenRect> finalPlaces;
};

StartUps MeasureStartUps(const XSession& session, int runs)
{
    StartUps startUps;
    for (int run = 0; run < runs; ++run) {
        ViewerProcess viewer(session);
        const Clock::time_point start = Clock::now();
        if (!viewer.Start())
            break;
        const Arrival arrival = viewer.WatchArrival();
        if (!arrival.firstFrame)
            break;
        startUps.times.push_back(Milliseconds(*arrival.firstFrame - start));
        startUps.placements.push_back(double(arrival.places.size()));
        if (std::find(startUps.finalPlaces.begin(), startUps.finalPlaces.end(), arrival.places.back()) ==
            startUps.finalPlaces.end())
            startUps.finalPlaces.push_back(arrival.places.back());
    }
    return startUps;
}

// Frames per second during one continuous drag, or nothing when it could not be measured.
std::optional<double> DragRate(const XSession& session)
{
    ViewerProcess viewer(session);
    if (!viewer.Start() || !viewer.WaitUntilSettled() || !viewer.SetClientSize(dragWidth, dragHeight) ||
        !viewer.WaitUntilSettled() || !viewer.WaitForPicture())
        return std::nullopt;
    const std::optional<DragMeasurement> drag =
        MeasureDrag(session, viewer.Window(), *viewer.Client(), viewer.Process());
    if (!drag)
        return std::nullopt;
    return drag->FramesPerSecond();
}

struct Switches {
    std::vector<double> enter;
    std::vector<double> leave;
};

// Milliseconds from the start of a double-click at `point` until `arrived` holds; nothing when it
// does not within 10 s. The screen is watched while xdotool still runs: after the second click
// it waits another 80 ms before it ends, and that wait is not the viewer's.
std::optional<double> SwitchTime(const XSession& session, const ScreenPoint& point,
                                 const std::function<bool()>& arrived)
{
    const Clock::time_point start = Clock::now();
    ChildProcess click({"xdotool", "mousemove", std::to_string(point.x), std::to_string(point.y), "click", "--repeat",
                        "2", "--delay", "80", "1"},
                       QuietOn(session.DisplayName()));
    if (!click.Started() || !PollUntil(arrived, 10s))
        return std::nullopt;
    const double time = Milliseconds(Clock::now() - start);
    click.Wait(10s);
    return time;
}

Switches FullScreenSwitches(const XSession& session, int runs)
{
    Switches switches;
    ViewerProcess viewer(session);
    if (!viewer.Start() || !viewer.WaitUntilSettled() || !viewer.WaitForPicture())
        return switches;
    const std::optional<ScreenRect> windowed = viewer.Surface();
    const ScreenRect desktop{0, 0, session.ScreenWidth(), session.ScreenHeight()};
    for (int run = 0; run < runs; ++run) {
        std::optional<double> enter = SwitchTime(session, Project({0, 0, 0}, *viewer.Client()), [&] {
            return viewer.Surface() == desktop && ShowsPicture(session, viewer, false);
        });
        if (!enter)
            break;
        switches.enter.push_back(*enter);
        viewer.WaitUntilSettled();
        std::optional<double> leave = SwitchTime(session, Project({0, 0, 0}, desktop), [&] {
            return viewer.Surface() == windowed && ShowsPicture(session, viewer, true);
        });
        if (!leave)
            break;
        switches.leave.push_back(*leave);
        viewer.WaitUntilSettled();
    }
    return switches;
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    XSession session;
    if (!session.Ready()) {
        std::fprintf(stderr, "bench_shell: %s\n", session.Problem().c_str());
        return 1;
    }
    std::printf("The shipped viewer on Xvfb %dx%d with openbox, %d runs (ms: median, least, most)\n",
                session.ScreenWidth(), session.ScreenHeight(), runs);
    const StartUps startUps = MeasureStartUps(session, runs);
    Report("start-up to the first frame", startUps.times);
    Report("places of the window in a start", startUps.placements);
    std::printf("  %-34s %8zu\n", "different places over the starts", startUps.finalPlaces.size());
    const Switches switches = FullScreenSwitches(session, runs);
    Report("full screen, to its first frame", switches.enter);
    Report("back to the window, to its frame", switches.leave);
    std::vector<double> rates;
    for (int run = 0; run < runs; ++run) {
        if (std::optional<double> rate = DragRate(session))
            rates.push_back(*rate);
    }
    std::printf("Dragging the Earth at %dx%d (frames per second: median, least, most)\n", dragWidth, dragHeight);
    Report("frames per second", rates);
    return 0;
}

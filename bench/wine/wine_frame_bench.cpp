// What the Windows build's frame costs under Wine against the Linux build's frame, timed from
// outside on one X server of its own (Xvfb with openbox; OpenGL in software, llvmpipe):
//
//   bench_wine_frame [--windows PATH] [ROUNDS]    (default: the cross build beside this one, 3)
//
// The Linux viewer (our d3d9 on OpenGL) and quorvane.exe under Wine (our D3DX, linked into it,
// on Wine's d3d9, wined3d over OpenGL) run side by side, each with a client area of 1024 x 768;
// quorvane.exe twice: as Wine runs it, and with wined3d's command-stream thread switched off
// (WINE_D3D_CONFIG=csmt=0), in which the program's calls reach OpenGL on its own thread as the
// Linux build's do. In each round the left button drags the Earth of each in turn back and forth
// for about three seconds. The frames are counted by the X server's DAMAGE reports on the window
// that shows them. Per viewer: frames per second, milliseconds per frame, and the processor time
// of the viewer's own process per frame (median, least and most of the rounds); then the
// Windows build's milliseconds per frame over the Linux build's, both ways. The screen before
// and after the drags is kept beside this program (wine-frame-bench*.png) to look at.
//
// PATH is the cross build's directory (build/windows) or its quorvane.exe. Without Wine, or
// without the cross build where it is looked for by default, there is no result and the exit
// code is 0; a PATH given that holds no quorvane.exe is an error.
#include "../shell/drag_measurement.h"
#include "viewer_process.h"
#include "wine_viewer.h"
#include "x_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using namespace quorvane::bench;
using namespace quorvane::tests;
namespace fs = std::filesystem;

constexpr int clientWidth = 1024;
constexpr int clientHeight = 768;
// Wide enough for the three windows side by side, so that none covers another.
constexpr int screenWidth = 3300;
constexpr int screenHeight = 1000;
constexpr int windowSpacing = 1100;

struct Options {
    std::string windowsBuild = QUORVANE_WINDOWS_BUILD;
    bool windowsBuildGiven = false;
    int rounds = 3;
};

Options ReadOptions(int argc, char** argv)
{
    Options options;
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        if (argument == "--windows" && index + 1 < argc) {
            options.windowsBuild = argv[++index];
            options.windowsBuildGiven = true;
        } else {
            options.rounds = std::max(1, std::atoi(argument.c_str()));
        }
    }
    return options;
}

// quorvane.exe in the cross build's directory, or the file given; empty when there is none.
std::string FindProgram(const std::string& path)
{
    std::error_code error;
    const fs::path program = fs::is_directory(path, error) ? fs::path(path) / "quorvane.exe" : fs::path(path);
    return fs::is_regular_file(program, error) ? fs::canonical(program, error).string() : std::string();
}

bool OnPath(const std::string& command)
{
    const char* path = std::getenv("PATH");
    std::istringstream directories(path ? path : "");
    std::string directory;
    while (std::getline(directories, directory, ':')) {
        if (access((fs::path(directory) / command).c_str(), X_OK) == 0)
            return true;
    }
    return false;
}

struct Series {
    std::vector<double> rate;
    std::vector<double> milliseconds;
    std::vector<double> cpuMilliseconds;

    void Add(const std::optional<DragMeasurement>& drag)
    {
        if (!drag)
            return;
        rate.push_back(drag->FramesPerSecond());
        milliseconds.push_back(drag->MillisecondsPerFrame());
        cpuMilliseconds.push_back(drag->CpuMillisecondsPerFrame());
    }
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void ReportLine(const char* label, const std::vector<double>& values)
{
    if (values.empty()) {
        std::printf("    %-30s no result\n", label);
        return;
    }
    const auto [least, most] = std::minmax_element(values.begin(), values.end());
    std::printf("    %-30s %8.2f %8.2f %8.2f\n", label, Median(values), *least, *most);
}

void Report(const char* viewer, const Series& series)
{
    std::printf("  %s\n", viewer);
    ReportLine("frames per second", series.rate);
    ReportLine("ms per frame", series.milliseconds);
    ReportLine("viewer's processor ms per frame", series.cpuMilliseconds);
}

bool MoveTo(const XSession& session, unsigned long window, int x)
{
    return session.Xdotool({"windowmove", std::to_string(window), std::to_string(x), "0"});
}

// The window to be dragged gets the keyboard focus first, as a person's first click would give it.
void Activate(const XSession& session, unsigned long window)
{
    session.Xdotool({"windowactivate", "--sync", std::to_string(window)});
    std::this_thread::sleep_for(500ms);
}

bool PrepareLinuxViewer(const XSession& session, ViewerProcess& viewer)
{
    return viewer.Start() && viewer.WaitUntilSettled() && MoveTo(session, viewer.Window(), 0) &&
           viewer.WaitUntilSettled() && viewer.SetClientSize(clientWidth, clientHeight) && viewer.WaitUntilSettled() &&
           viewer.WaitForPicture();
}

// quorvane.exe is slow to show its first frame (Wine's start and the data's loading); the client
// area takes its size only once the window procedure runs.
bool PrepareWindowsViewer(const XSession& session, WineViewer& viewer, int x)
{
    return viewer.Start() && viewer.WaitForPicture() && MoveTo(session, viewer.Window(), x) &&
           viewer.SetClientSize(clientWidth, clientHeight) && viewer.WaitForPicture();
}

int NoResult(const std::string& why, bool isError)
{
    std::printf("bench_wine_frame: no result: %s\n", why.c_str());
    return isError ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const Options options = ReadOptions(argc, argv);
    const std::string program = FindProgram(options.windowsBuild);
    if (program.empty())
        return NoResult("no quorvane.exe at " + options.windowsBuild + " (make dist-windows builds it)",
                        options.windowsBuildGiven);
    if (!OnPath("wine") || !OnPath("wineserver"))
        return NoResult("Wine is not installed (scripts/install-deps installs it)", false);
    XSession session(screenWidth, screenHeight);
    if (!session.Ready())
        return NoResult(session.Problem(), true);
    const ChildOptions quiet = QuietOn(session.DisplayName());
    const std::vector<std::string> inPrefix{QUORVANE_WINE_PREFIX_TOOL, QUORVANE_WINE_WORK_DIR};
    auto runInPrefix = [&](std::vector<std::string> command, std::chrono::milliseconds limit) {
        command.insert(command.begin(), inPrefix.begin(), inPrefix.end());
        return RunToEnd(command, quiet, limit) == 0;
    };
    if (!runInPrefix({"true"}, 600s))
        return NoResult("the Wine prefix in " QUORVANE_WINE_WORK_DIR " could not be made", true);

    ViewerProcess linuxViewer(session);
    if (!PrepareLinuxViewer(session, linuxViewer))
        return NoResult("the Linux viewer showed no picture at 1024 x 768", true);
    WineViewer windowsViewer(session, program, QUORVANE_WINE_PREFIX_TOOL, QUORVANE_WINE_WORK_DIR);
    WineViewer singleThreadViewer(session, program, QUORVANE_WINE_PREFIX_TOOL, QUORVANE_WINE_WORK_DIR,
                                  {"WINE_D3D_CONFIG=csmt=0"});
    if (!PrepareWindowsViewer(session, windowsViewer, windowSpacing) ||
        !PrepareWindowsViewer(session, singleThreadViewer, 2 * windowSpacing)) {
        runInPrefix({"wineserver", "-k"}, 20s);
        return NoResult(program + " under Wine showed no picture at 1024 x 768", true);
    }
    session.SaveScreen(QUORVANE_BENCH_OUTPUT_DIR "/wine-frame-bench.png");

    Series linuxSeries, windowsSeries, singleThreadSeries;
    auto dragWindows = [&](WineViewer& viewer, Series& series) {
        Activate(session, viewer.Window());
        series.Add(MeasureDrag(session, viewer.ClientWindow(), *viewer.Client(), viewer.Process()));
    };
    for (int round = 0; round < options.rounds; ++round) {
        Activate(session, linuxViewer.Window());
        linuxSeries.Add(MeasureDrag(session, linuxViewer.Window(), *linuxViewer.Client(), linuxViewer.Process()));
        dragWindows(windowsViewer, windowsSeries);
        dragWindows(singleThreadViewer, singleThreadSeries);
    }
    session.SaveScreen(QUORVANE_BENCH_OUTPUT_DIR "/wine-frame-bench-dragged.png");
    windowsViewer.Close();
    singleThreadViewer.Close();
    runInPrefix({"wineserver", "-k"}, 20s);

    std::printf("Dragging the Earth, client area %dx%d, the viewers side by side on one Xvfb with openbox, "
                "%d rounds (median, least, most)\n",
                clientWidth, clientHeight, options.rounds);
    Report("Linux build (our d3d9 on OpenGL)", linuxSeries);
    Report(("Windows build under Wine (" + program + ")").c_str(), windowsSeries);
    Report("the same, wined3d's command-stream thread off (csmt=0)", singleThreadSeries);
    if (linuxSeries.milliseconds.empty() || windowsSeries.milliseconds.empty() ||
        singleThreadSeries.milliseconds.empty())
        return NoResult("a viewer's frames could not be counted", true);
    const double linuxMilliseconds = Median(linuxSeries.milliseconds);
    std::printf("  Windows / Linux, ms per frame (medians) %8.2f\n",
                Median(windowsSeries.milliseconds) / linuxMilliseconds);
    std::printf("  the same, csmt=0                         %8.2f\n",
                Median(singleThreadSeries.milliseconds) / linuxMilliseconds);
    return 0;
}

// The viewer's frame against the floor of this OpenGL for the same picture, at 1024 x 768 and
// 1920 x 1080, in one run: each iteration draws a viewer frame with the program's own
// RenderFrame (Present included, then finished with glFinish), presents it once more (finished
// with glFinish) and draws the floor frame (copied aside as Present copies a frame for its
// window, then finished), so all of them see the same machine load. The benchmark's time is the
// viewer frame's; the counters give
//   viewer_ms, floor_ms, ratio       the two frames and viewer / floor (the goal: at most 1.1);
//   no_present_ms, present_ms        the viewer frame less one Present, and what Present adds;
//   vertices_per_s                   vertices the device transforms per second of viewer frames;
//   programs_in_frame                shader programs a steady viewer frame draws with;
//   compiled_after_first             programs compiled after the first frame (the goal: 0).
// The first frame of each picture is written to viewer_WxH.png and floor_WxH.png beside the
// benchmark, to compare them by eye.
//
// The third argument is the OpenGL the viewer's device runs on: 0 OpenGL 3.3 core, 1 OpenGL ES 3.0
// (QUORVANE_GL while its context is made; the floor stays on OpenGL 3.3). Comparing viewer_ms of
// the two at one size gives ES against OpenGL 3.3 in the same run (the goal: at most 1.1); the
// ES pictures are viewer_WxH_es3.png.
//
// Tissot's circles (F8) at 1024 x 768: each iteration draws the viewer frame without them and
// with them, so both see the same load; the counters give off_ms, on_ms and ratio = on / off
// (the goal: at most 1.1). The first frame with them is written to tissot_1024x768.png.
#include <benchmark/benchmark.h>
#include <quorvane_testing.h>

#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "display/display.h"
#include "display/shared/png_writer.h"
#include "gl_floor.h"
#include "viewer_frame.h"

#include "scene/session_state.h"

namespace {

using quorvane::bench::FloorFrame;
using quorvane::bench::ViewerFrame;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration elapsed)
{
    return std::chrono::duration<double, std::milli>(elapsed).count();
}

// Sets which OpenGL the contexts made while it lives ask for, and lets go of the choice after.
class ForcedProfile {
public:
    explicit ForcedProfile(const char* profile) { setenv("QUORVANE_GL", profile, 1); }
    ~ForcedProfile() { unsetenv("QUORVANE_GL"); }
    ForcedProfile(const ForcedProfile&) = delete;
    ForcedProfile& operator=(const ForcedProfile&) = delete;
};

void SavePictures(ViewerFrame& viewer, FloorFrame& floor, UINT width, UINT height, bool es)
{
    std::string size = std::to_string(width) + "x" + std::to_string(height) + (es ? "_es3" : "");
    std::string directory = QUORVANE_BENCH_OUTPUT_DIR;
    quorvane::test_controls::WriteWindowPng(viewer.Window(), directory + "/viewer_" + size + ".png");
    quorvane::display::Image image{width, height, floor.ReadPixels()};
    quorvane::display::shared::WritePng(image, directory + "/floor_" + size + ".png");
}

void BM_ViewerFrameAgainstFloor(benchmark::State& state)
{
    const UINT width = UINT(state.range(0));
    const UINT height = UINT(state.range(1));
    const bool es = state.range(2) != 0;
    state.SetLabel(es ? "es3" : "gl33");
    std::optional<ForcedProfile> profile(std::in_place, es ? "es3" : "gl33");
    ViewerFrame viewer(width, height);
    profile.emplace("gl33");
    if (!viewer.Ready()) {
        state.SkipWithError("the scene did not start (is Data/ made?)");
        return;
    }
    FloorFrame floor(viewer.Window(), width, height, viewer.Inputs());
    profile.reset();
    if (!floor.Ready()) {
        state.SkipWithError("the OpenGL floor could not be built");
        return;
    }
    viewer.Draw();
    floor.Draw();
    SavePictures(viewer, floor, width, height, es);
    quorvane::test_controls::ShaderProgramCounts first =
        quorvane::test_controls::ReadShaderProgramCounts(viewer.Device());

    double viewerTotal = 0, floorTotal = 0, presentTotal = 0;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        viewer.Draw();
        Clock::time_point viewerEnd = Clock::now();
        viewer.PresentAgain();
        Clock::time_point presentEnd = Clock::now();
        floor.Draw();
        Clock::time_point floorEnd = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(viewerEnd - start).count());
        viewerTotal += Milliseconds(viewerEnd - start);
        presentTotal += Milliseconds(presentEnd - viewerEnd);
        floorTotal += Milliseconds(floorEnd - presentEnd);
    }
    quorvane::test_controls::ShaderProgramCounts steady =
        quorvane::test_controls::ReadShaderProgramCounts(viewer.Device());

    double frames = double(state.iterations());
    state.counters["viewer_ms"] = viewerTotal / frames;
    state.counters["floor_ms"] = floorTotal / frames;
    state.counters["ratio"] = viewerTotal / floorTotal;
    state.counters["no_present_ms"] = (viewerTotal - presentTotal) / frames;
    state.counters["present_ms"] = presentTotal / frames;
    state.counters["vertices_per_s"] = double(viewer.VerticesPerFrame()) * frames / (viewerTotal / 1000.0);
    state.counters["programs_in_frame"] = steady.used;
    state.counters["compiled_after_first"] = steady.compiled - first.compiled;
}
BENCHMARK(BM_ViewerFrameAgainstFloor)
    ->Args({1024, 768, 0})
    ->Args({1024, 768, 1})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(3.0);

void BM_TissotCirclesOnAgainstOff(benchmark::State& state)
{
    ViewerFrame viewer(1024, 768);
    if (!viewer.Ready()) {
        state.SkipWithError("the scene did not start (is Data/ made?)");
        return;
    }
    ViewerSession.showTissotCircles = TRUE;
    viewer.Draw();
    quorvane::test_controls::WriteWindowPng(viewer.Window(),
                                            std::string(QUORVANE_BENCH_OUTPUT_DIR) + "/tissot_1024x768.png");
    double offTotal = 0, onTotal = 0;
    for (auto _ : state) {
        ViewerSession.showTissotCircles = FALSE;
        Clock::time_point start = Clock::now();
        viewer.Draw();
        Clock::time_point offEnd = Clock::now();
        ViewerSession.showTissotCircles = TRUE;
        viewer.Draw();
        Clock::time_point onEnd = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(onEnd - offEnd).count());
        offTotal += Milliseconds(offEnd - start);
        onTotal += Milliseconds(onEnd - offEnd);
    }
    ViewerSession.showTissotCircles = FALSE;
    double frames = double(state.iterations());
    state.counters["off_ms"] = offTotal / frames;
    state.counters["on_ms"] = onTotal / frames;
    state.counters["ratio"] = onTotal / offTotal;
}
BENCHMARK(BM_TissotCirclesOnAgainstOff)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

// Sixteen drawn circles (the most the viewer keeps), spread over the Earth and crossing one
// another, against the same frame without them, at 1024x768.
void BM_DrawnCirclesOnAgainstOff(benchmark::State& state)
{
    ViewerFrame viewer(1024, 768);
    if (!viewer.Ready()) {
        state.SkipWithError("the scene did not start (is Data/ made?)");
        return;
    }
    DrawnCircleList sixteen;
    for (std::size_t i = 0; i < mostDrawnCircles; ++i) {
        const double turn = 0.7 * double(i), height = -0.9 + 0.11 * double(i);
        const double across = std::sqrt(1.0 - height * height);
        AddDrawnCircle(sixteen, SphereCircle{{across * std::cos(turn), height, across * std::sin(turn)}, 0.5});
    }
    double offTotal = 0, onTotal = 0;
    // Swapped in and out, so that no copy is timed.
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        viewer.Draw();
        Clock::time_point offEnd = Clock::now();
        std::swap(ViewerSession.circles, sixteen);
        viewer.Draw();
        Clock::time_point onEnd = Clock::now();
        std::swap(ViewerSession.circles, sixteen);
        state.SetIterationTime(std::chrono::duration<double>(onEnd - offEnd).count());
        offTotal += Milliseconds(offEnd - start);
        onTotal += Milliseconds(onEnd - offEnd);
    }
    std::swap(ViewerSession.circles, sixteen);
    viewer.Draw();
    quorvane::test_controls::WriteWindowPng(viewer.Window(),
                                            std::string(QUORVANE_BENCH_OUTPUT_DIR) + "/circles_1024x768.png");
    ViewerSession.circles = DrawnCircleList{};
    double frames = double(state.iterations());
    state.counters["off_ms"] = offTotal / frames;
    state.counters["on_ms"] = onTotal / frames;
    state.counters["ratio"] = onTotal / offTotal;
}
BENCHMARK(BM_DrawnCirclesOnAgainstOff)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(3.0);

}  // namespace

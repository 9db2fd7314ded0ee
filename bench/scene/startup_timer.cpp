// Cold start of the viewer's picture on the headless display at 1024 x 768, from process start
// to the first frame presented, with the real data files; and the resident memory then, by where
// it lives.
//
//   bench_startup [RUNS]    starts itself RUNS times (default 7) for each of two children, in
//                           turns, and prints the median of every phase, and start to frame
//                           against the three steps start-up is budgeted by
//
// The "viewer" child runs what the viewer runs: CDrawDevice::Initialize, then RenderFrame. The
// "steps" child runs the same, marking the end of every start-up step (startupSteps) to break
// the time down: the device (its GL context), the font, the white texture, the sphere (whose
// material brings the Earth), the Earth texture request; then the first frame. A reader that
// timestamps its opens and closes splits the sphere's parse and the Earth's decode out of the
// sphere step. The marks cost nothing measurable: the two children's totals agree.
#include <d3dx9.h>
#include <windows.h>

#include "app/interface_texts.h"
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/file_reader4.h"
#include "scene/render_frame.h"
#include "test_window.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <malloc.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using quorvane::tests::TestWindow;

constexpr UINT width = 1024;
constexpr UINT height = 768;

long long Now()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// CPU time of the whole process (every thread, llvmpipe's rasterisers included).
long long CpuNow()
{
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    return cpu.tv_sec * 1000000000LL + cpu.tv_nsec;
}

struct Stamp {
    long long wall = Now();
    long long cpu = CpuNow();
};

void Mark(const std::string& name, const Stamp& at = Stamp())
{
    std::printf("%s %lld\ncpu-%s %lld\n", name.c_str(), at.wall, name.c_str(), at.cpu);
}

// Timestamps the first open and the last close of every name: a file is held exactly for the
// length of its one load.
class TimingReader final : public CFileReader4 {
public:
    using CFileReader4::CFileReader4;
    BOOL OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name) override
    {
        opened_.emplace(name, Stamp());
        return CFileReader4::OpenFile(data, size, name);
    }
    void CloseFile(LPCWSTR name) override
    {
        CFileReader4::CloseFile(name);
        closed_[name] = Stamp();
    }
    void Report(const std::wstring& name, const std::string& label) const
    {
        if (opened_.count(name) != 0 && closed_.count(name) != 0) {
            Mark(label + "-open", opened_.at(name));
            Mark(label + "-close", closed_.at(name));
        }
    }

private:
    std::map<std::wstring, Stamp> opened_;
    std::map<std::wstring, Stamp> closed_;
};

long StatusKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    }
    return -1;
}

// Resident memory by where it lives, from /proc/self/smaps: Mesa's driver and LLVM (their file
// pages, shared with every process that maps them, and their private relocated data), the other
// libraries and files, and the heap with the anonymous mappings; with the proportional set size,
// which divides shared pages among the processes that share them.
void PrintMemoryBreakdown()
{
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    std::string group = "anon";
    std::map<std::string, long> kilobytes;
    while (std::getline(smaps, line)) {
        std::istringstream fields(line);
        std::string first;
        fields >> first;
        if (first.find('-') != std::string::npos && first.back() != ':') {
            std::string perms, offset, device, inode, path;
            fields >> perms >> offset >> device >> inode >> path;
            const bool driver = path.find("libLLVM") != std::string::npos || path.find("/dri/") != std::string::npos;
            group = path.empty() || path[0] == '[' ? "anon" : driver ? "driver" : "files";
            continue;
        }
        long value = 0;
        fields >> value;
        if (first == "Rss:")
            kilobytes[group + "-rss"] += value;
        else if (first == "Anonymous:")
            kilobytes[group + "-private"] += value;
        else if (first == "Pss:")
            kilobytes["pss"] += value;
    }
    for (const char* name : {"driver-rss", "driver-private", "files-rss", "anon-rss", "pss"})
        std::printf("%s-kb %ld\n", name, kilobytes[name]);
    const struct mallinfo2 heap = mallinfo2();
    std::printf("heap-used-kb %zu\nheap-free-kb %zu\n", (heap.uordblks + heap.hblkhd) / 1024, heap.fordblks / 1024);
}

int RunChild(bool steps)
{
    Mark("main");
    LoadInterfaceTexts(GetModuleHandleW(nullptr));
    ViewerSettings = InitSettings(L"");
    TestWindow window{int(width), int(height)};
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    const D3DPRESENT_PARAMETERS parameters = WindowPresentParameters(window.Handle());
    const std::string data = std::string(QUORVANE_DATA_DIR);
    RefPtr<TimingReader> reader = new TimingReader(std::wstring(data.begin(), data.end()).c_str());
    Mark("window");
    // The steps child marks the end of every step, by the step's name.
    StartupProgress progress;
    if (steps)
        progress.stepDone = [](StartupStep step) { Mark(StartupStepName(step)); };
    const bool ok =
        SUCCEEDED(CDrawDevice::Initialize(window.Handle(), parameters, reader, direct3D, false, false, &progress));
    if (!steps)
        Mark("initialize");
    RenderFrame();
    Mark("frame");
    reader->Report(L"mdl\\sphere.x", "sphere-file");
    reader->Report(L"mdl\\" QUORVANE_EARTH_IMAGE, "earth-file");
    std::printf("rss-kb %ld\nhwm-kb %ld\nanon-kb %ld\nfile-kb %ld\n", StatusKilobytes("VmRSS:"),
                StatusKilobytes("VmHWM:"), StatusKilobytes("RssAnon:"), StatusKilobytes("RssFile:"));
    PrintMemoryBreakdown();
    // Later frames: the driver keeps the last frame's binned triangles until the next one starts.
    for (int frame = 1; frame < 5; ++frame)
        RenderFrame();
    std::printf("steady-rss-kb %ld\n", StatusKilobytes("VmRSS:"));
    std::fflush(stdout);
    ReleaseSceneResources();
    direct3D->Release();
    return ok ? 0 : 1;
}

// Starts this program as a child in `mode`; its marks relative to the moment before the start.
std::map<std::string, double> RunOnce(const char* self, const char* mode)
{
    int pipeEnds[2];
    std::map<std::string, double> marks;
    if (pipe(pipeEnds) != 0)
        return marks;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char* argv[] = {const_cast<char*>(self), const_cast<char*>(mode), nullptr};
    pid_t child = 0;
    const long long start = Now();
    const int spawned = posix_spawn(&child, self, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    std::istringstream lines(output);
    std::string name;
    long long value = 0;
    while (lines >> name >> value) {
        if (name.find("-kb") != std::string::npos)
            marks[name] = double(value);
        else
            marks[name] = (value - (name.rfind("cpu-", 0) == 0 ? 0 : start)) / 1e6;
    }
    return marks;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Median over runs of marks[to] - marks[from] (from empty: marks[to] itself).
double Phase(const std::vector<std::map<std::string, double>>& runs, const std::string& from, const std::string& to)
{
    std::vector<double> values;
    for (const auto& marks : runs) {
        if (marks.count(to) != 0 && (from.empty() || marks.count(from) != 0))
            values.push_back(marks.at(to) - (from.empty() ? 0.0 : marks.at(from)));
    }
    return Median(values);
}

// One line: the phase's wall time and the process's CPU time in it (from the start of the
// process when from is empty).
void PrintPhase(const std::vector<std::map<std::string, double>>& runs, const char* label, const std::string& from,
                const std::string& to)
{
    const double cpu = Phase(runs, from.empty() ? "" : "cpu-" + from, "cpu-" + to);
    std::printf("  %-34s %8.1f %8.1f\n", label, Phase(runs, from, to), cpu);
}

using Runs = std::vector<std::map<std::string, double>>;

// What start-up cannot do without: the GL context, the Earth's decoding and the first frame.
double Budget(const Runs& steps)
{
    return Phase(steps, "window", StartupStepName(StartupStep::Device)) +
           Phase(steps, "earth-file-open", "earth-file-close") +
           Phase(steps, StartupStepName(StartupStep::EarthTexture), "frame");
}

// Start to first frame over the budget, each steps run against its own phases: a change in the
// machine's speed from run to run (a sixth of the total here) then falls on both sides of the
// ratio, where medians taken from different runs would carry it into the ratio.
double OwnRatio(const Runs& steps)
{
    std::vector<double> ratios;
    for (const auto& run : steps) {
        const double budget = Budget({run});
        if (run.count("frame") != 0 && budget > 0)
            ratios.push_back(run.at("frame") / budget);
    }
    return Median(ratios);
}

// The two children take turns, so that a change in the machine's load falls on both alike and
// the two totals stay comparable. A round in which either failed is left out whole.
void RunAlternately(const char* self, int runs, Runs& viewer, Runs& steps)
{
    for (int i = 0; i < runs; ++i) {
        auto viewerMarks = RunOnce(self, "--viewer");
        auto stepsMarks = RunOnce(self, "--steps");
        if (viewerMarks.empty() || stepsMarks.empty()) {
            std::fprintf(stderr, "bench_startup: the %s child failed\n", viewerMarks.empty() ? "--viewer" : "--steps");
            continue;
        }
        viewer.push_back(std::move(viewerMarks));
        steps.push_back(std::move(stepsMarks));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--viewer") == 0)
        return RunChild(false);
    if (argc > 1 && std::strcmp(argv[1], "--steps") == 0)
        return RunChild(true);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    Runs viewer;
    Runs steps;
    RunAlternately("/proc/self/exe", runs, viewer, steps);
    if (viewer.empty() || steps.empty())
        return 1;
    std::printf("Cold start, headless %ux%u, real data, median of %d runs (ms: wall, process CPU)\n", width, height,
                runs);
    std::printf("viewer path (CDrawDevice::Initialize + RenderFrame)\n");
    PrintPhase(viewer, "process start to main", "", "main");
    PrintPhase(viewer, "window and Direct3DCreate9", "main", "window");
    PrintPhase(viewer, "CDrawDevice::Initialize", "window", "initialize");
    PrintPhase(viewer, "first frame (RenderFrame)", "initialize", "frame");
    PrintPhase(viewer, "total: start to frame presented", "", "frame");
    std::printf("  resident memory after the frame  %8.0f MB (peak %.0f MB; %.0f MB anonymous, %.0f MB of files)\n",
                Phase(viewer, "", "rss-kb") / 1024.0, Phase(viewer, "", "hwm-kb") / 1024.0,
                Phase(viewer, "", "anon-kb") / 1024.0, Phase(viewer, "", "file-kb") / 1024.0);
    const auto megabytes = [&viewer](const char* name) { return Phase(viewer, "", name) / 1024.0; };
    std::printf("  resident memory after five frames %7.0f MB\n", megabytes("steady-rss-kb"));
    std::printf("  after the first frame, by where it lives:\n");
    std::printf("    Mesa's driver and LLVM         %8.0f MB (%.0f MB of it their private relocated data)\n",
                megabytes("driver-rss-kb"), megabytes("driver-private-kb"));
    std::printf("    other libraries and files      %8.0f MB\n", megabytes("files-rss-kb"));
    std::printf("    heap and anonymous mappings    %8.0f MB (the C library: %.0f MB in use, %.0f MB held free)\n",
                megabytes("anon-rss-kb"), megabytes("heap-used-kb"), megabytes("heap-free-kb"));
    std::printf("    proportional set size          %8.0f MB (shared pages divided among their processes)\n",
                megabytes("pss-kb"));
    std::printf("the same steps one at a time\n");
    PrintPhase(steps, "process start to main", "", "main");
    PrintPhase(steps, "window and Direct3DCreate9", "main", "window");
    PrintPhase(steps, "device with its GL context", "window", StartupStepName(StartupStep::Device));
    PrintPhase(steps, "font", StartupStepName(StartupStep::Device), StartupStepName(StartupStep::Font));
    PrintPhase(steps, "white texture", StartupStepName(StartupStep::Font), StartupStepName(StartupStep::WhiteTexture));
    PrintPhase(steps, "sphere, of which", StartupStepName(StartupStep::WhiteTexture),
               StartupStepName(StartupStep::Sphere));
    PrintPhase(steps, "  X file parsed and optimised", "sphere-file-open", "sphere-file-close");
    PrintPhase(steps, "  Earth image decoded", "earth-file-open", "earth-file-close");
    PrintPhase(steps, "  Earth copied to the device", "earth-file-close", StartupStepName(StartupStep::Sphere));
    PrintPhase(steps, "Earth texture request (shared)", StartupStepName(StartupStep::Sphere),
               StartupStepName(StartupStep::EarthTexture));
    PrintPhase(steps, "first frame (RenderFrame)", StartupStepName(StartupStep::EarthTexture), "frame");
    PrintPhase(steps, "total: start to frame presented", "", "frame");
    std::printf("start to frame / (GL context + Earth decode + first frame), each steps run against its own: "
                "median %.3f\n",
                OwnRatio(steps));
    std::printf("  (medians: viewer path %.1f ms, steps %.1f ms, of which the budget %.1f ms)\n",
                Phase(viewer, "", "frame"), Phase(steps, "", "frame"), Budget(steps));
    return 0;
}

// libFuzzer target for the viewer's input: its main window is made once on the headless display,
// as the snapshot tool makes it, in a directory of small data files; each input becomes a
// sequence of input and window-system events, after which the checks of
// tests/support/viewer_input.h must hold. Inputs worth keeping go to
// tests/app/fuzz_regressions/, which the ordinary tests replay.
#include "viewer_data.h"
#include "viewer_input.h"

#include "app/settings.h"
#include "quorvane-snapshot/viewer_session.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// The viewer, started in a fresh directory (memory-backed when possible) that stays the current
// one. Made once and never destroyed: the process ends with it.
quorvane::snapshot::RunningViewer& Viewer()
{
    static quorvane::snapshot::RunningViewer* viewer = [] {
        const char* base = std::getenv("TMPDIR");
        if (base == nullptr)
            base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string directory = std::string(base) + "/quorvane-input-fuzz-XXXXXX";
        if (mkdtemp(directory.data()) == nullptr)
            std::abort();
        quorvane::tests::WriteSmallViewerData(directory);
        std::filesystem::current_path(directory);
        ViewerSettings = InitSettingsInCurrentDirectory();
        auto* started = new quorvane::snapshot::RunningViewer;
        if (started->Window() == nullptr || !quorvane::snapshot::SceneStarted()) {
            std::fprintf(stderr, "the viewer did not start on the headless display\n");
            std::abort();
        }
        return started;
    }();
    return *viewer;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const quorvane::tests::viewer_input::Viewer viewer{Viewer().Window(), Viewer().Accelerators()};
    const std::string failure = quorvane::tests::viewer_input::PlayAndCheck(viewer, data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "viewer invariant broken: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}

// Replays the input sequences the viewer's input fuzz target kept (fuzz/viewer_input_fuzz.cpp) on
// the viewer's window: after every one the checks of viewer_input.h must hold.
#include "running_viewer.h"
#include "viewer_input.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace quorvane::tests {
namespace {

std::vector<std::uint8_t> Read(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(RunningViewerTest, EveryKeptInputSequenceKeepsTheViewersInvariants)
{
    Start();
    const viewer_input::Viewer viewer{Window(), startup.accelerators};
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUORVANE_FUZZ_REGRESSIONS)) {
        const std::vector<std::uint8_t> bytes = Read(entry.path());
        EXPECT_EQ(viewer_input::PlayAndCheck(viewer, bytes.data(), bytes.size()), "") << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 10);
    // The checks see what a sequence leaves behind: here a menu made beside the viewer's.
    const HMENU extra = CreatePopupMenu();
    EXPECT_NE(viewer_input::PlayAndCheck(viewer, nullptr, 0), "");
    DestroyMenu(extra);
    EXPECT_EQ(viewer_input::PlayAndCheck(viewer, nullptr, 0), "");
}

}  // namespace
}  // namespace quorvane::tests

// Replays the profile inputs the fuzz target found worth keeping (fuzz/settings_fuzz.cpp).
#include "profile_invariants.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quorvane::tests {
namespace {

TEST(ProfileFuzzRegressions, EveryKeptInputKeepsTheInvariants)
{
    TempDirectory dir;
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUORVANE_FUZZ_REGRESSIONS)) {
        const std::string bytes = profile_invariants::ReadBytes(entry.path().string());
        EXPECT_EQ(profile_invariants::Check(dir.Path("fuzz.ini"), dir.WidePath("fuzz.ini"), bytes), "") << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace quorvane::tests

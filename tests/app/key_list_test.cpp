// The manual pages the build makes list the viewer's function keys as its table has them.
#include "app/commands.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace quorvane::tests {
namespace {

std::string Read(const char* path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

TEST(KeyList, TheManualPagesNameEveryFunctionKeyOnceWithItsText)
{
    const std::string viewer = Read(QUORVANE_MAN_DIR "/quorvane.1");
    for (int n = 1; n <= functionKeyCount + 1; ++n) {
        const std::string heading = "\n.B F" + std::to_string(n) + "\n";
        const std::size_t at = viewer.find(heading);
        ASSERT_EQ(at != std::string::npos, n <= functionKeyCount) << heading;  // none past the last
        if (n > functionKeyCount)
            break;
        EXPECT_EQ(viewer.find(heading, at + 1), std::string::npos) << heading;
        // The key's text follows, its first letter a capital.
        const std::string what = functionKeys[n - 1].what;
        EXPECT_EQ(viewer.compare(at + heading.size() + 1, what.size() - 1, what, 1), 0) << heading;
    }
    const std::string last = "F1 to F" + std::to_string(functionKeyCount) + ".";
    EXPECT_NE(Read(QUORVANE_MAN_DIR "/quorvane-snapshot.1").find(last), std::string::npos);
}

}  // namespace
}  // namespace quorvane::tests

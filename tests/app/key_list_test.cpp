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
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST(KeyList, TheManualPagesNameEveryFunctionKeyOnce)
{
    const std::string viewer = Read(QUORVANE_MAN_DIR "/quorvane.1");
    const std::string snapshot = Read(QUORVANE_MAN_DIR "/quorvane-snapshot.1");
    ASSERT_FALSE(viewer.empty());
    EXPECT_EQ(Count(viewer, "\n.B F" + std::to_string(functionKeyCount + 1) + "\n"), 0u);  // none past the last
    for (int n = 1; n <= functionKeyCount; ++n) {
        const std::string key = "F" + std::to_string(n);
        const std::string what = functionKeys[n - 1].what;
        const std::string heading = "\n.B " + key + "\n";
        ASSERT_EQ(Count(viewer, heading), 1u) << key;
        // The key's text follows, its first letter a capital.
        const std::size_t text = viewer.find(heading) + heading.size() + 1;
        EXPECT_EQ(viewer.compare(text, what.size() - 1, what, 1), 0) << key;
    }
    EXPECT_NE(snapshot.find("F1 to F" + std::to_string(functionKeyCount) + "."), std::string::npos);
}

}  // namespace
}  // namespace quorvane::tests

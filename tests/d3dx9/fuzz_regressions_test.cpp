// Replays the inputs the fuzz targets found worth keeping (fuzz_regressions/xfile and
// fuzz_regressions/image): every one must meet the invariants the fuzzers check.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "file_invariants.h"

namespace quorvane::tests {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(const char* kind)
{
    std::vector<fs::path> files;
    const fs::path directory = fs::path(QUORVANE_FUZZ_REGRESSIONS) / kind;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    return files;
}

std::vector<std::uint8_t> Read(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzRegressions, XFileInputsParseOrFailCleanly)
{
    const std::vector<fs::path> files = Inputs("xfile");
    ASSERT_GT(files.size(), 10u);
    int parsed = 0;
    for (const fs::path& file : files) {
        const std::vector<std::uint8_t> bytes = Read(file);
        EXPECT_EQ(CheckXFile(bytes.data(), bytes.size()), "") << file;
        xfile::MeshDescription mesh;
        parsed += xfile::ParseXFile(bytes.data(), bytes.size(), mesh) == xfile::XFileError::none ? 1 : 0;
    }
    EXPECT_GT(parsed, 0);  // the set holds valid files as well as broken ones
}

TEST(FuzzRegressions, ImageInputsDecodeOrFailCleanly)
{
    const std::vector<fs::path> files = Inputs("image");
    ASSERT_GT(files.size(), 10u);
    for (const fs::path& file : files) {
        const std::vector<std::uint8_t> bytes = Read(file);
        EXPECT_EQ(CheckImage(bytes.data(), bytes.size()), "") << file;
    }
}

}  // namespace
}  // namespace quorvane::tests

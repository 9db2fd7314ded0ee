// MakeMappingName and CMemoryMappedFileR4.
#include "mapped_regions.h"
#include "resources/memory_mapped_file.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::tests {
namespace {

TEST(MakeMappingName, ReplacesEveryBackslashWithAnUnderscore)
{
    WCHAR name[MAX_PATH];
    EXPECT_TRUE(MakeMappingName(L"Data\\mdl\\sphere.x", name));
    EXPECT_STREQ(name, L"Data_mdl_sphere.x");
    EXPECT_TRUE(MakeMappingName(L"", name));
    EXPECT_STREQ(name, L"");
    EXPECT_TRUE(MakeMappingName(L"a/b\\\\c", name));
    EXPECT_STREQ(name, L"a/b__c");
}

TEST(MakeMappingName, APathThatDoesNotFitIsRefusedNotTruncated)
{
    WCHAR name[MAX_PATH];
    const std::wstring longest(MAX_PATH - 1, L'\\');
    EXPECT_TRUE(MakeMappingName(longest.c_str(), name));
    EXPECT_EQ(std::wstring(name), std::wstring(MAX_PATH - 1, L'_'));
    const std::wstring tooLong(MAX_PATH, L'a');
    EXPECT_FALSE(MakeMappingName(tooLong.c_str(), name));
    EXPECT_STREQ(name, L"");
    EXPECT_FALSE(MakeMappingName(nullptr, name));
}

TEST(MemoryMappedFile, MapsUnmapsAndRemapsAnotherFile)
{
    TempDirectory dir;
    dir.Write("a.x", "alpha");
    dir.Write("b.x", "beta!!");
    CMemoryMappedFileR4 file;
    EXPECT_EQ(file.View(), nullptr);

    ASSERT_TRUE(file.Map(dir.WidePath("a.x").c_str()));
    EXPECT_EQ(std::string(static_cast<const char*>(file.View()), file.Size()), "alpha");
    EXPECT_TRUE(IsMapped(dir.Path("a.x")));

    ASSERT_TRUE(file.Map(dir.WidePath("b.x").c_str()));  // lets go of a.x first
    EXPECT_FALSE(IsMapped(dir.Path("a.x")));
    EXPECT_EQ(std::string(static_cast<const char*>(file.View()), file.Size()), "beta!!");

    file.Unmap();
    file.Unmap();
    EXPECT_EQ(file.View(), nullptr);
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_FALSE(IsMapped(dir.Path("b.x")));
}

TEST(MemoryMappedFile, MissingAndEmptyFilesFailAndLeaveNothingMapped)
{
    TempDirectory dir;
    dir.Write("held.x", "held");
    dir.Write("empty.x", "");
    CMemoryMappedFileR4 file;
    ASSERT_TRUE(file.Map(dir.WidePath("held.x").c_str()));
    EXPECT_FALSE(file.Map(dir.WidePath("missing.x").c_str()));
    EXPECT_FALSE(IsMapped(dir.Path("held.x")));
    EXPECT_EQ(file.View(), nullptr);
    EXPECT_FALSE(file.Map(dir.WidePath("empty.x").c_str()));
    EXPECT_EQ(file.View(), nullptr);
    EXPECT_EQ(file.Size(), 0u);
}

}  // namespace
}  // namespace quorvane::tests

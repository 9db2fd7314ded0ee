// CFileReader4: names below a directory, mapped on first open, shared, unmapped at last close.
#include "mapped_regions.h"
#include "resources/file_reader4.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvane::tests {
namespace {

class FileReader4Test : public testing::Test {
protected:
    void SetUp() override
    {
        dir.Write("Data/mdl/sphere.x", "xof 0303txt 0032 sphere");
        dir.Write("Data/mdl/Sphere.x", "upper-case twin");
        dir.Write("Data/mdl/empty.x", "");
    }
    std::string Text(LPCVOID data, DWORD size) const { return std::string(static_cast<const char*>(data), size); }

    TempDirectory dir;
    std::wstring data = dir.WidePath("Data");
    std::string spherePath = dir.Path("Data/mdl/sphere.x");
};

TEST_F(FileReader4Test, OneNameOpenedTwiceSharesOneViewUntilTheSecondClose)
{
    RefPtr<CFileReader4> reader(new CFileReader4(data.c_str()));
    LPCVOID first = nullptr;
    LPCVOID second = nullptr;
    DWORD size = 0;
    ASSERT_TRUE(reader->OpenFile(&first, &size, L"mdl\\sphere.x"));
    EXPECT_EQ(Text(first, size), "xof 0303txt 0032 sphere");
    ASSERT_TRUE(reader->OpenFile(&second, nullptr, L"mdl\\sphere.x"));
    EXPECT_EQ(first, second);
    EXPECT_EQ(reader->OpenNameCount(), 1u);

    reader->CloseFile(L"mdl\\sphere.x");
    EXPECT_TRUE(IsMapped(spherePath));
    EXPECT_EQ(Text(first, size), "xof 0303txt 0032 sphere");
    reader->CloseFile(L"mdl\\sphere.x");
    EXPECT_EQ(reader->OpenNameCount(), 0u);
    EXPECT_FALSE(IsMapped(spherePath));

    // A later open maps the file afresh.
    ASSERT_TRUE(reader->OpenFile(nullptr, &size, L"mdl\\sphere.x"));
    EXPECT_TRUE(IsMapped(spherePath));
    reader->CloseFile(L"mdl\\sphere.x");
}

TEST_F(FileReader4Test, NamesThatDifferInCaseAreTwoEntries)
{
    RefPtr<CFileReader4> reader(new CFileReader4(data.c_str()));
    LPCVOID lower = nullptr;
    LPCVOID upper = nullptr;
    DWORD lowerSize = 0;
    DWORD upperSize = 0;
    ASSERT_TRUE(reader->OpenFile(&lower, &lowerSize, L"mdl\\sphere.x"));
    ASSERT_TRUE(reader->OpenFile(&upper, &upperSize, L"mdl\\Sphere.x"));
    EXPECT_NE(lower, upper);
    EXPECT_EQ(reader->OpenNameCount(), 2u);
    EXPECT_EQ(Text(upper, upperSize), "upper-case twin");
    EXPECT_EQ(Text(lower, lowerSize), "xof 0303txt 0032 sphere");
    reader->CloseFile(L"mdl\\Sphere.x");
    EXPECT_EQ(reader->OpenNameCount(), 1u);
    EXPECT_EQ(Text(lower, lowerSize), "xof 0303txt 0032 sphere");
    reader->CloseFile(L"mdl\\sphere.x");
}

TEST_F(FileReader4Test, EmptyAndMissingFilesAreRefusedWithNoEntryLeft)
{
    RefPtr<CFileReader4> reader(new CFileReader4(data.c_str()));
    LPCVOID bytes = &bytes;  // sentinels: a refused open writes nothing
    DWORD size = 77;
    EXPECT_FALSE(reader->OpenFile(&bytes, &size, L"mdl\\empty.x"));
    EXPECT_FALSE(reader->OpenFile(&bytes, &size, L"mdl\\missing.x"));
    EXPECT_FALSE(reader->OpenFile(&bytes, &size, L"mdl"));  // a directory
    EXPECT_FALSE(reader->OpenFile(&bytes, &size, nullptr));
    EXPECT_EQ(bytes, static_cast<LPCVOID>(&bytes));
    EXPECT_EQ(size, 77u);
    EXPECT_EQ(reader->OpenNameCount(), 0u);
}

TEST_F(FileReader4Test, ClosingANameThatIsNotOpenChangesNothing)
{
    RefPtr<CFileReader4> reader(new CFileReader4(data.c_str()));
    ASSERT_TRUE(reader->OpenFile(nullptr, nullptr, L"mdl\\sphere.x"));
    reader->CloseFile(L"mdl\\SPHERE.X");
    reader->CloseFile(L"other");
    reader->CloseFile(nullptr);
    EXPECT_EQ(reader->OpenNameCount(), 1u);
    EXPECT_TRUE(IsMapped(spherePath));
    reader->CloseFile(L"mdl\\sphere.x");
}

TEST_F(FileReader4Test, AnEmptyDirectoryUsesTheNameAsItIs)
{
    CurrentDirectoryScope inside(dir.Path());
    RefPtr<CFileReader4> reader(new CFileReader4(L""));
    DWORD size = 0;
    // A leading backslash would make the name absolute ("/Data/...") and miss the file.
    ASSERT_TRUE(reader->OpenFile(nullptr, &size, L"Data\\mdl\\sphere.x"));
    EXPECT_EQ(size, 23u);
    reader->CloseFile(L"Data\\mdl\\sphere.x");

    RefPtr<CFileReader4> nullDirectory(new CFileReader4(nullptr));
    ASSERT_TRUE(nullDirectory->OpenFile(nullptr, &size, L"Data\\mdl\\sphere.x"));
    nullDirectory->CloseFile(L"Data\\mdl\\sphere.x");
}

TEST_F(FileReader4Test, APathOfMaxPathUnitsOrMoreIsRefusedNotTruncated)
{
    // directory + "\" + name of exactly 259 units fits; one more does not.
    const std::wstring directory = dir.WidePath();
    const std::size_t nameLength = MAX_PATH - 1 - directory.size() - 1;
    ASSERT_LT(nameLength, 256u) << "temporary directory path too short for this test";
    const std::string fits(nameLength, 'f');
    dir.Write(fits, "fits");
    dir.Write(fits + "g", "one too many");

    RefPtr<CFileReader4> reader(new CFileReader4(directory.c_str()));
    DWORD size = 0;
    const std::wstring fitsName(fits.begin(), fits.end());
    EXPECT_TRUE(reader->OpenFile(nullptr, &size, fitsName.c_str()));
    EXPECT_EQ(size, 4u);
    reader->CloseFile(fitsName.c_str());
    EXPECT_FALSE(reader->OpenFile(nullptr, &size, (fitsName + L"g").c_str()));
    EXPECT_EQ(reader->OpenNameCount(), 0u);
}

TEST_F(FileReader4Test, ADirectoryOfMaxPathUnitsOrMoreRefusesEveryName)
{
    const std::wstring longDirectory(MAX_PATH, L'd');
    RefPtr<CFileReader4> reader(new CFileReader4(longDirectory.c_str()));
    EXPECT_FALSE(reader->OpenFile(nullptr, nullptr, L"x"));
    EXPECT_FALSE(reader->OpenFile(nullptr, nullptr, L""));
    EXPECT_EQ(reader->OpenNameCount(), 0u);
}

TEST_F(FileReader4Test, DroppingTheLastReferenceUnmapsWhatIsStillOpen)
{
    RefPtr<CFileReaderBase4> reader(new CFileReader4(data.c_str()));
    ASSERT_TRUE(reader->OpenFile(nullptr, nullptr, L"mdl\\sphere.x"));
    ASSERT_TRUE(reader->OpenFile(nullptr, nullptr, L"mdl\\sphere.x"));
    EXPECT_TRUE(IsMapped(spherePath));
    reader.Reset();  // deleted through CReferenceCount's virtual destructor
    EXPECT_FALSE(IsMapped(spherePath));
}

}  // namespace
}  // namespace quorvane::tests

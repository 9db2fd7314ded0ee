// ReaderFile: one open file of a reader, held for one load.
#include "mapped_regions.h"
#include "resources/file_reader4.h"
#include "resources/file_reader_res.h"
#include "resources/reader_file.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::tests {
namespace {

// A reader that records its calls and serves one fixed text for every name but "missing".
class RecordingReader : public CFileReaderBase4 {
public:
    BOOL OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name) override
    {
        calls.push_back(L"open " + std::wstring(name));
        if (std::wstring(name) == L"missing")
            return FALSE;
        if (data != nullptr)
            *data = text;
        if (size != nullptr)
            *size = 4;
        return TRUE;
    }
    void CloseFile(LPCWSTR name) override { calls.push_back(L"close " + std::wstring(name)); }

    static constexpr char text[] = "text";
    std::vector<std::wstring> calls;
};

TEST(ReaderFile, HoldsTheReaderAndTheNameUntilItGoes)
{
    RefPtr<RecordingReader> reader(new RecordingReader);
    {
        ReaderFile file;
        ASSERT_TRUE(file.Open(reader, L"mdl\\sphere.x"));
        EXPECT_EQ(reader->ReferenceCount(), 2);
        EXPECT_EQ(file.Reader().Get(), reader.Get());
        EXPECT_STREQ(file.Name(), L"mdl\\sphere.x");
        EXPECT_EQ(file.Data(), static_cast<LPCVOID>(RecordingReader::text));
        EXPECT_EQ(file.Size(), 4u);
    }
    EXPECT_EQ(reader->ReferenceCount(), 1);
    EXPECT_EQ(reader->calls, (std::vector<std::wstring>{L"open mdl\\sphere.x", L"close mdl\\sphere.x"}));
}

TEST(ReaderFile, OpeningAgainClosesWhatWasHeldAndAFailureLeavesItEmpty)
{
    RefPtr<RecordingReader> reader(new RecordingReader);
    ReaderFile file;
    ASSERT_TRUE(file.Open(reader, L"a"));
    ASSERT_TRUE(file.Open(reader, L"b"));
    EXPECT_FALSE(file.Open(reader, L"missing"));
    EXPECT_FALSE(file.Reader());
    EXPECT_STREQ(file.Name(), L"");
    EXPECT_EQ(file.Data(), nullptr);
    EXPECT_EQ(file.Size(), 0u);
    EXPECT_EQ(reader->ReferenceCount(), 1);
    EXPECT_EQ(reader->calls,
              (std::vector<std::wstring>{L"open a", L"close a", L"open b", L"close b", L"open missing"}));
}

TEST(ReaderFile, ANameOfMaxPathUnitsOrMoreIsRefusedBeforeTheReaderSeesIt)
{
    RefPtr<RecordingReader> reader(new RecordingReader);
    ReaderFile file;
    const std::wstring longest(MAX_PATH - 1, L'n');
    EXPECT_TRUE(file.Open(reader, longest.c_str()));
    EXPECT_EQ(std::wstring(file.Name()), longest);
    const std::wstring tooLong(MAX_PATH, L'n');
    EXPECT_FALSE(file.Open(reader, tooLong.c_str()));
    EXPECT_EQ(reader->calls.size(), 2u);  // opened and closed the longest; never saw tooLong
    EXPECT_FALSE(file.Open(nullptr, L"a"));
    EXPECT_FALSE(file.Open(reader, nullptr));
}

TEST(ReaderFile, KeepsADirectoryReadersFileMappedForOneLoad)
{
    TempDirectory dir;
    dir.Write("Data/mdl/sphere.x", "sphere");
    const std::wstring data = dir.WidePath("Data");
    RefPtr<CFileReader4> reader(new CFileReader4(data.c_str()));
    {
        ReaderFile file;
        ASSERT_TRUE(file.Open(reader, L"mdl\\sphere.x"));
        EXPECT_EQ(std::string(static_cast<const char*>(file.Data()), file.Size()), "sphere");
        EXPECT_TRUE(IsMapped(dir.Path("Data/mdl/sphere.x")));
    }
    EXPECT_EQ(reader->OpenNameCount(), 0u);
    EXPECT_FALSE(IsMapped(dir.Path("Data/mdl/sphere.x")));
}

TEST(ReaderFile, AMissingModuleResourceOpensButHasNoBytes)
{
    RefPtr<CFileReaderBase4> reader(new CFileReaderBR(GetModuleHandleW(nullptr), RT_BITMAP));
    ReaderFile file;
    EXPECT_TRUE(file.Open(reader, L"not-there"));
    EXPECT_TRUE(file.Reader());
    EXPECT_EQ(file.Data(), nullptr);
    EXPECT_EQ(file.Size(), 0u);
}

}  // namespace
}  // namespace quorvane::tests

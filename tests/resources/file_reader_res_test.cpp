// CFileReaderBR over resources linked into the process module.
#include "resources/file_reader_res.h"

#include <gtest/gtest.h>
#include <quorvane_testing.h>

namespace {

const char bitmapBytes[] = "BM fake";
class FileReaderBRTest : public testing::Test {
protected:
    void SetUp() override
    {
        quorvane::test_controls::SetLinkedResources({
            {RT_BITMAP, L"EARTH.BMP", bitmapBytes, sizeof bitmapBytes - 1},
            {RT_RCDATA, L"EARTH.BMP", "other type", 10},
        });
    }
    void TearDown() override { quorvane::test_controls::RestoreDefaults(); }
};

TEST_F(FileReaderBRTest, ServesTheResourceOfItsTypeInPlace)
{
    RefPtr<CFileReaderBR> reader(new CFileReaderBR(GetModuleHandleW(nullptr), RT_BITMAP));
    LPCVOID data = nullptr;
    DWORD size = 0;
    EXPECT_TRUE(reader->OpenFile(&data, &size, L"earth.bmp"));
    EXPECT_EQ(data, static_cast<LPCVOID>(bitmapBytes));
    EXPECT_EQ(size, 7u);
    reader->CloseFile(L"earth.bmp");
    EXPECT_TRUE(reader->OpenFile(nullptr, &size, L"earth.bmp"));  // outputs are optional
}

TEST_F(FileReaderBRTest, AMissingResourceOpensWithNoBytes)
{
    RefPtr<CFileReaderBR> reader(new CFileReaderBR(GetModuleHandleW(nullptr), RT_BITMAP));
    LPCVOID data = &data;
    DWORD size = 5;
    EXPECT_TRUE(reader->OpenFile(&data, &size, L"moon.bmp"));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
    data = &data;
    EXPECT_TRUE(reader->OpenFile(&data, &size, nullptr));
    EXPECT_EQ(data, nullptr);
    reader->CloseFile(L"moon.bmp");

    RefPtr<CFileReaderBR> wrongType(new CFileReaderBR(GetModuleHandleW(nullptr), RT_ICON));
    EXPECT_TRUE(wrongType->OpenFile(&data, &size, L"earth.bmp"));
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(size, 0u);
}

}  // namespace

// CreateFileW, GetFileSize, CreateFileMappingW, MapViewOfFile, UnmapViewOfFile, CloseHandle.
#include "temp_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace quorvane::tests {
namespace {

class FileMappingTest : public testing::Test {
protected:
    HANDLE Open(const std::wstring& path) const
    {
        return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    std::string ViewText(LPCVOID view, std::size_t size) const
    {
        return std::string(static_cast<const char*>(view), size);
    }

    TempDirectory dir;
};

TEST_F(FileMappingTest, OpeningFailuresSayWhy)
{
    SetLastError(0);
    EXPECT_EQ(Open(dir.WidePath("missing.x")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(Open(dir.WidePath("missing/file.x")), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(Open(dir.WidePath()), INVALID_HANDLE_VALUE);  // a directory
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Open(L""), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));

    dir.Write("file.x", "abc");
    const std::wstring path = dir.WidePath("file.x");
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(dir.Read("file.x"), "abc");
}

TEST_F(FileMappingTest, AFifoIsRefusedWithoutBlocking)
{
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    EXPECT_EQ(Open(dir.WidePath("pipe")), INVALID_HANDLE_VALUE);
}

TEST_F(FileMappingTest, MapsAWholeFileThroughBackslashedPaths)
{
    dir.Write("mdl/sphere.x", "xof 0303txt 0032");
    const HANDLE file = Open(dir.WidePath() + L"\\mdl\\sphere.x");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), 16u);
    EXPECT_EQ(high, 0u);

    const HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 16, L"Data_mdl_sphere.x");
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    const LPVOID view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);

    // The view outlives both handles.
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(ViewText(view, 16), "xof 0303txt 0032");
    EXPECT_TRUE(UnmapViewOfFile(view));
}

TEST_F(FileMappingTest, ANamedMappingIsSharedWhileItLives)
{
    dir.Write("a.x", "first");
    dir.Write("b.x", "other");
    const HANDLE fileA = Open(dir.WidePath("a.x"));
    const HANDLE fileB = Open(dir.WidePath("b.x"));
    const HANDLE first = CreateFileMappingW(fileA, nullptr, PAGE_READONLY, 0, 0, L"shared_name");
    ASSERT_NE(first, nullptr);

    // The same name gives the existing object, whatever file it is asked for with.
    const HANDLE second = CreateFileMappingW(fileB, nullptr, PAGE_READONLY, 0, 0, L"shared_name");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    const LPVOID view = MapViewOfFile(second, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ViewText(view, 5), "first");

    // Names are case-sensitive: another spelling is another object.
    const HANDLE third = CreateFileMappingW(fileB, nullptr, PAGE_READONLY, 0, 0, L"Shared_name");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

    // The view keeps the object and its name alive after all handles are closed.
    CloseHandle(first);
    CloseHandle(second);
    const HANDLE fourth = CreateFileMappingW(fileB, nullptr, PAGE_READONLY, 0, 0, L"shared_name");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(fourth);
    UnmapViewOfFile(view);

    // Once gone, the name is free again.
    const HANDLE fifth = CreateFileMappingW(fileB, nullptr, PAGE_READONLY, 0, 0, L"shared_name");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    const LPVOID otherView = MapViewOfFile(fifth, FILE_MAP_READ, 0, 0, 0);
    EXPECT_EQ(ViewText(otherView, 5), "other");
    UnmapViewOfFile(otherView);
    for (HANDLE handle : {third, fifth, fileA, fileB})
        EXPECT_TRUE(CloseHandle(handle));
}

TEST_F(FileMappingTest, AnEmptyFileCannotBeMapped)
{
    dir.Write("empty.x", "");
    const HANDLE file = Open(dir.WidePath("empty.x"));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 0u);
    SetLastError(0);
    EXPECT_EQ(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, L"empty"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_INVALID));
    CloseHandle(file);
}

TEST_F(FileMappingTest, MappingsAndViewsStayWithinTheFile)
{
    dir.Write("small.x", "12345");
    const HANDLE file = Open(dir.WidePath("small.x"));
    SetLastError(0);
    EXPECT_EQ(CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 6, nullptr), nullptr);
    EXPECT_EQ(CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    const HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 3, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 4), nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 1, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MAPPED_ALIGNMENT));
    const LPVOID view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ViewText(view, 3), "123");

    EXPECT_FALSE(UnmapViewOfFile(static_cast<char*>(view) + 1));  // not a base address
    EXPECT_TRUE(UnmapViewOfFile(view));
    EXPECT_FALSE(UnmapViewOfFile(view));
    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(FileMappingTest, HandlesAreCheckedByKind)
{
    dir.Write("f.x", "abc");
    const HANDLE file = Open(dir.WidePath("f.x"));
    const HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    SetLastError(0);
    EXPECT_EQ(MapViewOfFile(file, FILE_MAP_READ, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(CreateFileMappingW(mapping, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_EQ(GetFileSize(mapping, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    EXPECT_TRUE(CloseHandle(mapping));
    EXPECT_TRUE(CloseHandle(file));
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(file));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST_F(FileMappingTest, SizesOfFourGibibytesAndMoreSplitIntoTwoHalves)
{
    const std::string path = dir.Path("big.x");
    const int descriptor = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(descriptor, 0);
    const bool sparse = ftruncate(descriptor, (1LL << 32) + 5) == 0;
    close(descriptor);
    if (!sparse)
        GTEST_SKIP() << "this file system has no room for a sparse 4 GiB file";

    const HANDLE file = Open(dir.WidePath("big.x"));
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(file, &high), 5u);
    EXPECT_EQ(high, 1u);
    // Mapping the low 32 bits' worth, as the reader does, maps the first five bytes.
    const HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 5, nullptr);
    ASSERT_NE(mapping, nullptr);
    const LPVOID view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::memcmp(view, "\0\0\0\0\0", 5), 0);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    CloseHandle(file);
}

}  // namespace
}  // namespace quorvane::tests

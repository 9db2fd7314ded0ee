// The lstr* helpers, GetCurrentDirectoryW, OutputDebugStringW and the last-error value.
#include "temp_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace quorvane::tests {
namespace {

TEST(TextHelpers, CopyConcatenateAndMeasure)
{
    WCHAR buffer[16] = {};
    EXPECT_EQ(lstrcpyW(buffer, L"Data"), buffer);
    EXPECT_EQ(lstrcatW(buffer, L"\\mdl"), buffer);
    EXPECT_STREQ(buffer, L"Data\\mdl");
    EXPECT_EQ(lstrlenW(buffer), 8);
    EXPECT_EQ(lstrlenW(L""), 0);
}

TEST(TextHelpers, NullPointersFailInsteadOfFaulting)
{
    WCHAR buffer[4] = L"ab";
    EXPECT_EQ(lstrlenW(nullptr), 0);
    EXPECT_EQ(lstrcpyW(nullptr, L"x"), nullptr);
    EXPECT_EQ(lstrcpyW(buffer, nullptr), nullptr);
    EXPECT_EQ(lstrcatW(buffer, nullptr), nullptr);
    EXPECT_STREQ(buffer, L"ab");
}

TEST(CurrentDirectory, ReportsTheDirectoryAndTheSizeItNeeds)
{
    TempDirectory dir;
    CurrentDirectoryScope scope(dir.Path());
    const std::wstring expected = std::filesystem::current_path().wstring();
    const DWORD needed = static_cast<DWORD>(expected.size() + 1);

    EXPECT_EQ(GetCurrentDirectoryW(0, nullptr), needed);
    WCHAR small[4] = L"xyz";
    EXPECT_EQ(GetCurrentDirectoryW(4, small), needed);
    EXPECT_STREQ(small, L"xyz");  // untouched when too small

    WCHAR exact[MAX_PATH] = {};
    ASSERT_LE(needed, static_cast<DWORD>(MAX_PATH));
    EXPECT_EQ(GetCurrentDirectoryW(needed, exact), needed - 1);
    EXPECT_EQ(std::wstring(exact), expected);
    WCHAR oneShort[MAX_PATH] = {};
    EXPECT_EQ(GetCurrentDirectoryW(needed - 1, oneShort), needed);
}

// Only when QUORVANE_TRACE asks for it, as a debugger does on Windows.
TEST(DebugOutput, WritesUtf8ToStandardErrorWhenAsked)
{
    for (const char* asked : {"1", ""}) {
        setenv("QUORVANE_TRACE", asked, 1);
        testing::internal::CaptureStderr();
        OutputDebugStringW(L"Set Font\r\n");
        OutputDebugStringW(L"\u5730\u7403 \u00E9\n");
        OutputDebugStringW(nullptr);
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  *asked ? "Set Font\r\n\xE5\x9C\xB0\xE7\x90\x83 \xC3\xA9\n" : "");
    }
}

TEST(DebugOutput, TextWithoutUtf8FormIsReplacedNotDropped)
{
    const WCHAR text[] = {L'a', static_cast<WCHAR>(0xD800), L'b', 0};
    setenv("QUORVANE_TRACE", "1", 1);
    testing::internal::CaptureStderr();
    OutputDebugStringW(text);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "a\xEF\xBF\xBD"
                                                      "b");
    unsetenv("QUORVANE_TRACE");
}

TEST(LastError, IsKeptPerThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOtherThread = 1;
    std::thread([&] { seenByOtherThread = GetLastError(); }).join();
    EXPECT_EQ(seenByOtherThread, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace quorvane::tests

// MultiByteToWideChar: UTF-8 under every code page the program can name, Windows' size rules.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

std::wstring Convert(const char* bytes, int count, DWORD flags = 0)
{
    const int size = MultiByteToWideChar(CP_ACP, flags, bytes, count, nullptr, 0);
    if (size == 0)
        return L"<error>";
    std::wstring text(static_cast<std::size_t>(size), L'?');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, flags, bytes, count, text.data(), size), size);
    return text;
}

TEST(MultiByteToWideChar, AnsiIsUtf8AndOneWcharHoldsOneCodePoint)
{
    EXPECT_EQ(Convert("EarthMap.jpg", 12), L"EarthMap.jpg");
    EXPECT_EQ(Convert("\xE5\x9C\xB0\xE7\x90\x83", 6), L"\u5730\u7403");
    EXPECT_EQ(Convert("\xF0\x9F\x98\x80", 4), std::wstring(1, static_cast<wchar_t>(0x1F600)));
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA9", 2, nullptr, 0), 1);
}

TEST(MultiByteToWideChar, MinusOneConvertsAndCountsTheTerminator)
{
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0), 4);
    WCHAR buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, buffer, 8), 4);
    EXPECT_STREQ(buffer, L"abc");
    EXPECT_EQ(buffer[4], L'#');
    // An explicit count converts exactly that many bytes, with no terminator added.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 2, buffer, 8), 2);
    EXPECT_EQ(buffer[2], L'c');
}

TEST(MultiByteToWideChar, ASmallBufferGetsNothingWrittenPastIt)
{
    WCHAR buffer[4] = {L'#', L'#', L'#', L'#'};
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abcd", 4, buffer, 3), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(buffer[3], L'#');
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, buffer, 3), 0);  // terminator needs a 4th
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(MultiByteToWideChar, InvalidBytesFailUnderTheStrictFlag)
{
    const char* invalid[] = {"a\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE5\x9C", "\xFF"};
    for (const char* bytes : invalid) {
        SetLastError(0);
        WCHAR buffer[8] = {};
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, -1, buffer, 8), 0) << bytes;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
        EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, -1, nullptr, 0), 0);
    }
}

TEST(MultiByteToWideChar, InvalidBytesOtherwiseBecomeOneReplacementPerMaximalSubpart)
{
    const std::wstring r(1, L'\uFFFD');
    EXPECT_EQ(Convert("a\x80z", 3), L"a" + r + L"z");
    EXPECT_EQ(Convert("\xC0\xAF", 2), r + r);          // overlong: two bad bytes
    EXPECT_EQ(Convert("\xED\xA0\x80", 3), r + r + r);  // an encoded surrogate
    EXPECT_EQ(Convert("\xE5\x9C"
                      "A",
                      3),
              r + L"A");                                       // truncated, then ASCII
    EXPECT_EQ(Convert("\xF0\x9F\x98", 3), r);                  // truncated at the end
    EXPECT_EQ(Convert("\xF4\x90\x80\x80", 4), r + r + r + r);  // above U+10FFFF
}

TEST(MultiByteToWideChar, BadArgumentsAreRefused)
{
    WCHAR buffer[4];
    const struct {
        UINT codePage;
        DWORD flags;
        const char* text;
        int count;
        WCHAR* output;
        int outputCount;
        DWORD error;
    } cases[] = {
        {CP_ACP, 0, nullptr, 3, buffer, 4, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "abc", 0, buffer, 4, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "abc", -2, buffer, 4, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "abc", 3, buffer, -1, ERROR_INVALID_PARAMETER},
        {CP_ACP, 0, "abc", 3, nullptr, 4, ERROR_INVALID_PARAMETER},
        {932, 0, "abc", 3, buffer, 4, ERROR_INVALID_PARAMETER},
        {CP_UTF8, MB_PRECOMPOSED, "abc", 3, buffer, 4, ERROR_INVALID_FLAGS},
        {CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "abc", 3, buffer, 4, ERROR_INVALID_FLAGS},
        {CP_ACP, 0x100, "abc", 3, buffer, 4, ERROR_INVALID_FLAGS},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(c.codePage, c.flags, c.text, c.count, c.output, c.outputCount), 0);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, "abc", 3, buffer, 4), 3);
}

}  // namespace

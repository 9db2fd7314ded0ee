// GetPrivateProfileIntW and WritePrivateProfileStringW against files on disk.
#include "temp_directory.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace quorvane::tests {
namespace {

class ProfileTest : public testing::Test {
protected:
    TempDirectory dir;
    std::wstring ini = dir.WidePath("test.ini");

    INT ReadInt(LPCWSTR section, LPCWSTR key, INT defaultValue = -999) const
    {
        return static_cast<INT>(GetPrivateProfileIntW(section, key, defaultValue, ini.c_str()));
    }
    BOOL Write(LPCWSTR section, LPCWSTR key, LPCWSTR value) const
    {
        return WritePrivateProfileStringW(section, key, value, ini.c_str());
    }
    std::string Contents() const { return dir.Read("test.ini"); }
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    EXPECT_EQ(ReadInt(L"S", L"K", 17), 17);
    dir.Write("test.ini", "[S]\nK=1\n");
    EXPECT_EQ(ReadInt(L"T", L"K", 18), 18);
    EXPECT_EQ(ReadInt(L"S", L"J", 19), 19);
    EXPECT_EQ(ReadInt(L"S", L"K", 20), 1);
}

TEST_F(ProfileTest, ValuesParseAsWindowsParsesThem)
{
    dir.Write("test.ini", "[V]\n"
                          "LEADING= 42abc\n"
                          "NEGATIVE=-7\n"
                          "PLUS=+5\n"
                          "EMPTY=\n"
                          "BLANKS=   \n"
                          "LETTERS=abc\n"
                          "SIGN_ONLY=-\n"
                          "SIGN_BLANK=- 3\n"
                          "HEX=0x10\n"
                          "TWO_NUMBERS=12 34\n"
                          "QUOTED=\"12\"\n"
                          "QUOTED_BLANK=' 8'\n"
                          "WRAPS=4294967297\n"
                          "MAX=4294967295\n"
                          "TAB=\t9\n");
    EXPECT_EQ(ReadInt(L"V", L"LEADING"), 42);
    EXPECT_EQ(ReadInt(L"V", L"NEGATIVE"), -7);
    EXPECT_EQ(GetPrivateProfileIntW(L"V", L"NEGATIVE", 0, ini.c_str()), 0xFFFFFFF9u);
    EXPECT_EQ(ReadInt(L"V", L"PLUS"), 5);
    EXPECT_EQ(ReadInt(L"V", L"EMPTY", 33), 33);
    EXPECT_EQ(ReadInt(L"V", L"BLANKS", 34), 34);
    EXPECT_EQ(ReadInt(L"V", L"LETTERS", 35), 0);
    EXPECT_EQ(ReadInt(L"V", L"SIGN_ONLY", 36), 0);
    EXPECT_EQ(ReadInt(L"V", L"SIGN_BLANK", 37), 0);
    EXPECT_EQ(ReadInt(L"V", L"HEX"), 0);
    EXPECT_EQ(ReadInt(L"V", L"TWO_NUMBERS"), 12);
    EXPECT_EQ(ReadInt(L"V", L"QUOTED"), 12);
    EXPECT_EQ(ReadInt(L"V", L"QUOTED_BLANK"), 8);
    EXPECT_EQ(ReadInt(L"V", L"WRAPS"), 1);
    EXPECT_EQ(GetPrivateProfileIntW(L"V", L"MAX", 0, ini.c_str()), 4294967295u);
    EXPECT_EQ(ReadInt(L"V", L"TAB"), 9);
}

TEST_F(ProfileTest, NamesCompareWithoutCaseAndBlanksAroundTheSignDoNotCount)
{
    dir.Write("test.ini", "[QuorVane]\n  RedLine_A  =  42  \n\t[ other ]\nk\t=\t3\n");
    EXPECT_EQ(ReadInt(L"QUORVANE", L"REDLINE_A"), 42);
    EXPECT_EQ(ReadInt(L"quorvane", L"redline_a"), 42);
    EXPECT_EQ(ReadInt(L"OTHER", L"K"), 3);

    // A write finds the same line and keeps its spelling and layout up to the value.
    ASSERT_TRUE(Write(L"QUORVANE", L"REDLINE_A", L"7"));
    EXPECT_EQ(Contents(), "[QuorVane]\n  RedLine_A  =  7\n\t[ other ]\nk\t=\t3\n");
}

TEST_F(ProfileTest, ValuesOfOtherSectionsAndCommentsDoNotAnswer)
{
    dir.Write("test.ini",
              "K=1\n"  // before any section
              "[A]\n"
              ";K=2\n"  // a comment
              "K\n"     // no '=': not a key
              "[B]\n"
              "K=3\n");
    EXPECT_EQ(ReadInt(L"A", L"K", 50), 50);
    EXPECT_EQ(ReadInt(L"B", L"K", 50), 3);
}

TEST_F(ProfileTest, TheFirstOccurrenceCountsForReadingAndWriting)
{
    dir.Write("test.ini", "[S]\nK=1\nK=2\n[S]\nK=3\nL=4\n");
    EXPECT_EQ(ReadInt(L"S", L"K"), 1);
    EXPECT_EQ(ReadInt(L"S", L"L"), 4);  // found in the second section of that name
    ASSERT_TRUE(Write(L"S", L"K", L"9"));
    EXPECT_EQ(Contents(), "[S]\nK=9\nK=2\n[S]\nK=3\nL=4\n");
    EXPECT_EQ(ReadInt(L"S", L"K"), 9);

    // Deleting removes every occurrence: the key then reads as absent.
    ASSERT_TRUE(Write(L"s", L"k", nullptr));
    EXPECT_EQ(Contents(), "[S]\n[S]\nL=4\n");
    EXPECT_EQ(ReadInt(L"S", L"K", 5), 5);
}

TEST_F(ProfileTest, FirstWriteCreatesTheFile)
{
    ASSERT_FALSE(dir.Exists("test.ini"));
    ASSERT_TRUE(Write(L"QUORVANE", L"LINEDENSITY", L"100"));
    EXPECT_EQ(Contents(), "[QUORVANE]\nLINEDENSITY=100\n");
    ASSERT_TRUE(Write(L"QUORVANE", L"SHOW_HELP", L"1"));
    EXPECT_EQ(Contents(), "[QUORVANE]\nLINEDENSITY=100\nSHOW_HELP=1\n");
    EXPECT_EQ(ReadInt(L"QUORVANE", L"LINEDENSITY"), 100);
}

TEST_F(ProfileTest, EveryOtherByteSurvivesAWrite)
{
    const std::string before = "\xEF\xBB\xBF; settings, hand-edited\r\n"
                               "\r\n"
                               "[OTHER]\r\n"
                               "REDLINE_A=1   ; not a comment: part of the value\r\n"
                               "[QUORVANE]\r\n"
                               "REDLINE_A = 5\r\n"
                               "; keep me\r\n"
                               "\tCUSTOM=\xE5\x9C\xB0\xE7\x90\x83\r\n"
                               "\r\n"
                               "[LAST]\r\n"
                               "X=1";  // no line break at the end
    dir.Write("test.ini", before);
    ASSERT_TRUE(Write(L"QUORVANE", L"REDLINE_A", L"128"));
    ASSERT_TRUE(Write(L"QUORVANE", L"NEWKEY", L"2"));
    ASSERT_TRUE(Write(L"LAST", L"Y", L"3"));
    ASSERT_TRUE(Write(L"NEW", L"Z", L"4"));
    EXPECT_EQ(Contents(),
              "\xEF\xBB\xBF; settings, hand-edited\r\n"
              "\r\n"
              "[OTHER]\r\n"
              "REDLINE_A=1   ; not a comment: part of the value\r\n"
              "[QUORVANE]\r\n"
              "REDLINE_A = 128\r\n"
              "; keep me\r\n"
              "\tCUSTOM=\xE5\x9C\xB0\xE7\x90\x83\r\n"
              "NEWKEY=2\r\n"  // after the section's last key, before its blank line
              "\r\n"
              "[LAST]\r\n"
              "X=1\r\n"
              "Y=3\r\n"
              "\r\n"
              "[NEW]\r\n"
              "Z=4\r\n");
    EXPECT_EQ(ReadInt(L"OTHER", L"REDLINE_A"), 1);
    EXPECT_EQ(ReadInt(L"QUORVANE", L"REDLINE_A"), 128);
}

TEST_F(ProfileTest, NullValueDeletesTheKeyAndNullKeyTheSection)
{
    dir.Write("test.ini", "[A]\nK=1\nL=2\n[B]\nM=3\n[a]\nN=4\n");
    ASSERT_TRUE(Write(L"A", L"K", nullptr));
    EXPECT_EQ(Contents(), "[A]\nL=2\n[B]\nM=3\n[a]\nN=4\n");
    ASSERT_TRUE(Write(L"a", nullptr, nullptr));
    EXPECT_EQ(Contents(), "[B]\nM=3\n");
    // Deleting from a file that does not exist does not create it.
    const std::wstring other = dir.WidePath("none.ini");
    EXPECT_TRUE(WritePrivateProfileStringW(L"A", L"K", nullptr, other.c_str()));
    EXPECT_FALSE(dir.Exists("none.ini"));
}

TEST_F(ProfileTest, TextThatWouldNotReadBackIsRefused)
{
    dir.Write("test.ini", "[S]\nK=1\n");
    const LPCWSTR bad[][3] = {
        {L"S", L"K", L"1\nJ=2"}, {L"S", L"K=J", L"1"}, {L"S]", L"K", L"1"},
        {L"S\r", L"K", L"1"},    {L"S", L";K", L"1"},  {L"S", L"[K", L"1"},
    };
    for (const auto& args : bad) {
        SetLastError(0);
        EXPECT_FALSE(Write(args[0], args[1], args[2])) << args[1];
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(Contents(), "[S]\nK=1\n");
}

TEST_F(ProfileTest, ReadOnlyFileIsNotWritten)
{
    dir.Write("test.ini", "[S]\nK=1\n");
    chmod(dir.Path("test.ini").c_str(), 0444);
    SetLastError(0);
    EXPECT_FALSE(Write(L"S", L"K", L"2"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Contents(), "[S]\nK=1\n");
    EXPECT_EQ(ReadInt(L"S", L"K"), 1);
}

TEST_F(ProfileTest, MissingDirectoryFailsAndCreatesNothing)
{
    const std::wstring path = dir.WidePath("absent/test.ini");
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"K", L"1", path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(dir.Exists("absent"));
    EXPECT_EQ(GetPrivateProfileIntW(L"S", L"K", 5, path.c_str()), 5u);
}

TEST_F(ProfileTest, WritesLeaveNoTemporaryFileAndKeepPermissions)
{
    dir.Write("test.ini", "[S]\nK=1\n");
    chmod(dir.Path("test.ini").c_str(), 0640);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(Write(L"S", L"K", std::to_wstring(i).c_str()));
    EXPECT_EQ(dir.List(), std::vector<std::string>{"test.ini"});
    struct stat status {};
    ASSERT_EQ(stat(dir.Path("test.ini").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(ProfileTest, AWriteThroughASymbolicLinkChangesTheTarget)
{
    dir.Write("real.ini", "[S]\nK=1\n");
    std::filesystem::create_symlink(dir.Path("real.ini"), dir.Path("test.ini"));
    ASSERT_TRUE(Write(L"S", L"K", L"2"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path("test.ini")));
    EXPECT_EQ(dir.Read("real.ini"), "[S]\nK=2\n");
}

TEST_F(ProfileTest, BackslashesInThePathAreSeparators)
{
    dir.Write("sub/test.ini", "[S]\nK=31\n");
    std::wstring path = dir.WidePath() + L"\\sub\\test.ini";
    EXPECT_EQ(GetPrivateProfileIntW(L"S", L"K", 0, path.c_str()), 31u);
    EXPECT_TRUE(WritePrivateProfileStringW(L"S", L"K", L"32", path.c_str()));
    EXPECT_EQ(dir.Read("sub/test.ini"), "[S]\nK=32\n");
}

TEST_F(ProfileTest, NonAsciiNamesAndValuesAreUtf8)
{
    ASSERT_TRUE(Write(L"\u5730\u7403", L"\u00C4RGER", L"\u00E9t\u00E9"));
    EXPECT_EQ(Contents(), "[\xE5\x9C\xB0\xE7\x90\x83]\n\xC3\x84RGER=\xC3\xA9t\xC3\xA9\n");
    ASSERT_TRUE(Write(L"\u5730\u7403", L"\u00C4RGER", L"12"));
    EXPECT_EQ(ReadInt(L"\u5730\u7403", L"\u00C4RGER"), 12);
}

TEST_F(ProfileTest, NullArguments)
{
    EXPECT_EQ(GetPrivateProfileIntW(nullptr, L"K", 4, ini.c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileIntW(L"S", nullptr, 4, ini.c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileIntW(L"S", L"K", 4, nullptr), 4u);
    EXPECT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr));  // cache flush
    EXPECT_FALSE(WritePrivateProfileStringW(nullptr, L"K", L"1", ini.c_str()));
    EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"K", L"1", nullptr));
    EXPECT_FALSE(dir.Exists("test.ini"));
}

TEST_F(ProfileTest, ADirectoryInPlaceOfTheFileIsNeitherReadNorReplaced)
{
    std::filesystem::create_directory(dir.Path("test.ini"));
    EXPECT_EQ(ReadInt(L"S", L"K", 6), 6);
    EXPECT_FALSE(Write(L"S", L"K", L"1"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path("test.ini")));
}

}  // namespace
}  // namespace quorvane::tests

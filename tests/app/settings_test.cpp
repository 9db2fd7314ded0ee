// The settings record and Quorvane.ini: defaults, reading, writing back, and what survives.
#include "app/settings.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/stat.h>

namespace quorvane::tests {
namespace {

const char defaultFile[] = "[QUORVANE]\n"
                           "REDLINE_A=255\nREDLINE_R=255\nREDLINE_G=0\nREDLINE_B=0\n"
                           "LATITUDELINE_A=255\nLATITUDELINE_R=0\nLATITUDELINE_G=255\nLATITUDELINE_B=0\n"
                           "LONGITUDELINE_A=255\nLONGITUDELINE_R=0\nLONGITUDELINE_G=0\nLONGITUDELINE_B=255\n"
                           "LATITUDELINE_INTERVAL=15\nLONGITUDELINE_INTERVAL=15\n"
                           "SHOW_LATITUDELINE=1\nSHOW_LONGITUDELINE=1\nSHOW_HELP=1\nSHOW_EARTH=1\nSHOW_EARTHOUTLINE=1\n"
                           "LINEDENSITY=100\n";

// Points the process's settings at a file in a fresh directory, and puts them back afterwards.
class SettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        saved = ViewerSettings;
        ViewerSettings = InitSettings(dir.WidePath("Quorvane.ini").c_str());
    }
    void TearDown() override { ViewerSettings = saved; }

    std::string File() const { return dir.Read("Quorvane.ini"); }
    void ExpectDefaults(const ViewerSettingsRecord& s) const
    {
        EXPECT_EQ(s.latitudeLineInterval, 15);
        EXPECT_EQ(s.latitudeLineColor, 0xFF00FF00u);
        EXPECT_EQ(s.redLineColor, 0xFFFF0000u);
        EXPECT_EQ(s.longitudeLineInterval, 15);
        EXPECT_EQ(s.longitudeLineColor, 0xFF0000FFu);
        EXPECT_EQ(s.showLatitudeLines, TRUE);
        EXPECT_EQ(s.showLongitudeLines, TRUE);
        EXPECT_EQ(s.showHelp, TRUE);
        EXPECT_EQ(s.showEarth, TRUE);
        EXPECT_EQ(s.showEarthOutline, TRUE);
        EXPECT_EQ(s.lineDensity, 100);
    }

    TempDirectory dir;
    ViewerSettingsRecord saved{};
};

TEST_F(SettingsTest, InitSettingsGivesTheDefaultsAndThePath)
{
    const ViewerSettingsRecord settings = InitSettings(L"C:\\viewer\\Quorvane.ini");
    ExpectDefaults(settings);
    EXPECT_STREQ(settings.iniPath, L"C:\\viewer\\Quorvane.ini");
}

TEST_F(SettingsTest, NoFileGivesDefaultsAndSaveWritesTheTwentyKeysInOrder)
{
    LoadSettings();
    ExpectDefaults(ViewerSettings);
    SaveSettings();
    EXPECT_EQ(File(), defaultFile);
}

// Each key alone in the file changes its own member and nothing else, and is written back as
// read; the table has as many keys as there are cases.
TEST_F(SettingsTest, EachKeyIsReadIntoItsOwnMember)
{
    using R = ViewerSettingsRecord;
    const struct {
        const char* line;
        void (*expect)(R&);
    } cases[] = {
        {"REDLINE_A=1", [](R& r) { r.redLineColor = 0x01FF0000; }},
        {"REDLINE_R=2", [](R& r) { r.redLineColor = 0xFF020000; }},
        {"REDLINE_G=3", [](R& r) { r.redLineColor = 0xFFFF0300; }},
        {"REDLINE_B=4", [](R& r) { r.redLineColor = 0xFFFF0004; }},
        {"LATITUDELINE_A=5", [](R& r) { r.latitudeLineColor = 0x0500FF00; }},
        {"LATITUDELINE_R=6", [](R& r) { r.latitudeLineColor = 0xFF06FF00; }},
        {"LATITUDELINE_G=7", [](R& r) { r.latitudeLineColor = 0xFF000700; }},
        {"LATITUDELINE_B=8", [](R& r) { r.latitudeLineColor = 0xFF00FF08; }},
        {"LONGITUDELINE_A=9", [](R& r) { r.longitudeLineColor = 0x090000FF; }},
        {"LONGITUDELINE_R=10", [](R& r) { r.longitudeLineColor = 0xFF0A00FF; }},
        {"LONGITUDELINE_G=11", [](R& r) { r.longitudeLineColor = 0xFF000BFF; }},
        {"LONGITUDELINE_B=12", [](R& r) { r.longitudeLineColor = 0xFF00000C; }},
        {"LATITUDELINE_INTERVAL=13", [](R& r) { r.latitudeLineInterval = 13; }},
        {"LONGITUDELINE_INTERVAL=14", [](R& r) { r.longitudeLineInterval = 14; }},
        {"SHOW_LATITUDELINE=0", [](R& r) { r.showLatitudeLines = FALSE; }},
        {"SHOW_LONGITUDELINE=0", [](R& r) { r.showLongitudeLines = FALSE; }},
        {"SHOW_HELP=0", [](R& r) { r.showHelp = FALSE; }},
        {"SHOW_EARTH=0", [](R& r) { r.showEarth = FALSE; }},
        {"SHOW_EARTHOUTLINE=0", [](R& r) { r.showEarthOutline = FALSE; }},
        {"LINEDENSITY=15", [](R& r) { r.lineDensity = 15; }},
    };
    for (const auto& c : cases) {
        dir.Write("Quorvane.ini", std::string("[QUORVANE]\n") + c.line + "\n");
        R expected = InitSettings(ViewerSettings.iniPath);
        c.expect(expected);
        ViewerSettings = InitSettings(ViewerSettings.iniPath);
        LoadSettings();
        EXPECT_EQ(std::memcmp(&ViewerSettings, &expected, sizeof expected), 0) << c.line;
        SaveSettings();
        EXPECT_NE(File().find(std::string(c.line) + "\n"), std::string::npos) << c.line;
    }
    EXPECT_EQ(SettingKeys().size(), std::size(cases));
}

TEST_F(SettingsTest, AColourKeyAloneChangesOnlyItsComponent)
{
    dir.Write("Quorvane.ini", "[QUORVANE]\nREDLINE_A=128\n");
    LoadSettings();
    EXPECT_EQ(ViewerSettings.redLineColor, 0x80FF0000u);
    SaveSettings();
    EXPECT_NE(File().find("REDLINE_A=128\nREDLINE_R=255\nREDLINE_G=0\nREDLINE_B=0\n"), std::string::npos);
}

TEST_F(SettingsTest, OnlyTheLowEightBitsOfAColourKeyCount)
{
    dir.Write("Quorvane.ini",
              "[QUORVANE]\nLATITUDELINE_G=511\nLATITUDELINE_R=300\nLONGITUDELINE_B=256\nLONGITUDELINE_A=-1\n");
    LoadSettings();
    EXPECT_EQ(ViewerSettings.latitudeLineColor, 0xFF2CFF00u);   // R 300 -> 44, G 511 -> 255
    EXPECT_EQ(ViewerSettings.longitudeLineColor, 0xFF000000u);  // B 256 -> 0, A -1 -> 255
    SaveSettings();
    const std::string file = File();
    EXPECT_NE(file.find("LATITUDELINE_G=255\n"), std::string::npos);
    EXPECT_NE(file.find("LATITUDELINE_R=44\n"), std::string::npos);
    EXPECT_NE(file.find("LONGITUDELINE_B=0\n"), std::string::npos);
    EXPECT_NE(file.find("LONGITUDELINE_A=255\n"), std::string::npos);
}

TEST_F(SettingsTest, AnyNonzeroFlagReadsAsOneAndIsWrittenAsOne)
{
    dir.Write("Quorvane.ini", "[QUORVANE]\nSHOW_HELP=5\nSHOW_EARTH=0\nSHOW_EARTHOUTLINE=abc\n");
    LoadSettings();
    EXPECT_EQ(ViewerSettings.showHelp, 1);
    EXPECT_EQ(ViewerSettings.showEarth, 0);
    EXPECT_EQ(ViewerSettings.showEarthOutline, 0);  // no digits reads as 0
    SaveSettings();
    const std::string file = File();
    EXPECT_NE(file.find("SHOW_HELP=1\n"), std::string::npos);
    EXPECT_NE(file.find("SHOW_EARTH=0\n"), std::string::npos);
    EXPECT_NE(file.find("SHOW_EARTHOUTLINE=0\n"), std::string::npos);
}

TEST_F(SettingsTest, NegativeAndOddIntervalsAndDensitiesRoundTrip)
{
    dir.Write("Quorvane.ini",
              "[QUORVANE]\nLATITUDELINE_INTERVAL=-30\nLONGITUDELINE_INTERVAL=0\nLINEDENSITY=-2147483648\n");
    LoadSettings();
    EXPECT_EQ(ViewerSettings.latitudeLineInterval, -30);
    EXPECT_EQ(ViewerSettings.longitudeLineInterval, 0);
    EXPECT_EQ(ViewerSettings.lineDensity, INT_MIN);
    SaveSettings();
    const std::string file = File();
    EXPECT_NE(file.find("LATITUDELINE_INTERVAL=-30\n"), std::string::npos);
    EXPECT_NE(file.find("LONGITUDELINE_INTERVAL=0\n"), std::string::npos);
    EXPECT_NE(file.find("LINEDENSITY=-2147483648\n"), std::string::npos);

    ViewerSettings = InitSettings(ViewerSettings.iniPath);
    LoadSettings();
    EXPECT_EQ(ViewerSettings.latitudeLineInterval, -30);
    EXPECT_EQ(ViewerSettings.lineDensity, INT_MIN);
}

TEST_F(SettingsTest, ToggledFlagsPersistToTheNextStart)
{
    LoadSettings();
    ViewerSettings.showHelp = FALSE;  // as F1 does
    SaveSettings();
    EXPECT_NE(File().find("SHOW_HELP=0\n"), std::string::npos);
    ViewerSettings = InitSettings(ViewerSettings.iniPath);
    LoadSettings();
    EXPECT_EQ(ViewerSettings.showHelp, FALSE);
}

TEST_F(SettingsTest, OtherSectionsKeysAndCommentsSurviveASave)
{
    const std::string before = "; Quorvane settings\r\n"
                               "[WINDOW]\r\n"
                               "LEFT=10\r\n"
                               "\r\n"
                               "[quorvane]\r\n"
                               "; my colour\r\n"
                               "RedLine_A = 64\r\n"
                               "COMMENT_KEY=kept as is\r\n"
                               "\r\n"
                               "[LAST]\r\n"
                               "X=1\r\n";
    dir.Write("Quorvane.ini", before);
    LoadSettings();
    EXPECT_EQ(ViewerSettings.redLineColor, 0x40FF0000u);
    SaveSettings();
    const std::string after = File();
    EXPECT_EQ(after.substr(0, after.find("COMMENT_KEY")),
              "; Quorvane settings\r\n[WINDOW]\r\nLEFT=10\r\n\r\n[quorvane]\r\n; my colour\r\n"
              "RedLine_A = 64\r\n");
    EXPECT_NE(after.find("COMMENT_KEY=kept as is\r\nREDLINE_R=255\r\n"), std::string::npos);
    EXPECT_NE(after.find("LINEDENSITY=100\r\n\r\n[LAST]\r\nX=1\r\n"), std::string::npos);
}

TEST_F(SettingsTest, AReadOnlyFileLosesOnlyThisRunsSettings)
{
    dir.Write("Quorvane.ini", "[QUORVANE]\nSHOW_HELP=1\nLINEDENSITY=50\n");
    chmod(dir.Path("Quorvane.ini").c_str(), 0444);
    LoadSettings();
    EXPECT_EQ(ViewerSettings.lineDensity, 50);
    ViewerSettings.showHelp = FALSE;
    SaveSettings();
    EXPECT_EQ(File(), "[QUORVANE]\nSHOW_HELP=1\nLINEDENSITY=50\n");
}

TEST_F(SettingsTest, AMissingDirectoryLosesOnlyThisRunsSettings)
{
    ViewerSettings = InitSettings(dir.WidePath("gone/Quorvane.ini").c_str());
    LoadSettings();
    ExpectDefaults(ViewerSettings);
    SaveSettings();
    EXPECT_FALSE(dir.Exists("gone"));
}

TEST_F(SettingsTest, WriteKeysFormatIntegersAndFlags)
{
    const std::wstring path = dir.WidePath("Quorvane.ini");
    EXPECT_TRUE(WriteIntKey(-7, path.c_str(), L"A"));
    EXPECT_TRUE(WriteIntKey(2147483647, path.c_str(), L"B"));
    EXPECT_TRUE(WriteBoolKey(path.c_str(), L"C", 5));
    EXPECT_TRUE(WriteBoolKey(path.c_str(), L"D", FALSE));
    EXPECT_EQ(File(), "[QUORVANE]\nA=-7\nB=2147483647\nC=1\nD=0\n");
    const std::wstring missing = dir.WidePath("gone/x.ini");
    EXPECT_FALSE(WriteIntKey(1, missing.c_str(), L"A"));
    EXPECT_FALSE(WriteBoolKey(missing.c_str(), L"A", TRUE));
}

TEST(IniPath, IsTheDirectoryABackslashAndTheName)
{
    WCHAR path[MAX_PATH];
    EXPECT_TRUE(MakeIniPath(L"C:\\viewer", path));
    EXPECT_STREQ(path, L"C:\\viewer\\Quorvane.ini");
    EXPECT_TRUE(MakeIniPath(L"", path));
    EXPECT_STREQ(path, L"\\Quorvane.ini");
}

TEST(IniPath, APathThatWouldNotFitIsRefusedNotTruncated)
{
    WCHAR path[MAX_PATH];
    // "\Quorvane.ini" is 13 units: a 246-unit directory gives 259, the most that fits.
    const std::wstring fits(246, L'd');
    EXPECT_TRUE(MakeIniPath(fits.c_str(), path));
    EXPECT_EQ(std::wstring(path), fits + L"\\Quorvane.ini");
    const std::wstring tooLong(247, L'd');
    EXPECT_FALSE(MakeIniPath(tooLong.c_str(), path));
    EXPECT_STREQ(path, L"");
    EXPECT_FALSE(MakeIniPath(nullptr, path));

    const ViewerSettingsRecord settings = InitSettings((tooLong + L"\\Quorvane.ini").c_str());
    EXPECT_STREQ(settings.iniPath, L"");
}

TEST(StartupDirectory, GivesTheIniPathInTheCurrentDirectory)
{
    TempDirectory dir;
    CurrentDirectoryScope inside(dir.Path());
    const ViewerSettingsRecord settings = InitSettingsInCurrentDirectory();
    EXPECT_EQ(std::wstring(settings.iniPath), dir.WidePath() + L"\\Quorvane.ini");
}

TEST(StartupDirectory, TooLongToPersistReadsAndWritesNothingAndSaysSoOnce)
{
    TempDirectory dir;
    // Nest directories until the current directory alone fills the path buffer.
    std::string deep = dir.Path();
    while (deep.size() < MAX_PATH)
        deep += "/" + std::string(40, 'd');
    std::filesystem::create_directories(deep);
    const ViewerSettingsRecord saved = ViewerSettings;
    {
        CurrentDirectoryScope inside(deep);
        std::ofstream(deep + "/Quorvane.ini") << "[QUORVANE]\nSHOW_HELP=0\n";

        setenv("QUORVANE_TRACE", "1", 1);  // the trace is read
        testing::internal::CaptureStderr();
        ViewerSettings = InitSettingsInCurrentDirectory();
        const std::string trace = testing::internal::GetCapturedStderr();
        unsetenv("QUORVANE_TRACE");
        EXPECT_STREQ(ViewerSettings.iniPath, L"");
        EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1) << trace;

        testing::internal::CaptureStderr();
        LoadSettings();
        EXPECT_EQ(ViewerSettings.showHelp, TRUE);  // the file was not read
        SaveSettings();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(dir.List().size(), 1u);  // only the deep directory: nothing written elsewhere
    }
    std::ifstream file(deep + "/Quorvane.ini");
    std::string contents((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(contents, "[QUORVANE]\nSHOW_HELP=0\n");
    ViewerSettings = saved;
}

}  // namespace
}  // namespace quorvane::tests

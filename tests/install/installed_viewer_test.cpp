// The installed quorvane as the desktop starts it: from the home folder, with a fresh HOME. It
// keeps its files in ~/.local/share/quorvane, made on the first start with a Data link to the
// installed data; its window has the menu, the icon and the class the desktop entry names; the
// settings written at the close are read at the next start. Where that folder cannot be made, it
// says so and leaves nothing behind.
#include "child_process.h"
#include "temp_directory.h"
#include "viewer_picture.h"
#include "viewer_process.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace quorvane::tests {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string installedViewer = QUORVANE_STAGE "/usr/bin/quorvane";
const fs::path installedData = QUORVANE_STAGE "/usr/share/quorvane/Data";
const fs::path desktopEntry = QUORVANE_STAGE "/usr/share/applications/" QUORVANE_APP_ID ".desktop";

std::string Slurp(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// The value of a key of the desktop entry's main group.
std::string EntryValue(const std::string& key)
{
    std::istringstream lines(Slurp(desktopEntry));
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    }
    return {};
}

int DrawnPixels(const Picture& picture)
{
    return int(
        std::count_if(picture.pixels.begin(), picture.pixels.end(), [](std::uint32_t p) { return !IsBackground(p); }));
}

class InstalledViewer : public testing::Test {
protected:
    void SetUp() override
    {
        session = std::make_unique<XSession>();
        if (!session->Ready())
            GTEST_SKIP() << "no X session: " << session->Problem();
    }

    // Starts the installed viewer as the desktop does and waits for its first frame.
    void Start()
    {
        viewer = std::make_unique<ViewerProcess>(*session, installedViewer,
                                                 std::vector<std::string>{"HOME=" + home.Path(), "XDG_DATA_HOME="});
        ASSERT_TRUE(viewer->Start()) << "the installed viewer's window did not appear within 30 s";
        ASSERT_TRUE(viewer->WaitUntilSettled());
        ASSERT_TRUE(viewer->WaitForPicture()) << "no Earth: the installed data was not found";
        ASSERT_TRUE(session->Xdotool({"windowactivate", "--sync", std::to_string(viewer->Window())}));
    }

    void Key(const std::string& keys) const { EXPECT_TRUE(session->Xdotool({"key", "--delay", "40", keys})); }

    // Where the help text is drawn, at the top left of the client area.
    ScreenRect HelpArea() const
    {
        const ScreenRect client = viewer->Client().value_or(ScreenRect{});
        return {client.x, client.y, std::min(client.width / 2, 400), 130};
    }

    TempDirectory home;
    std::unique_ptr<XSession> session;
    std::unique_ptr<ViewerProcess> viewer;
};

TEST_F(InstalledViewer, KeepsItsFilesUnderTheUsersDataFolderAndReadsItsSettingsBack)
{
    Start();
    const unsigned long window = viewer->Window();
    EXPECT_EQ(session->WindowClass(window), EntryValue("StartupWMClass"));
    const std::vector<unsigned long> icon = session->Property(window, "_NET_WM_ICON");
    ASSERT_GE(icon.size(), 2u) << "the window has no icon";
    EXPECT_GE(icon[0] * icon[1], 16u * 16u);

    const ScreenRect client = viewer->Client().value();
    const ScreenRect dropDown{client.x, client.y, 200, 60};
    const Picture closed = session->Read(dropDown);
    Key("alt+f");
    EXPECT_TRUE(PollUntil([&] { return DifferentPixels(closed, session->Read(dropDown)) > 1000; }, 10s))
        << "the File menu did not open";
    for (const char* key : {"Escape", "Escape", "F1"})
        Key(key);
    EXPECT_TRUE(PollUntil([&] { return DrawnPixels(session->Read(HelpArea())) == 0; }, 10s))
        << "F1 did not hide the help text";
    Key("alt+F4");
    EXPECT_EQ(viewer->Process().Wait(10s), 0);

    const fs::path folder = fs::path(home.Path()) / ".local/share/quorvane";
    EXPECT_EQ(fs::canonical(folder / "Data"), fs::canonical(installedData));
    const std::string ini = Slurp(folder / "Quorvane.ini");
    EXPECT_EQ(std::count(ini.begin(), ini.end(), '='), 20) << ini;
    EXPECT_NE(ini.find("SHOW_HELP=0"), std::string::npos) << ini;

    Start();
    EXPECT_EQ(DrawnPixels(session->Read(HelpArea())), 0) << "the second start shows the help text again";
}

// A folder that cannot be made: under a file where a folder should be, and a name too long for the
// file system below folders the viewer makes first, which it must take away again.
TEST(InstalledViewerWithoutItsFolder, SaysWhichFolderExitsWithOneAndLeavesNothingMade)
{
    struct Case {
        std::string blocker;   // made as a file in HOME
        std::string dataHome;  // XDG_DATA_HOME below HOME (empty: unset)
        std::string named;     // the folder the message names, below HOME
    };
    const std::string tooLong(300, 'x');
    for (const Case& c : {Case{".local", "", ".local/share/quorvane"},
                          Case{"", "made/by/the/viewer/" + tooLong, "made/by/the/viewer/" + tooLong + "/quorvane"}}) {
        TempDirectory home, output;
        if (!c.blocker.empty())
            std::ofstream(home.Path(c.blocker)) << "a file";
        const std::string dataHome = c.dataHome.empty() ? "" : home.Path(c.dataHome);
        ChildOptions options;
        options.directory = home.Path();
        options.environment = {"HOME=" + home.Path(), "XDG_DATA_HOME=" + dataHome};
        const std::string errors = output.Path("stderr");
        EXPECT_EQ(RunToEnd({"/bin/sh", "-c", "exec \"$0\" 2>\"$1\"", installedViewer, errors}, options, 30s), 1);
        EXPECT_NE(Slurp(errors).find(home.Path(c.named)), std::string::npos) << Slurp(errors);
        std::vector<std::string> left;
        for (const fs::directory_entry& entry : fs::directory_iterator(home.Path()))
            left.push_back(entry.path().filename().string());
        EXPECT_EQ(left, c.blocker.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.blocker});
    }
}

}  // namespace
}  // namespace quorvane::tests

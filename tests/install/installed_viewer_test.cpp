// The installed quorvane as the desktop starts it: from the home folder, with a fresh HOME. It
// keeps its files in ~/.local/share/quorvane, made on the first start with a Data link to the
// installed data; its window has the menu, the icon and the class the desktop entry names; the
// settings written at the close are read at the next start. Where that folder cannot be made, it
// says so and leaves nothing behind. Which folder it takes, whatever folder it starts in, and two
// first starts at once, are seen without a display, where the viewer ends right after taking it.
#include "child_process.h"
#include "temp_directory.h"
#include "viewer_picture.h"
#include "viewer_process.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The installed viewer without a display, started in `start` with HOME and XDG_DATA_HOME as
// given; it says why it cannot show its window, into `errors`, and ends. With a `gate` (a FIFO) it
// starts once it reads a line of the gate, together with every other one waiting.
std::unique_ptr<ChildProcess> StartWithoutDisplay(const std::string& start, const std::string& home,
                                                  const std::string& dataHome, const std::string& errors,
                                                  const std::string& gate = "/dev/null")
{
    ChildOptions options;
    options.directory = start;
    options.environment = {"HOME=" + home, "XDG_DATA_HOME=" + dataHome};
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER", "/bin/sh",
                                 "-c", "read -r _ <\"$2\"; exec \"$0\" 2>\"$1\"", installedViewer, errors, gate},
        options);
}

std::set<std::string> Entries(const fs::path& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

const char* const startedOnItsWay = "no display to show windows on";

// Where the installed viewer keeps its files: its own folder, whatever Data folder of the user's
// is where it starts, unless that Data holds the viewer's own data files; an XDG_DATA_HOME with
// "." and ".." in it taken as the system reads it, a relative one ignored; a relative HOME refused.
TEST(InstalledViewerFolder, IsItsOwnUnlessItStartsBesideItsOwnData)
{
    struct Case {
        std::vector<std::string> files;  // made below HOME; "*" names the viewer's data files
        std::string start;               // below HOME
        std::string home;                // HOME ("~": the test's home folder)
        std::string dataHome;            // XDG_DATA_HOME ("~" at its start: the home folder)
        std::string folder;              // where the Data link is made, below HOME (empty: none)
        std::string said;
    };
    const std::string own = ".local/share/quorvane";
    const Case cases[] = {
        {{"Data/holiday.jpg"}, "", "~", "", own, startedOnItsWay},
        {{"Data/mdl/sphere.x"}, "", "~", "", own, startedOnItsWay},
        {{"work/Data*"}, "work", "~", "", "", startedOnItsWay},
        {{}, "", "~", "~/new/./a/../b/", "new/b/quorvane", startedOnItsWay},
        {{}, "", "~", "relative/data", own, startedOnItsWay},
        {{}, "", "relative-home", "", "", "HOME (relative-home) is not an absolute path"},
        // A Data there of the user's that is not the data is left as it is, named with what to do.
        {{".local/share/quorvane/Data"}, "", "~", "", "", "Data is not the viewer's data (Data/mdl/sphere.x is"},
        {{".local/share/quorvane/Data/a.jpg"}, "", "~", "", "", "Data/mdl/sphere.x is missing) and is left as it"},
    };
    for (const Case& c : cases) {
        TempDirectory home, output;
        auto atHome = [&](const std::string& path) {
            return path.starts_with("~") ? home.Path() + path.substr(1) : path;
        };
        std::set<std::string> expected;
        for (const std::string& file : c.files) {
            expected.insert(file.substr(0, file.find('/')));
            if (!file.ends_with("*")) {
                home.Write(file, "not the viewer's");
                continue;
            }
            const fs::path data = home.Path(file.substr(0, file.size() - 1));
            fs::create_directories(data / "mdl");
            for (const char* name : {"mdl/sphere.x", "mdl/" QUORVANE_EARTH_IMAGE})
                fs::copy_file(installedData / name, data / name);
        }
        if (!c.folder.empty())
            expected.insert(c.folder.substr(0, c.folder.find('/')));
        const std::string errors = output.Path("stderr");
        auto viewer = StartWithoutDisplay(home.Path(c.start), atHome(c.home), atHome(c.dataHome), errors);
        EXPECT_EQ(viewer->Wait(30s), 1) << c.said;
        EXPECT_NE(Slurp(errors).find(c.said), std::string::npos) << Slurp(errors);
        std::error_code missing;
        if (!c.folder.empty()) {
            EXPECT_EQ(fs::canonical(home.Path(c.folder + "/Data"), missing), fs::canonical(installedData)) << c.folder;
        }
        EXPECT_EQ(Entries(home.Path()), expected) << c.said << " " << c.dataHome;
    }
}

// Two first starts at once each take the folder and the Data link, whichever makes them.
TEST(InstalledViewerFolder, IsSharedByTwoFirstStartsAtOnce)
{
    for (int round = 0; round < 20; ++round) {
        TempDirectory home, output;
        const std::string gate = output.Path("gate");
        ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
        const int opened = open(gate.c_str(), O_RDWR);  // held open: the viewers' shells open it at once
        std::unique_ptr<ChildProcess> viewers[2];
        for (int i = 0; i < 2; ++i)
            viewers[i] = StartWithoutDisplay(home.Path(), home.Path(), "", output.Path(std::to_string(i)), gate);
        // Once both wait to read a line of it, they go on together.
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(write(opened, "go\ngo\n", 6), 6);
        close(opened);
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(viewers[i]->Wait(30s), 1);
            const std::string said = Slurp(output.Path(std::to_string(i)));
            ASSERT_NE(said.find(startedOnItsWay), std::string::npos) << "round " << round << ": " << said;
        }
        std::error_code missing;
        EXPECT_EQ(fs::canonical(home.Path(".local/share/quorvane/Data"), missing), fs::canonical(installedData));
    }
}

}  // namespace
}  // namespace quorvane::tests

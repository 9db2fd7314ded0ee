// The viewer under what a person's desktop does to it: a Data folder without the Earth image,
// a storm of resizes, and long idle stretches, which must cost nothing.
#include "viewer_test.h"

#include "user32/window_frame.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include "temp_directory.h"

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

int SettingsKeys(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    int keys = 0;
    while (std::getline(file, line))
        keys += line.find('=') != std::string::npos ? 1 : 0;
    return keys;
}

// Without the Earth image no picture is drawn, but the menus, the About box and closing work.
TEST_F(EndToEnd, WithoutTheEarthImageTheWindowStillWorks)
{
    StartViewer(ViewerData::WithoutEarthImage);
    const ScreenRect client = Client();
    // Where the File menu drops down, under its title.
    const ScreenRect dropDown{client.x, client.y, 200, 60};
    const Picture closed = session->Read(dropDown);

    Key("alt+f");
    EXPECT_TRUE(PollUntil([&] { return DifferentPixels(closed, session->Read(dropDown)) > 1000; }, 10s))
        << "the File menu did not open";
    Key("Escape");
    Key("Escape");
    EXPECT_TRUE(PollUntil([&] { return DifferentPixels(closed, session->Read(dropDown)) == 0; }, 10s))
        << "the File menu did not close";

    Key("alt+question");
    EXPECT_TRUE(WaitForOwnWindow(aboutBoxTitle, true)) << "no About box";
    Key("Escape");
    EXPECT_TRUE(WaitForOwnWindow(aboutBoxTitle, false)) << "the About box stayed";

    Key("alt+f");
    Key("x");
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_EQ(SettingsKeys(viewer->Directory().Path("Quorvane.ini")), 20);
}

// As when a person drags the frame about, a new size every 10 ms: the viewer then draws the last
// one and still answers keys.
TEST_F(EndToEnd, TwoHundredResizesInARowLeaveItResponsive)
{
    StartViewer();
    const std::string window = std::to_string(viewer->Window());
    std::vector<std::string> resizes;
    for (int i = 0; i < 200; ++i) {
        for (const std::string& argument :
             {std::string("windowsize"), window, std::to_string(300 + i * 37 % 600), std::to_string(200 + i * 53 % 500),
              std::string("sleep"), std::string("0.01")})
            resizes.push_back(argument);
    }
    ASSERT_TRUE(session->Xdotool(resizes));
    ASSERT_TRUE(session->Xdotool({"windowsize", window, "640", "480"}));
    EXPECT_TRUE(PollUntil(
        [&] {
            std::optional<ScreenRect> surface = viewer->Surface();
            return surface && surface->width == 640 && surface->height == 480;
        },
        10s))
        << "the last size was not kept";
    EXPECT_TRUE(viewer->WaitForPicture()) << "no picture at the last size";

    // The help text, at the top left whatever the size, goes with F1.
    const ScreenRect help{Client().x, Client().y, 300, 130};
    Key("F1");
    EXPECT_TRUE(PollUntil(
        [&] {
            return DrawnPixelsAround(*session, {help.x + 150, help.y + 65}, 64) == 0;
        },
        10s))
        << "F1 was not answered";
}

// Rendering is on demand: with nothing to do the viewer waits for messages and uses no CPU.
TEST_F(EndToEnd, AnIdleViewerUsesNoCpu)
{
    StartViewer();
    ChildProcess& process = viewer->Process();
    // Start-up done: half a second without any CPU time used.
    EXPECT_TRUE(PollUntil(
        [&] {
            const double before = process.CpuSeconds();
            std::this_thread::sleep_for(500ms);
            return process.CpuSeconds() == before;
        },
        20s))
        << "the viewer did not settle";
    const double before = process.CpuSeconds();
    std::this_thread::sleep_for(5s);
    EXPECT_LT(process.CpuSeconds() - before, 0.05);
    EXPECT_TRUE(process.Running());
}

// Without a display (over ssh, from a service) the shipped viewer says so, naming DISPLAY (and,
// in a folder without its data, the first data file missing), and
// ends at once with exit code 1 and its settings untouched: with SDL left to choose its driver
// (it would fall back to one that shows nothing) and with X11 asked for.
class ViewerWithoutADisplay : public testing::TestWithParam<std::string> {};

TEST_P(ViewerWithoutADisplay, SaysWhyAndEndsWithoutWritingItsSettings)
{
    TempDirectory dir;
    const std::string mine = "[QUORVANE]\nSHOW_EARTH=0\n";
    dir.Write("Quorvane.ini", mine);
    const std::string command = "cd " + dir.Path() +
                                " && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER QUORVANE_TRACE=1 " +
                                GetParam() + " timeout 60 " + QUORVANE_VIEWER + " 2>errors.txt";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    const std::string errors = dir.Read("errors.txt");
    EXPECT_NE(errors.find("no display to show windows on (DISPLAY is unset)"), std::string::npos) << errors;
    EXPECT_NE(errors.find("the main window could not be created"), std::string::npos) << errors;
    EXPECT_NE(errors.find(dir.Path("Data/mdl/sphere.x") + " is missing"), std::string::npos) << errors;
    EXPECT_EQ(dir.Read("Quorvane.ini"), mine);
}

INSTANTIATE_TEST_SUITE_P(Drivers, ViewerWithoutADisplay, testing::Values("", "SDL_VIDEODRIVER=x11"));

}  // namespace
}  // namespace quorvane::tests

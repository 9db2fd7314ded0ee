// The viewer's window as a person meets it: its title and menu bar, the Earth and its image,
// the help text going with F1 and the choice kept after File -> Exit, the picture following a
// drag and the wheel, the About box, and Alt let go in the viewer after it was pressed elsewhere.
#include "viewer_test.h"

#include "user32/window_frame.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

namespace quorvane::tests {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t menuBarGrey = 0xF0F0F0;

bool IsDark(std::uint32_t pixel)
{
    return ((pixel >> 16) & 0xFF) < 0x80 && ((pixel >> 8) & 0xFF) < 0x80 && (pixel & 0xFF) < 0x80;
}

bool IsWhite(std::uint32_t pixel)
{
    return pixel == 0xFFFFFF;
}

// Where the help text is: four lines from y = 8 and the eye position under them, at the left.
ScreenRect HelpTextArea(const ScreenRect& client)
{
    return {client.x, client.y, std::min(client.width / 2, 400), 130};
}

int Count(const Picture& picture, bool (*matches)(std::uint32_t))
{
    return int(std::count_if(picture.pixels.begin(), picture.pixels.end(), matches));
}

std::string Slurp(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

TEST_F(EndToEnd, TheWindowShowsItsTitleMenuBarTheEarthAndItsImage)
{
    StartViewer();
    EXPECT_EQ(session->Title(viewer->Window()), viewerTitle);
    const ScreenRect client = Client();

    // The menu bar: the grey bar across the top of the window with the four titles at its left.
    const Picture bar =
        session->Read({client.x, client.y - user32::menuBarHeight, client.width, user32::menuBarHeight});
    ASSERT_EQ(bar.width, client.width);
    EXPECT_GT(std::count(bar.pixels.begin(), bar.pixels.end(), menuBarGrey), bar.width * bar.height * 3 / 4);
    const Picture titles = session->Read({client.x, client.y - user32::menuBarHeight, 300, user32::menuBarHeight});
    EXPECT_GT(Count(titles, IsDark), 100) << "no menu titles";

    // The Earth fills its disc and its white rim surrounds it; the background is black above it.
    const double earth = ApparentRadius(1.0, client);
    const double rim = ApparentRadius(rimRadius, client);
    EXPECT_TRUE(ShowsEarthAtCentre(*session, client));
    for (double degrees : {30, 90, 150}) {
        const ScreenPoint onRim = FromCentre(client, (earth + rim) / 2, degrees);
        EXPECT_TRUE(IsWhite(session->PixelAt(onRim.x, onRim.y))) << "no rim at " << degrees << " degrees";
    }

    // The image on the plane, beside the Earth and in front of it, inside the equator's image
    // (radius 2 about the foot of the axis).
    for (WorldPoint onImage : {WorldPoint{-1.5, imagePlaneHeight, 0}, WorldPoint{1.5, imagePlaneHeight, 0},
                               WorldPoint{0, imagePlaneHeight, -1.9}}) {
        EXPECT_TRUE(AllDrawnAround(*session, Project(onImage, client), 2))
            << "nothing drawn at (" << onImage.x << ", " << onImage.z << ") on the plane";
    }
}

TEST_F(EndToEnd, F1HidesTheHelpTextAndFileExitSavesThatChoice)
{
    StartViewer();
    const ScreenRect help = HelpTextArea(Client());
    EXPECT_GT(Count(session->Read(help), IsWhite), 200) << "no help text";

    Key("F1");
    EXPECT_TRUE(PollUntil(
        [&] { return Count(session->Read(help), [](std::uint32_t p) { return !IsBackground(p); }) == 0; }, 10s))
        << "the help text is still there";

    Key("alt+f");
    Key("x");
    EXPECT_EQ(ExitCode(), 0);
    const std::string ini = Slurp(viewer->Directory().Path("Quorvane.ini"));
    EXPECT_EQ(std::count(ini.begin(), ini.end(), '='), 20) << ini;
    EXPECT_NE(ini.find("SHOW_HELP=0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("SHOW_EARTH=1"), std::string::npos) << ini;
}

TEST_F(EndToEnd, ALeftDragTurnsTheEarthAndAWheelNotchBringsItNearer)
{
    StartViewer();
    const ScreenRect client = Client();
    const ScreenPoint centre = Project({0, 0, 0}, client);
    const int inner = int(ApparentRadius(1.0, client) * 0.7);
    const ScreenRect disc{centre.x - inner, centre.y - inner, 2 * inner, 2 * inner};
    const Picture before = session->Read(disc);

    // A drag to the right, in steps as a hand makes it: the Earth's face moves on.
    std::vector<std::string> drag{"mousemove", std::to_string(centre.x), std::to_string(centre.y), "mousedown", "1"};
    for (int step = 1; step <= 10; ++step) {
        for (const std::string& argument : {std::string("mousemove"), std::to_string(centre.x + 8 * step),
                                            std::to_string(centre.y), std::string("sleep"), std::string("0.02")})
            drag.push_back(argument);
    }
    drag.insert(drag.end(), {"mouseup", "1"});
    ASSERT_TRUE(session->Xdotool(drag));
    EXPECT_TRUE(
        PollUntil([&] { return DifferentPixels(before, session->Read(disc)) > disc.width * disc.height / 4; }, 10s))
        << "the Earth did not turn";

    // One notch forward: the camera comes nearer by 1.2, the Earth and its rim grow past a point
    // that was background.
    const double nearer = initialCameraDistance / 1.2;
    const double between = (ApparentRadius(rimRadius, client) + ApparentRadius(rimRadius, client, nearer)) / 2;
    const ScreenPoint outside = FromCentre(client, between);
    ASSERT_LT(ApparentRadius(rimRadius, client) + 4, between);
    ASSERT_TRUE(NoneDrawnAround(*session, outside, 1));
    ASSERT_TRUE(session->Xdotool({"click", "4"}));
    EXPECT_TRUE(PollUntil([&] { return AllDrawnAround(*session, outside, 1); }, 10s)) << "the Earth did not grow";
}

// Alt+? and Alt+/ open the About box over the viewer; Esc and Enter close it again.
TEST_F(EndToEnd, TheAboutBoxOpensWithItsAcceleratorsAndCloses)
{
    StartViewer();
    for (auto [open, close] : {std::pair{"alt+question", "Escape"}, std::pair{"alt+slash", "Return"}}) {
        Key(open);
        ASSERT_TRUE(WaitForOwnWindow(aboutBoxTitle, true)) << "no About box after " << open;
        unsigned long about = viewer->FindOwnWindow(aboutBoxTitle);
        EXPECT_TRUE(PollUntil([&] { return session->FocusWindow() == about; }, 5s));
        Key(close);
        EXPECT_TRUE(WaitForOwnWindow(aboutBoxTitle, false)) << close << " did not close the About box";
    }
    EXPECT_TRUE(viewer->Process().Running());
}

// Alt held down in another window and let go once the viewer has the focus was not pressed
// alone in the viewer: it opens no menu, and the next Alt+Enter goes full screen.
TEST_F(EndToEnd, AltPressedInAnotherWindowOpensNoMenuInTheViewer)
{
    StartViewer();
    ChildProcess other({"xmessage", "another window"}, QuietOn(session->DisplayName()));
    unsigned long otherWindow = 0;
    ASSERT_TRUE(PollUntil(
        [&] {
            for (unsigned long window : session->ClientWindows())
                otherWindow = window != viewer->Window() && session->Geometry(window) ? window : otherWindow;
            return otherWindow != 0;
        },
        10s));
    ASSERT_TRUE(session->Xdotool({"windowactivate", "--sync", std::to_string(otherWindow)}));
    ASSERT_TRUE(session->Xdotool({"keydown", "alt"}));
    ASSERT_TRUE(session->Xdotool({"windowactivate", "--sync", std::to_string(viewer->Window())}));
    std::this_thread::sleep_for(500ms);  // the viewer takes in that it has the focus
    ASSERT_TRUE(session->Xdotool({"keyup", "alt"}));
    Key("alt+Return");
    const ScreenRect desktop{0, 0, session->ScreenWidth(), session->ScreenHeight()};
    EXPECT_TRUE(PollUntil([&] { return viewer->Surface() == desktop; }, 10s)) << "Alt+Enter went to a menu";
}

}  // namespace
}  // namespace quorvane::tests

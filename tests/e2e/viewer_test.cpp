#include "viewer_test.h"

namespace quorvane::tests {

namespace {

using namespace std::chrono_literals;

std::string CurrentTestName()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    return name;
}

}  // namespace

void EndToEnd::SetUp()
{
    session = std::make_unique<XSession>(1280, 1024, WindowManager());
    if (!session->Ready())
        GTEST_SKIP() << "no X session: " << session->Problem();
}

void EndToEnd::TearDown()
{
    if (HasFailure() && session && session->Ready()) {
        const std::string picture = "e2e-" + CurrentTestName() + ".png";
        if (session->SaveScreen(picture))
            std::cout << "the screen as the test ended: " << picture << "\n";
    }
    viewer.reset();
    session.reset();
}

void EndToEnd::StartViewer(ViewerData data, std::vector<std::string> environment)
{
    viewer = std::make_unique<ViewerProcess>(*session, data, std::move(environment));
    ASSERT_TRUE(viewer->Start()) << "the viewer's window did not appear within 30 s";
    ASSERT_TRUE(viewer->WaitUntilSettled()) << "the window kept moving";
    if (data == ViewerData::Complete) {
        ASSERT_TRUE(viewer->WaitForPicture()) << "no Earth at the centre of the client area within 30 s";
    }
    ASSERT_TRUE(session->Xdotool({"windowactivate", "--sync", std::to_string(viewer->Window())}));
}

ScreenRect EndToEnd::Client(bool withMenu) const
{
    std::optional<ScreenRect> client = viewer->Client(withMenu);
    EXPECT_TRUE(client) << "the viewer's window is not on the screen";
    return client.value_or(ScreenRect{});
}

void EndToEnd::Key(const std::string& keys) const
{
    EXPECT_TRUE(session->Xdotool({"key", "--delay", "40", keys})) << "xdotool key " << keys;
}

int EndToEnd::ExitCode()
{
    return viewer->Process().Wait(10s).value_or(-1);
}

bool EndToEnd::WaitForOwnWindow(const std::string& title, bool shown) const
{
    return PollUntil(
        [&] {
            unsigned long window = viewer->FindOwnWindow(title);
            return shown == (window != 0 && session->Geometry(window).has_value());
        },
        10s);
}

}  // namespace quorvane::tests

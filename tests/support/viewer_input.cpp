// A sequence from the same start every time (the test controls' defaults, no key or button held,
// a window of one size, the camera and flags as the program starts), then the checks.
#include "viewer_input.h"

#include "viewer_input_session.h"
#include "viewer_scene.h"

#include "app/commands.h"
#include "app/mouse.h"
#include "app/resource.h"
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "quorvane-snapshot/viewer_session.h"
#include "scene/camera.h"
#include "scene/session_state.h"

#include <quorvane_testing.h>

#include <cmath>
#include <optional>

namespace quorvane::tests::viewer_input {

namespace {

using test_controls::LiveCounts;
using test_controls::MouseButton;

constexpr int startWidth = 320, startHeight = 240;

// Keys and buttons let go where they are, as a person lets go of them.
void LetGo(HWND window)
{
    for (UINT key : {VK_MENU, VK_SHIFT, VK_CONTROL})
        test_controls::InjectKey(window, key, false);
    for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle})
        test_controls::InjectMouseButton(window, button, false, 0, 0);
}

bool Windowed()
{
    BOOL windowed = FALSE;
    return IsDrawDeviceWindowed(&windowed) && windowed;
}

bool ClientEmpty(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return client.right <= 0 || client.bottom <= 0;
}

void RestoreIfMinimised(const Session& session, HWND window)
{
    if (IsIconic(window))
        test_controls::InjectRestored(window);
    session.Pump();
}

// What a person does to see the picture again: the device may come back, Reset works again,
// the window is restored, leaves full screen (Alt+Enter) and is given a size if it has none.
void MakeUsable(const Session& session, HWND window)
{
    test_controls::MakeDeviceResettable(nullptr);
    test_controls::SetResetFails(false);
    RestoreIfMinimised(session, window);
    if (!Windowed()) {
        PressKey(window, VK_RETURN, L'\r', true);
        session.Pump();
    }
    if (ClientEmpty(window))
        test_controls::MoveSurfaceAsWindowManager(window, 50, 50, startWidth, startHeight);
    session.Pump();
}

void Start(const Session& session, HWND window)
{
    test_controls::RestoreDefaults();
    LetGo(window);
    session.Pump();
    MakeUsable(session, window);
    snapshot::SizeClientArea(window, startWidth, startHeight);
    RestoreStartupState();
    leftDragging = rightDragging = drawingCircle = FALSE;
    UpdateViewMenuChecks(window);
    InvalidateRect(window, nullptr, FALSE);
    session.Pump();
}

bool Within(float value, float low, float high)
{
    constexpr float slack = 1e-4f;
    return std::isfinite(value) && value >= low * (1 - slack) && value <= high * (1 + slack);
}

// The drawn circles: at most the viewer's limit, each a circle of the sphere.
std::string CirclesProblem()
{
    const DrawnCircleList& list = ViewerSession.circles;
    if (list.circles.size() > mostDrawnCircles)
        return "more drawn circles than " + std::to_string(mostDrawnCircles);
    for (const DrawnCircle& circle : list.circles) {
        const SphereCircle& c = circle.model;
        const double length = std::sqrt(Dot(c.centre, c.centre));
        if (!(std::abs(length - 1.0) < 1e-3) || !(c.radius > 0.0 && c.radius <= 1.5708) ||
            circle.strip.size() != drawnCircleSegments + 1)
            return "a drawn circle is not a circle of the sphere";
    }
    return {};
}

std::string CameraProblem()
{
    if (!Within(cameraDistance, 2.1f, 100.0f))
        return "the camera distance left [2.1, 100]: " + std::to_string(cameraDistance);
    if (!Within(cameraElevation, 0.0f, 1.55f))
        return "the camera elevation left [0, 1.55]: " + std::to_string(cameraElevation);
    const D3DXQUATERNION& q = earthOrientation;
    if (!std::isfinite(cameraAzimuth) || !std::isfinite(q.x + q.y + q.z + q.w))
        return "the camera or the Earth's orientation is not finite";
    return "";
}

// The View pop-up's items and the flags they show.
std::string MenuProblem(HWND window)
{
    struct Mark {
        UINT command;
        BOOL ViewerSettingsRecord::*flag;
    };
    constexpr Mark marks[] = {
        {IDM_SHOW_EARTH, &ViewerSettingsRecord::showEarth},
        {IDM_SHOW_EARTH_OUTLINE, &ViewerSettingsRecord::showEarthOutline},
        {IDM_SHOW_LATITUDE_LINES, &ViewerSettingsRecord::showLatitudeLines},
        {IDM_SHOW_LONGITUDE_LINES, &ViewerSettingsRecord::showLongitudeLines},
        {IDM_SHOW_HELP, &ViewerSettingsRecord::showHelp},
    };
    const HMENU view = GetSubMenu(GetMenu(window), 1);
    if (view == nullptr)
        return "the window has no View menu";
    for (const Mark& mark : marks) {
        const bool checked = (GetMenuState(view, mark.command, MF_BYCOMMAND) & MF_CHECKED) != 0;
        if (checked != (ViewerSettings.*mark.flag != FALSE))
            return "the View menu's mark of command " + std::to_string(mark.command) + " differs from its flag";
    }
    return "";
}

std::string FrameProblem(const Session& session, HWND window)
{
    const unsigned long before = test_controls::ReadLiveCounts().presentedFrames;
    InvalidateRect(window, nullptr, FALSE);
    session.Pump();
    if (!snapshot::SceneStarted())
        return "the picture's device, sphere or Earth is gone";
    if (test_controls::ReadLiveCounts().presentedFrames <= before)
        return "no frame was presented";
    return "";
}

std::string Describe(const LiveCounts& c)
{
    return std::to_string(c.windows) + " windows, " + std::to_string(c.menus) + " menus, " + std::to_string(c.devices) +
           " devices, " + std::to_string(c.deviceResources) + " device resources";
}

// Windows, menus, devices and their resources as many as at the first sequence's start.
std::string GrowthProblem(const LiveCounts& start)
{
    static const LiveCounts first = start;
    const LiveCounts now = test_controls::ReadLiveCounts();
    const auto same = [](const LiveCounts& a, const LiveCounts& b) {
        return a.windows == b.windows && a.menus == b.menus && a.devices == b.devices &&
               a.deviceResources == b.deviceResources;
    };
    if (!same(now, first) || !same(start, first))
        return "left over: " + Describe(now) + " against " + Describe(first) + " at the first start";
    return "";
}

std::string Check(const Session& session, HWND window, const LiveCounts& start)
{
    if (!IsWindow(window) || SendMessageW(window, WM_NULL, 0, 0) != 0)
        return "the main window is gone";
    if (std::string problem = CirclesProblem(); !problem.empty())
        return problem;
    if (std::string problem = CameraProblem(); !problem.empty())
        return problem;
    MakeUsable(session, window);
    if (!Windowed() || IsIconic(window) || ClientEmpty(window))
        return "the window does not come back to a windowed picture";
    if (std::string problem = MenuProblem(window); !problem.empty())
        return problem;
    if (std::string problem = FrameProblem(session, window); !problem.empty())
        return problem;
    return GrowthProblem(start);
}

}  // namespace

std::string PlayAndCheck(const Viewer& viewer, const std::uint8_t* data, std::size_t size)
{
    InputBytes bytes(data, size);
    Session session(viewer, bytes);
    Start(session, viewer.window);
    const LiveCounts start = test_controls::ReadLiveCounts();
    session.Play();
    return Check(session, viewer.window, start);
}

}  // namespace quorvane::tests::viewer_input

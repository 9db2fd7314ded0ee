#include "x_session.h"

#include "x_properties.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <thread>

namespace quorvane::tests {

namespace {

using namespace std::chrono_literals;

Display* Server(void* display)
{
    return static_cast<Display*>(display);
}

// A window that went away between two requests is no reason to end the test program, which is
// what Xlib's own handler would do.
int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

// The display number Xvfb writes to its -displayfd descriptor, within `limit`; empty if none.
std::string ReadDisplayNumber(int descriptor, std::chrono::milliseconds limit)
{
    std::string number;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        pollfd wanted{descriptor, POLLIN, 0};
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (poll(&wanted, 1, int(std::max<long long>(left.count(), 0))) <= 0)
            break;
        char c = 0;
        if (read(descriptor, &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    return number;
}

std::vector<std::string> WindowManagerCommand(const std::string& name)
{
    if (name == "metacity")
        return {"metacity", "--no-composite"};
    // GNOME's window manager wants a session bus of its own; it composites, as on a desktop.
    if (name == "mutter")
        return {"dbus-run-session", "--", "mutter", "--x11", "--replace", "--sm-disable"};
    return {"openbox", "--sm-disable"};
}

ChildOptions ServerOptions(int displayDescriptor)
{
    ChildOptions options;
    options.inheritedDescriptor = displayDescriptor;
    options.quiet = true;
    return options;
}

}  // namespace

bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (true) {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(10ms);
    }
}

XSession::XSession(int width, int height, const std::string& windowManager)
{
    XSetErrorHandler(IgnoreError);
    if (windowManager == "mutter-wayland")
        StartWaylandSession(width, height);
    else if (StartServer(width, height))
        StartWindowManager(windowManager);
    if (!problem_.empty() && display_) {
        XCloseDisplay(Server(display_));
        display_ = nullptr;
    }
}

XSession::~XSession()
{
    if (authorityBefore_)
        setenv("XAUTHORITY", authorityBefore_->c_str(), 1);
    else if (rootless_)
        unsetenv("XAUTHORITY");
    if (display_)
        XCloseDisplay(Server(display_));
    windowManager_.reset();
    server_.reset();
}

bool XSession::StartServer(int width, int height)
{
    int descriptors[2];
    if (pipe2(descriptors, O_CLOEXEC) != 0) {
        problem_ = "no pipe for Xvfb's display number";
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
        ServerOptions(descriptors[1]));
    close(descriptors[1]);
    const std::string number = ReadDisplayNumber(descriptors[0], 20s);
    close(descriptors[0]);
    if (number.empty()) {
        problem_ = "Xvfb did not start within 20 s (is it installed? scripts/install-deps installs it)";
        return false;
    }
    name_ = ":" + number;
    return Connect();
}

bool XSession::Connect()
{
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) {
        problem_ = "cannot connect to the X server on " + name_;
        return false;
    }
    width_ = DisplayWidth(Server(display_), DefaultScreen(Server(display_)));
    height_ = DisplayHeight(Server(display_), DefaultScreen(Server(display_)));
    return true;
}

// mutter as a Wayland compositor without a screen, with XWayland as its X server. The X display
// it chose is what the command it runs in the session sees as DISPLAY; written to a file, it
// tells the test. The session's window manager is mutter itself.
bool XSession::StartWaylandSession(int width, int height)
{
    runtime_ = std::make_unique<TempDirectory>();
    const std::string displayFile = runtime_->Path() + "/display";
    ChildOptions options;
    options.environment = {"XDG_RUNTIME_DIR=" + runtime_->Path(), "NO_AT_BRIDGE=1"};
    options.quiet = true;
    options.wholeGroup = true;
    const std::string report = "echo \"$DISPLAY $XAUTHORITY\" > " + displayFile + ".new && mv " + displayFile +
                               ".new " + displayFile + " && exec sleep 100000";
    windowManager_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"dbus-run-session", "--", "mutter", "--wayland", "--headless", "--virtual-monitor",
                                 std::to_string(width) + "x" + std::to_string(height), "--wayland-display",
                                 "quorvane-" + std::to_string(getpid()), "--", "sh", "-c", report},
        options);
    if (!PollUntil([&] { return access(displayFile.c_str(), R_OK) == 0 || !windowManager_->Running(); }, 20s) ||
        !windowManager_->Running()) {
        problem_ = "mutter's Wayland session did not start within 20 s (scripts/install-deps installs mutter "
                   "and xwayland)";
        return false;
    }
    // XWayland admits only the holders of its key: the test, and through its environment the
    // programs it starts.
    std::ifstream file(displayFile);
    std::string authority;
    file >> name_ >> authority;
    if (const char* before = std::getenv("XAUTHORITY"))
        authorityBefore_ = before;
    setenv("XAUTHORITY", authority.c_str(), 1);
    rootless_ = true;
    return Connect() && StartWindowManager("mutter");
}

bool XSession::StartWindowManager(const std::string& name)
{
    // A Wayland compositor manages the X windows of its XWayland itself.
    if (!rootless_) {
        ChildOptions options = QuietOn(name_);
        options.environment.push_back("NO_AT_BRIDGE=1");  // no accessibility bus to look for
        options.wholeGroup = true;                        // the bus ends with the window manager
        windowManager_ = std::make_unique<ChildProcess>(WindowManagerCommand(name), options);
    }
    // The window manager is ready once it has announced itself on the root window.
    const bool announced = PollUntil(
        [&] {
            return !Property32(display_, DefaultRootWindow(Server(display_)), "_NET_SUPPORTING_WM_CHECK").empty() ||
                   !windowManager_->Running();
        },
        10s);
    if (!announced || !windowManager_->Running()) {
        problem_ = name + " did not start within 10 s (is it installed? scripts/install-deps installs it)";
        return false;
    }
    return true;
}

Picture XSession::Read(const ScreenRect& rect) const
{
    Picture picture;
    Display* server = Server(display_);
    const int left = std::max(rect.x, 0), top = std::max(rect.y, 0);
    const int right = std::min(rect.x + rect.width, width_), bottom = std::min(rect.y + rect.height, height_);
    if (right <= left || bottom <= top)
        return picture;
    // XWayland's root window shows nothing: the pixels come from the window shown there (one
    // window's pixels only).
    ::Window source = DefaultRootWindow(server);
    int sourceX = left, sourceY = top;
    if (rootless_) {
        source = WindowAt(left, top);
        std::optional<ScreenRect> place = source ? Geometry(source) : std::nullopt;
        if (!place || right > place->x + place->width || bottom > place->y + place->height)
            return picture;
        sourceX -= place->x;
        sourceY -= place->y;
    }
    XImage* shot =
        XGetImage(server, source, sourceX, sourceY, unsigned(right - left), unsigned(bottom - top), AllPlanes, ZPixmap);
    if (!shot)
        return picture;
    picture.width = right - left;
    picture.height = bottom - top;
    picture.pixels.resize(std::size_t(picture.width) * std::size_t(picture.height));
    for (int row = 0; row < picture.height; ++row) {
        for (int column = 0; column < picture.width; ++column)
            picture.pixels[std::size_t(row) * std::size_t(picture.width) + std::size_t(column)] =
                std::uint32_t(XGetPixel(shot, column, row) & 0xFFFFFF);
    }
    XDestroyImage(shot);
    return picture;
}

unsigned long XSession::WindowAt(int x, int y) const
{
    // The client list is oldest first; the window on top is taken to be the newest.
    std::vector<unsigned long> windows = ClientWindows();
    for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
        std::optional<ScreenRect> place = Geometry(*window);
        if (place && x >= place->x && y >= place->y && x < place->x + place->width && y < place->y + place->height)
            return *window;
    }
    return 0;
}

std::uint32_t XSession::PixelAt(int x, int y) const
{
    Picture one = Read({x, y, 1, 1});
    return one.pixels.empty() ? 0 : one.pixels[0];
}

std::vector<unsigned long> XSession::ClientWindows() const
{
    return Property32(display_, DefaultRootWindow(Server(display_)), "_NET_CLIENT_LIST");
}

std::string XSession::Title(unsigned long window) const
{
    Display* server = Server(display_);
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(server, window, XInternAtom(server, "_NET_WM_NAME", False), 0, 1024, False,
                           XInternAtom(server, "UTF8_STRING", False), &actualType, &format, &count, &remaining,
                           &data) == Success &&
        data && format == 8)
        title.assign(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    return title;
}

std::string XSession::WindowClass(unsigned long window) const
{
    XClassHint hint{};
    if (!XGetClassHint(Server(display_), window, &hint))
        return {};
    std::string name = hint.res_class != nullptr ? hint.res_class : "";
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

std::vector<unsigned long> XSession::Property(unsigned long window, const char* name) const
{
    return Property32(display_, window, name);
}

unsigned long XSession::FindWindow(int pid, const std::string& title) const
{
    for (unsigned long window : ClientWindows()) {
        std::vector<unsigned long> owner = Property32(display_, window, "_NET_WM_PID");
        if (!owner.empty() && long(owner[0]) == pid && Title(window) == title)
            return window;
    }
    return 0;
}

std::optional<ScreenRect> XSession::Geometry(unsigned long window) const
{
    Display* server = Server(display_);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(server, window, &attributes) || attributes.map_state != IsViewable)
        return std::nullopt;
    int x = 0, y = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(server, window, DefaultRootWindow(server), 0, 0, &x, &y, &child))
        return std::nullopt;
    return ScreenRect{x, y, attributes.width, attributes.height};
}

bool XSession::HasState(unsigned long window, const char* state) const
{
    return HasWindowState(display_, window, state);
}

unsigned long XSession::FocusWindow() const
{
    ::Window focus = 0;
    int revert = 0;
    XGetInputFocus(Server(display_), &focus, &revert);
    return focus;
}

bool XSession::Xdotool(const std::vector<std::string>& arguments) const
{
    std::vector<std::string> command{"xdotool"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunToEnd(command, QuietOn(name_), 10s) == 0;
}

bool XSession::DoubleClick(int x, int y) const
{
    return Xdotool({"mousemove", std::to_string(x), std::to_string(y), "click", "--repeat", "2", "--delay", "80", "1"});
}

bool XSession::SaveScreen(const std::string& path) const
{
    return RunToEnd({"import", "-window", "root", path}, QuietOn(name_), 20s) == 0;
}

}  // namespace quorvane::tests

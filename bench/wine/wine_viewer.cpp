#include "wine_viewer.h"

#include "viewer_picture.h"
#include "viewer_process.h"
#include "wine_client_area.h"

#include <X11/Xlib.h>

#include <filesystem>

namespace quorvane::bench {

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

Display* Server(void* display)
{
    return static_cast<Display*>(display);
}

// The one mapped child of Wine's window, which shows the frames.
std::optional<tests::ClientRect> ClientAreaOf(void* display, unsigned long window)
{
    if (!display || !window)
        return std::nullopt;
    std::string error;
    return tests::FindClientArea(Server(display), window, error);
}

void CopyProgramAndData(const std::string& program, const fs::path& directory)
{
    fs::copy_file(program, directory / "quorvane.exe");
    const fs::path mdl = directory / "Data" / "mdl";
    fs::create_directories(mdl);
    for (const char* file : {"sphere.x", QUORVANE_EARTH_IMAGE})
        fs::copy_file(fs::path(QUORVANE_DATA_DIR) / "mdl" / file, mdl / file);
}

}  // namespace

WineViewer::WineViewer(const tests::XSession& session, const std::string& program, std::string prefixTool,
                       std::string prefixDirectory, std::vector<std::string> environment)
    : session_(session), prefixTool_(std::move(prefixTool)), prefixDirectory_(std::move(prefixDirectory)),
      environment_(std::move(environment)), display_(XOpenDisplay(session.DisplayName().c_str()))
{
    CopyProgramAndData(program, directory_.Path());
}

WineViewer::~WineViewer()
{
    process_.reset();
    if (display_)
        XCloseDisplay(Server(display_));
}

bool WineViewer::Start()
{
    tests::ChildOptions options = tests::QuietOn(session_.DisplayName());
    options.directory = directory_.Path();
    options.environment.insert(options.environment.end(), environment_.begin(), environment_.end());
    process_ = std::make_unique<tests::ChildProcess>(
        std::vector<std::string>{prefixTool_, prefixDirectory_, "wine", "quorvane.exe"}, options);
    const bool appeared = tests::PollUntil(
        [&] {
            window_ = session_.FindWindow(process_->Pid(), tests::viewerTitle);
            return (window_ != 0 && Client()) || !process_->Running();
        },
        60s);
    return appeared && process_->Running();
}

unsigned long WineViewer::ClientWindow() const
{
    const std::optional<tests::ClientRect> area = ClientAreaOf(display_, window_);
    return area ? area->window : 0;
}

std::optional<tests::ScreenRect> WineViewer::Client() const
{
    const std::optional<tests::ClientRect> area = ClientAreaOf(display_, window_);
    if (!area)
        return std::nullopt;
    return tests::ScreenRect{area->x, area->y, int(area->width), int(area->height)};
}

bool WineViewer::SetClientSize(int width, int height) const
{
    const std::optional<tests::ScreenRect> surface = session_.Geometry(window_);
    const std::optional<tests::ScreenRect> client = Client();
    if (!surface || !client)
        return false;
    const int surfaceWidth = surface->width + width - client->width;
    const int surfaceHeight = surface->height + height - client->height;
    if (!session_.Xdotool(
            {"windowsize", std::to_string(window_), std::to_string(surfaceWidth), std::to_string(surfaceHeight)}))
        return false;
    return tests::PollUntil(
        [&] {
            const std::optional<tests::ScreenRect> now = Client();
            return now && now->width == width && now->height == height;
        },
        10s);
}

bool WineViewer::WaitForPicture() const
{
    return tests::PollUntil(
        [&] {
            const std::optional<tests::ScreenRect> client = Client();
            return client && tests::ShowsEarthAtCentre(session_, *client);
        },
        60s);
}

void WineViewer::Close()
{
    if (!process_ || !process_->Running())
        return;
    tests::RunToEnd({"wmctrl", "-i", "-c", std::to_string(window_)}, tests::QuietOn(session_.DisplayName()), 10s);
    process_->Wait(20s);
}

}  // namespace quorvane::bench

#include "viewer_process.h"

#include "viewer_picture.h"

#include "user32/window_frame.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

namespace quorvane::tests {

namespace {

using namespace std::chrono_literals;

void CopyData(const std::string& directory, ViewerData data)
{
    namespace fs = std::filesystem;
    const fs::path mdl = fs::path(directory) / "Data" / "mdl";
    fs::create_directories(mdl);
    fs::copy_file(fs::path(QUORVANE_DATA_DIR) / "mdl" / "sphere.x", mdl / "sphere.x");
    if (data == ViewerData::Complete)
        fs::copy_file(fs::path(QUORVANE_DATA_DIR) / "mdl" / QUORVANE_EARTH_IMAGE, mdl / QUORVANE_EARTH_IMAGE);
}

}  // namespace

ViewerProcess::ViewerProcess(const XSession& session, ViewerData data, std::vector<std::string> environment)
    : session_(session), program_(QUORVANE_VIEWER), environment_(std::move(environment))
{
    CopyData(directory_.Path(), data);
}

ViewerProcess::ViewerProcess(const XSession& session, std::string program, std::vector<std::string> environment)
    : session_(session), program_(std::move(program)), environment_(std::move(environment))
{
}

bool ViewerProcess::Start(const std::string& scale)
{
    ChildOptions options;
    options.directory = directory_.Path();
    options.environment = environment_;
    for (const std::string_view locale : {"LANGUAGE=", "LC_ALL=", "LC_MESSAGES=", "LANG=C.UTF-8"}) {
        const std::string name(locale.substr(0, locale.find('=') + 1));
        const bool given = std::any_of(environment_.begin(), environment_.end(),
                                       [&](const std::string& entry) { return entry.rfind(name, 0) == 0; });
        if (!given)
            options.environment.emplace_back(locale);
    }
    options.environment.push_back("DISPLAY=" + session_.DisplayName());
    options.environment.push_back("QUORVANE_SCALE=" + scale);
    options.environment.push_back("GDK_SCALE=");
    process_ = std::make_unique<ChildProcess>(std::vector<std::string>{program_}, options);
    const bool appeared = PollUntil(
        [&] {
            window_ = session_.FindWindow(process_->Pid(), viewerTitle);
            return (window_ != 0 && session_.Geometry(window_)) || !process_->Running();
        },
        30s);
    return appeared && process_->Running();
}

std::optional<ScreenRect> ViewerProcess::Surface() const
{
    return session_.Geometry(window_);
}

std::optional<ScreenRect> ViewerProcess::Client(bool withMenu) const
{
    std::optional<ScreenRect> area = Surface();
    if (area && withMenu) {
        area->y += user32::menuBarHeight;
        area->height -= user32::menuBarHeight;
    }
    return area;
}

unsigned long ViewerProcess::FindOwnWindow(const std::string& title) const
{
    return session_.FindWindow(process_->Pid(), title);
}

bool ViewerProcess::SetClientSize(int width, int height) const
{
    const int surfaceHeight = height + user32::menuBarHeight;
    if (!session_.Xdotool(
            {"windowsize", std::to_string(window_), std::to_string(width), std::to_string(surfaceHeight)}))
        return false;
    return PollUntil(
        [&] {
            std::optional<ScreenRect> client = Client();
            return client && client->width == width && client->height == height;
        },
        10s);
}

bool ViewerProcess::WaitUntilSettled() const
{
    std::optional<ScreenRect> last = Surface();
    auto lastChange = std::chrono::steady_clock::now();
    return PollUntil(
        [&] {
            std::optional<ScreenRect> now = Surface();
            if (now != last) {
                last = now;
                lastChange = std::chrono::steady_clock::now();
            }
            return now && std::chrono::steady_clock::now() - lastChange >= 500ms;
        },
        10s);
}

bool ViewerProcess::WaitForPicture(bool withMenu) const
{
    return PollUntil(
        [&] {
            std::optional<ScreenRect> client = Client(withMenu);
            return client && ShowsEarthAtCentre(session_, *client);
        },
        30s);
}

Arrival ViewerProcess::WatchArrival() const
{
    Arrival arrival;
    auto note = [&] {
        std::optional<ScreenRect> surface = Surface();
        if (surface && (arrival.places.empty() || arrival.places.back() != *surface))
            arrival.places.push_back(*surface);
        return surface;
    };
    PollUntil(
        [&] {
            std::optional<ScreenRect> surface = note();
            if (!surface || !ShowsEarthAtCentre(session_, *Client()))
                return false;
            arrival.firstFrame = std::chrono::steady_clock::now();
            return true;
        },
        30s);
    PollUntil(
        [&] {
            note();
            return false;
        },
        500ms);
    return arrival;
}

}  // namespace quorvane::tests

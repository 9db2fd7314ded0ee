// The viewer as a person starts it: the shipped quorvane binary in a start-up directory of its
// own (with its own Data/ and, if asked, its own Quorvane.ini) on an X session, seen from
// outside: its main window, where its client area is, what the screen shows there.
#pragma once

#include "child_process.h"
#include "temp_directory.h"
#include "x_session.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::tests {

// The main window's title and the About box's, in the viewer's own language, which it shows
// unless the environment a test gives it names another.
inline const std::string viewerTitle = "Quorvane";
inline const std::string aboutBoxTitle = "バージョン情報 Quorvane";

enum class ViewerData {
    Complete,           // the sphere and the Earth image as the build makes them
    WithoutEarthImage,  // the sphere only
};

// How a new window came onto the screen: every place its surface had, in order, from when it was
// first seen until half a second after its first frame (by then a window placed twice has moved),
// and when that frame was seen (nothing: not within 30 s).
struct Arrival {
    std::vector<ScreenRect> places;
    std::optional<std::chrono::steady_clock::time_point> firstFrame;
};

class ViewerProcess {
public:
    // The build's viewer, in a start-up directory of its own holding these data files, with these
    // environment entries added (NAME=value).
    explicit ViewerProcess(const XSession& session, ViewerData data = ViewerData::Complete,
                           std::vector<std::string> environment = {});
    // Another viewer program (an installed one), started in an empty directory of its own with these
    // environment entries added (NAME=value).
    ViewerProcess(const XSession& session, std::string program, std::vector<std::string> environment);

    // Starts the viewer and waits for its main window; false when it did not appear within 30 s.
    // The desktop's scale is `scale` (QUORVANE_SCALE), whatever the test's environment says;
    // an empty one leaves it to the X server's resources. The locale is C, in which the viewer
    // shows its Japanese texts, unless the environment entries name another.
    bool Start(const std::string& scale = "1");
    ChildProcess& Process() { return *process_; }
    const TempDirectory& Directory() const { return directory_; }
    unsigned long Window() const { return window_; }

    // The window's own area (menu bar and client area) on the screen.
    std::optional<ScreenRect> Surface() const;
    // The client area: the surface below the menu bar, or all of it when `withMenu` is false
    // (full screen).
    std::optional<ScreenRect> Client(bool withMenu = true) const;
    // The window of another title that the viewer shows (the About box), or 0.
    unsigned long FindOwnWindow(const std::string& title) const;

    // Sizes the window for a client area of width x height and waits until it has that size;
    // whether it did within 10 s.
    bool SetClientSize(int width, int height) const;
    // Waits until the window has stayed where it is for half a second: the platform and the
    // window manager place a new or switched window in a few steps, and input aimed at it meanwhile
    // may land elsewhere. False when it still moved after 10 s.
    bool WaitUntilSettled() const;
    // Waits for the first frame: the Earth at the centre of the client area; false after 30 s.
    bool WaitForPicture(bool withMenu = true) const;
    // Watches the window from its start (call it right after Start).
    Arrival WatchArrival() const;

private:
    const XSession& session_;
    std::string program_;
    std::vector<std::string> environment_;
    TempDirectory directory_;
    std::unique_ptr<ChildProcess> process_;
    unsigned long window_ = 0;
};

}  // namespace quorvane::tests

// The Windows build's viewer, quorvane.exe, under Wine on an X session, started as a person
// would start it: a copy of it in a start-up directory of its own with the build's data files,
// in the Wine prefix bench/wine/in-wine-prefix keeps. Seen from outside: its main window, and
// its client area, which Wine shows in a child window of its own below the menu bar (Wine's
// menu bar is not the Linux build's height, so the client area is read, not computed).
#pragma once

#include "child_process.h"
#include "temp_directory.h"
#include "x_session.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::bench {

class WineViewer {
public:
    // `program` is quorvane.exe; `prefixTool` and `prefixDirectory` run it in the Wine prefix,
    // with these environment entries added (NAME=value).
    WineViewer(const tests::XSession& session, const std::string& program, std::string prefixTool,
               std::string prefixDirectory, std::vector<std::string> environment = {});
    ~WineViewer();
    WineViewer(const WineViewer&) = delete;
    WineViewer& operator=(const WineViewer&) = delete;

    // Starts it and waits for its main window; false when it did not appear within 60 s.
    bool Start();
    const tests::ChildProcess& Process() const { return *process_; }
    unsigned long Window() const { return window_; }
    // The child window that shows the frames, and where it is on the screen.
    unsigned long ClientWindow() const;
    std::optional<tests::ScreenRect> Client() const;

    // Sizes the main window for a client area of width x height; whether it had that size
    // within 10 s.
    bool SetClientSize(int width, int height) const;
    // Waits for a frame: the Earth at the centre of the client area; false after 60 s.
    bool WaitForPicture() const;
    // Closes the window through the window manager and waits (at most 20 s) for the end.
    void Close();

private:
    const tests::XSession& session_;
    std::string prefixTool_;
    std::string prefixDirectory_;
    std::vector<std::string> environment_;
    tests::TempDirectory directory_;
    std::unique_ptr<tests::ChildProcess> process_;
    void* display_ = nullptr;  // Display*, for the window tree, which XSession does not show
    unsigned long window_ = 0;
};

}  // namespace quorvane::bench

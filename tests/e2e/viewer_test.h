// The fixture of the end-to-end tests: an X session of the test's own (Xvfb and a window manager,
// openbox unless a fixture names another) and the viewer started on it, both stopped when the test ends, whatever happened. A test that fails
// leaves a picture of the screen as it ended, e2e-<test>.png in the test's working directory.
#pragma once

#include "viewer_picture.h"
#include "viewer_process.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::tests {

class EndToEnd : public testing::Test {
protected:
    void SetUp() override;
    virtual std::string WindowManager() const { return "openbox"; }
    void TearDown() override;

    // Starts the viewer with these data files (and these environment entries, NAME=value), waits
    // for its window and, with the complete data, for its first frame, and makes it the active
    // window.
    void StartViewer(ViewerData data = ViewerData::Complete, std::vector<std::string> environment = {});

    // The client area as it is now (the test fails when the window is gone).
    ScreenRect Client(bool withMenu = true) const;
    // Types keys (xdotool key names, "alt+f", "F1") into the active window.
    void Key(const std::string& keys) const;
    // Waits for the viewer to end; its exit code, or -1 when it did not end within 10 s.
    int ExitCode();
    // Waits until the viewer's window of this title is shown (or, with `shown` false, gone);
    // whether that happened within 10 s.
    bool WaitForOwnWindow(const std::string& title, bool shown) const;

    std::unique_ptr<XSession> session;
    std::unique_ptr<ViewerProcess> viewer;
};

}  // namespace quorvane::tests

// A top-level window whose procedure records every message it gets, and lets a test answer
// some of them itself; and the message loop tests run.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

namespace quorvane::tests {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

struct RecordingWindowOptions {
    int clientWidth = 300;
    int clientHeight = 200;
    int x = 100;
    int y = 50;
    DWORD style = WS_OVERLAPPEDWINDOW;
    bool doubleClicks = false;  // a class with CS_DBLCLKS
    HMENU menu = nullptr;
};

class RecordingWindow {
public:
    explicit RecordingWindow(const RecordingWindowOptions& options = {});
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND Handle() const { return window_; }
    // What the procedure received since creation or the last Clear.
    const std::vector<Received>& Log() const { return log_; }
    std::vector<UINT> Messages() const;
    std::vector<Received> Of(UINT message) const;
    // The wParam of each of those messages: the commands of WM_COMMAND or WM_SYSCOMMAND, say.
    std::vector<WPARAM> WParamsOf(UINT message) const;
    void Clear() { log_.clear(); }

    // Answers a message without the default procedure when it returns a value.
    std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)> handler;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    std::vector<Received> log_;
};

// A test with one recording window, settled: its first messages (creation, and the first paint
// when it is shown) are taken and forgotten before the test begins.
class RecordingWindowTest : public ::testing::Test {
protected:
    explicit RecordingWindowTest(const RecordingWindowOptions& options = {}, bool shown = false)
        : window_(options), shown_(shown)
    {
    }
    void SetUp() override;

    RecordingWindow window_;

private:
    bool shown_;
};

RECT ClientRectOf(HWND window);
RECT WindowRectOf(HWND window);

// Takes, translates and dispatches every message waiting, as a message loop does, until none is
// left; returns the messages taken.
std::vector<MSG> PumpMessages();
std::vector<UINT> MessageIds(const std::vector<MSG>& messages);

// A small menu (one pop-up with one item), the same while a window shows it.
HMENU SomeMenu();

}  // namespace quorvane::tests

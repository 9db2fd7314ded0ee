// Steps a test takes while a menu or a dialog runs its own loop: each time the loop has nothing
// left to do it tells the owner (WM_ENTERIDLE), and the next step runs then. A step must give
// the loop something to do (input, an invalidated window), or the loop sleeps on. With no steps
// left, Esc is pressed, so a loop that a test did not end is closed instead of waiting for ever.
// Also the key presses the menu, dialog and accelerator tests type.
#pragma once

#include <quorvane_testing.h>
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>

#include "recording_window.h"

namespace quorvane::tests {

inline void PressKey(HWND window, UINT virtualKey, wchar_t character = 0)
{
    test_controls::InjectKey(window, virtualKey, true, character);
    test_controls::InjectKey(window, virtualKey, false);
}

// A key pressed with Alt held (and Shift, if asked), as a person types Alt+F4 or Alt+Shift+/.
inline void PressWithAlt(HWND window, UINT virtualKey, wchar_t character = 0, bool shift = false)
{
    test_controls::InjectKey(window, VK_MENU, true);
    if (shift)
        test_controls::InjectKey(window, VK_SHIFT, true);
    PressKey(window, virtualKey, character);
    if (shift)
        test_controls::InjectKey(window, VK_SHIFT, false);
    test_controls::InjectKey(window, VK_MENU, false);
}

class IdleSteps {
public:
    // `window` hears WM_ENTERIDLE; Esc goes to `keyTarget` (or to the window the idle message names).
    explicit IdleSteps(RecordingWindow& window) : window_(window)
    {
        window_.handler = [this](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_ENTERIDLE)
                Next(lParam ? reinterpret_cast<HWND>(lParam) : window_.Handle());
            return std::nullopt;
        };
    }
    ~IdleSteps() { window_.handler = nullptr; }

    void Add(std::function<void()> step) { steps_.push_back(std::move(step)); }
    int IdleCount() const { return idle_; }

private:
    void Next(HWND loopWindow)
    {
        ++idle_;
        if (steps_.empty()) {
            PressKey(loopWindow, VK_ESCAPE);
            return;
        }
        std::function<void()> step = std::move(steps_.front());
        steps_.pop_front();
        step();
    }

    RecordingWindow& window_;
    std::deque<std::function<void()>> steps_;
    int idle_ = 0;
};

}  // namespace quorvane::tests

// A window on the headless display and the present parameters of a windowed device in it.
#pragma once

#include <d3d9.h>
#include <windows.h>

namespace quorvane::tests {

// A top-level test window with the given client size; destroyed with the object.
class TestWindow {
public:
    TestWindow(int clientWidth, int clientHeight);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// The viewer's windowed present parameters (WindowPresentParameters) with the given back-buffer size.
D3DPRESENT_PARAMETERS WindowedParameters(HWND window, UINT width, UINT height);

// The message loop of a window to look at by hand: takes, translates (accelerators first, if
// given) and dispatches messages until WM_QUIT or until `seconds` have passed.
void RunMessageLoopFor(int seconds, HACCEL accelerators = nullptr);

}  // namespace quorvane::tests

// The viewer started as wWinMain starts it (StartViewer), on the headless display, in a fresh
// start-up directory with small data files, its messages handled as its loop handles them
// (HandleMessage). The settings, camera, drags and display go back to how the process started.
#pragma once

#include "temp_directory.h"

#include "app/entry.h"
#include "app/settings.h"

#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>

namespace quorvane::tests {

// A rectangle as (left, top, right, bottom), to compare and print.
inline std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// Listens in on the main window's procedure (a subclass, undone when it goes): counts the
// messages, counts the WM_SIZE messages during which the draw device was reset, and hands each
// WM_ENTERIDLE of a modal loop (the About box's) to onIdle with the loop's window.
class ProcedureSpy {
public:
    explicit ProcedureSpy(HWND window);
    ~ProcedureSpy();
    ProcedureSpy(const ProcedureSpy&) = delete;
    ProcedureSpy& operator=(const ProcedureSpy&) = delete;

    int Count(UINT message) const;
    int resetsInSize = 0;
    std::function<void(HWND)> onIdle;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
    WNDPROC original_;
    std::map<UINT, int> counts_;
};

class RunningViewerTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // StartViewer, then every message it left waiting. desktop: the display's desktop size
    // (the window takes three quarters of it).
    void Start(SIZE desktop = {1024, 768});
    // Handles every waiting message, as the loop does, until none is left; true when WM_QUIT
    // was among them (its code is then quitCode).
    bool Pump();

    HWND Window() const { return startup.window; }
    // The menu's pop-up at a position (0 File, 1 View, 2 full screen, 3 Help); null without a menu.
    HMENU Popup(int position) const { return GetSubMenu(GetMenu(Window()), position); }
    bool Checked(int position, UINT id) const
    {
        return (GetMenuState(Popup(position), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
    }
    // The draw device's Windowed flag; false without a draw device.
    bool Windowed() const;
    RECT WindowRect() const;
    RECT ClientRect() const;
    // What the client area shows at its centre (0xRRGGBB).
    DWORD ClientCentre() const;

    void Press(UINT key, wchar_t character = 0);
    void PressWithAlt(UINT key, wchar_t character);
    void Click(test_controls::MouseButton button, bool down, int x, int y);

    TempDirectory dir;
    ViewerStartup startup;
    int quitCode = -1;

private:
    std::optional<CurrentDirectoryScope> directory_;
    ViewerSettingsRecord savedSettings_{};
};

}  // namespace quorvane::tests

#include "recording_window.h"

#include <quorvane_testing.h>

#include <map>

namespace quorvane::tests {

namespace {

std::map<HWND, RecordingWindow*>& Recorders()
{
    static std::map<HWND, RecordingWindow*> recorders;
    return recorders;
}

RecordingWindow* creating = nullptr;

const wchar_t* ClassFor(bool doubleClicks, WNDPROC procedure)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.cbWndExtra = 16;
        wc.lpszClassName = L"RecordingWindow";
        RegisterClassExW(&wc);
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpszClassName = L"RecordingWindowDblClks";
        RegisterClassExW(&wc);
        registered = true;
    }
    return doubleClicks ? L"RecordingWindowDblClks" : L"RecordingWindow";
}

}  // namespace

RecordingWindow::RecordingWindow(const RecordingWindowOptions& options)
{
    RECT rect{0, 0, options.clientWidth, options.clientHeight};
    AdjustWindowRectEx(&rect, options.style, options.menu != nullptr, 0);
    creating = this;
    window_ = CreateWindowExW(0, ClassFor(options.doubleClicks, Procedure), L"Recorded", options.style, options.x,
                              options.y, rect.right - rect.left, rect.bottom - rect.top, nullptr, options.menu,
                              GetModuleHandleW(nullptr), nullptr);
    creating = nullptr;
    if (window_)
        Recorders()[window_] = this;
}

RecordingWindow::~RecordingWindow()
{
    handler = nullptr;  // what it refers to may be gone already
    if (IsWindow(window_))
        DestroyWindow(window_);
    Recorders().erase(window_);
    PumpMessages();  // nothing of this window stays queued for the next test
    test_controls::RestoreDefaults();
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = Recorders().find(window);
    RecordingWindow* recorder = found != Recorders().end() ? found->second : creating;
    if (recorder) {
        recorder->log_.push_back({message, wParam, lParam});
        if (recorder->handler) {
            if (std::optional<LRESULT> answer = recorder->handler(message, wParam, lParam))
                return *answer;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<UINT> RecordingWindow::Messages() const
{
    std::vector<UINT> messages;
    for (const Received& r : log_)
        messages.push_back(r.message);
    return messages;
}

std::vector<WPARAM> RecordingWindow::WParamsOf(UINT message) const
{
    std::vector<WPARAM> found;
    for (const Received& r : Of(message))
        found.push_back(r.wParam);
    return found;
}

std::vector<Received> RecordingWindow::Of(UINT message) const
{
    std::vector<Received> found;
    for (const Received& r : log_) {
        if (r.message == message)
            found.push_back(r);
    }
    return found;
}

void RecordingWindowTest::SetUp()
{
    ASSERT_NE(window_.Handle(), nullptr);
    if (shown_)
        ShowWindow(window_.Handle(), SW_SHOW);
    PumpMessages();
    window_.Clear();
}

RECT ClientRectOf(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

RECT WindowRectOf(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

std::vector<MSG> PumpMessages()
{
    std::vector<MSG> taken;
    MSG msg{};
    // Bounded: a window that never validates would otherwise be painted for ever.
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        taken.push_back(msg);
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return taken;
}

std::vector<UINT> MessageIds(const std::vector<MSG>& messages)
{
    std::vector<UINT> ids;
    for (const MSG& m : messages)
        ids.push_back(m.message);
    return ids;
}

HMENU SomeMenu()
{
    static HMENU menu = nullptr;
    if (!IsMenu(menu)) {  // a window destroys its menu with it
        menu = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuW(file, MF_STRING, 1, L"&Exit");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    }
    return menu;
}

}  // namespace quorvane::tests

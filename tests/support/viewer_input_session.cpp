#include "viewer_input_session.h"

#include "quorvane-snapshot/viewer_session.h"

#include <cstdio>
#include <cstdlib>

namespace quorvane::tests::viewer_input {

namespace {

// One window procedure serves one session at a time.
Session* current = nullptr;

// Esc presses after which a loop is taken not to end (a menu closes one level per press).
constexpr int escapeLimit = 50;

}  // namespace

Session::Session(const Viewer& viewer, InputBytes& bytes)
    : viewer_(viewer), bytes_(bytes),
      original_(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(viewer.window, GWLP_WNDPROC)))
{
    current = this;
    SetWindowLongPtrW(viewer.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Session::Procedure));
}

Session::~Session()
{
    if (IsWindow(viewer_.window))
        SetWindowLongPtrW(viewer_.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    current = nullptr;
}

void Session::Pump() const
{
    snapshot::HandleWaitingMessages(viewer_.accelerators);
}

void Session::Play()
{
    playing_ = true;
    while (StepsLeft()) {
        ++steps_;
        escapes_ = 0;
        ApplyStep(bytes_, viewer_.window, viewer_.window);
        Pump();
    }
    playing_ = false;
}

LRESULT CALLBACK Session::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Session& session = *current;
    if (message == WM_CLOSE)
        return 0;  // File > Exit, Alt+F4 and the close box: the window stays for the next sequence
    if (message == WM_ENTERIDLE)
        session.OnIdle(lParam != 0 ? reinterpret_cast<HWND>(lParam) : window);
    return CallWindowProcW(session.original_, window, message, wParam, lParam);
}

// The loop sleeps once it has told its owner it is idle: whatever the step did, a posted
// message wakes it to take the step's events and to come back here.
void Session::OnIdle(HWND loopWindow)
{
    if (StepsLeft()) {
        ++steps_;
        escapes_ = 0;
        ApplyStep(bytes_, viewer_.window, loopWindow);
    } else if (++escapes_ <= escapeLimit) {
        PressKey(loopWindow, VK_ESCAPE, 27);
    } else {
        // Nothing ends the loop, and nothing else would: the sequence can only stop here.
        std::fprintf(stderr, "viewer input: a modal loop does not end on Esc\n");
        std::abort();
    }
    PostMessageW(viewer_.window, WM_NULL, 0, 0);
}

}  // namespace quorvane::tests::viewer_input

// One sequence played on the viewer: the window's procedure is listened in on while it runs, so
// that its close is refused and each modal loop (a menu's, the About box's) is fed the next step
// when it waits, or Esc when no step is left (a loop that Esc does not end aborts the process:
// nothing else would end it).
#pragma once

#include "viewer_input.h"
#include "viewer_input_steps.h"

namespace quorvane::tests::viewer_input {

class Session {
public:
    Session(const Viewer& viewer, InputBytes& bytes);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Every waiting message handled as the viewer's loop handles it.
    void Pump() const;
    // Takes every step left, each followed by the messages it caused.
    void Play();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnIdle(HWND loopWindow);
    bool StepsLeft() const { return playing_ && steps_ < maxSteps && !bytes_.Empty(); }

    Viewer viewer_;
    InputBytes& bytes_;
    WNDPROC original_;
    bool playing_ = false;  // steps are taken only in Play: before and after it, loops get Esc
    int steps_ = 0;
    int escapes_ = 0;  // since the last step
};

}  // namespace quorvane::tests::viewer_input

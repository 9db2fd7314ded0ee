#include "user32/thread_state.h"

#include "display/display.h"
#include "user32/window.h"

namespace quorvane::user32 {

ThreadState& CurrentThreadState()
{
    thread_local ThreadState state;
    return state;
}

void ForgetWindow(HWND window)
{
    ThreadState& state = CurrentThreadState();
    std::erase_if(state.posted, [&](const MSG& m) { return m.hwnd == window; });
    std::erase_if(state.input, [&](const InputMessage& m) { return m.msg.hwnd == window; });
    // Device events taken from the display but not yet translated name its display window too.
    if (const display::Window* shown = DisplayWindowOf(window))
        display::ForgetWindowEvents(state.deviceEvents, shown);
    if (state.capture == window) {
        state.capture = nullptr;
        display::CurrentDriver().CaptureMouse(nullptr);
    }
    if (state.focus == window)
        state.focus = nullptr;
    if (state.click.window == window)
        state.click = PendingClick{};
}

}  // namespace quorvane::user32

#include "user32/thread_state.h"

#include <mutex>
#include <vector>

#include "display/display.h"
#include "user32/window.h"

namespace quorvane::user32 {

namespace {

// Every thread's state stays listed, so it is still reachable (not a leak) after its thread ends.
ThreadState* Listed(ThreadState* state)
{
    static auto* mutex = new std::mutex;
    static auto* states = new std::vector<ThreadState*>;
    std::lock_guard lock(*mutex);
    states->push_back(state);
    return state;
}

}  // namespace

// Never destroyed: a thread_local object would go before the program's static objects, whose
// destructors may still destroy windows (sending and posting their messages) at exit.
ThreadState& CurrentThreadState()
{
    thread_local ThreadState* state = Listed(new ThreadState);
    return *state;
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

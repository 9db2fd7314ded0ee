#include "user32/message_queue.h"

#include <algorithm>
#include <chrono>

#include "display/display.h"
#include "user32/input_translation.h"
#include "user32/painting.h"
#include "user32/thread_state.h"
#include "user32/window.h"

namespace quorvane::user32 {

namespace {

const HWND threadMessages = reinterpret_cast<HWND>(-1);

bool Matches(const MSG& message, const MessageFilter& filter)
{
    bool inRange =
        (filter.first == 0 && filter.last == 0) || (message.message >= filter.first && message.message <= filter.last);
    if (!inRange)
        return false;
    if (filter.window == nullptr)
        return true;
    if (filter.window == threadMessages)
        return message.hwnd == nullptr;
    return message.hwnd == filter.window || IsDescendant(filter.window, message.hwnd);
}

// A burst of motion is one move: only the latest position of the mouse matters.
void Enqueue(ThreadState& state, const display::Event& event)
{
    auto& events = state.deviceEvents;
    if (event.type == display::EventType::MouseMove && !events.empty() &&
        events.back().type == display::EventType::MouseMove && events.back().window == event.window) {
        events.back() = event;
        return;
    }
    events.push_back(event);
}

void TakeDeviceEvents(ThreadState& state)
{
    display::Event event;
    while (display::CurrentDriver().PollEvent(event))
        Enqueue(state, event);
}

bool TakeInput(ThreadState& state, const MessageFilter& filter, bool remove, MSG& message)
{
    auto found = std::find_if(state.input.begin(), state.input.end(),
                              [&](const InputMessage& m) { return Matches(m.msg, filter); });
    if (found == state.input.end())
        return false;
    message = found->msg;
    if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN)
        state.lastKeyPress = *found;
    if (remove)
        state.input.erase(found);
    return true;
}

bool TakePaint(const MessageFilter& filter, MSG& message)
{
    for (HWND handle : AllWindows()) {
        Window* window = LookUpWindow(handle);
        MSG paint{handle, WM_PAINT, 0, 0, MessageClock(), {}};
        if (window && NeedsPainting(*window) && Matches(paint, filter)) {
            message = paint;
            return true;
        }
    }
    return false;
}

bool TakeQueued(ThreadState& state, MSG& message, const MessageFilter& filter, bool remove)
{
    auto found =
        std::find_if(state.posted.begin(), state.posted.end(), [&](const MSG& m) { return Matches(m, filter); });
    if (found != state.posted.end()) {
        message = *found;
        if (remove)
            state.posted.erase(found);
        return true;
    }
    if (state.quitPosted) {
        message = MSG{nullptr, WM_QUIT, WPARAM(state.quitCode), 0, MessageClock(), {}};
        if (remove)
            state.quitPosted = false;
        return true;
    }
    return false;
}

}  // namespace

DWORD MessageClock()
{
    using namespace std::chrono;
    return DWORD(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool TakeMessage(MSG& message, const MessageFilter& filter, bool remove)
{
    ThreadState& state = CurrentThreadState();
    TakeDeviceEvents(state);
    // Device events become messages one at a time, each routed with the capture, focus and key
    // state that the messages before it left; what their handlers post comes first.
    bool taken = false;
    while (!taken) {
        taken = TakeQueued(state, message, filter, remove) || TakeInput(state, filter, remove, message);
        if (taken || state.deviceEvents.empty())
            break;
        display::Event event = state.deviceEvents.front();
        state.deviceEvents.pop_front();
        TranslateDeviceEvent(event);
    }
    taken = taken || TakePaint(filter, message);
    if (taken)
        state.lastMessageTime = message.time;
    return taken;
}

void WaitForDeviceEvent()
{
    display::Event event;
    if (display::CurrentDriver().WaitEvent(event, -1))
        Enqueue(CurrentThreadState(), event);
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" BOOL WINAPI PostMessageW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (handle && !LookUpWindow(handle)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    CurrentThreadState().posted.push_back(MSG{handle, message, wParam, lParam, MessageClock(), {}});
    return TRUE;
}

extern "C" void WINAPI PostQuitMessage(int exitCode)
{
    ThreadState& state = CurrentThreadState();
    state.quitPosted = true;
    state.quitCode = exitCode;
}

extern "C" BOOL WINAPI PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags)
{
    if (!message) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TakeMessage(*message, MessageFilter{window, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0) ? TRUE
                                                                                                              : FALSE;
}

// Blocks on the display's event source while nothing is waiting: an idle thread sleeps.
extern "C" BOOL WINAPI GetMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax)
{
    if (!message) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (window && window != reinterpret_cast<HWND>(-1) && !LookUpWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    MessageFilter filter{window, filterMin, filterMax};
    while (!TakeMessage(*message, filter, true))
        WaitForDeviceEvent();
    return message->message == WM_QUIT ? FALSE : TRUE;
}

extern "C" LONG WINAPI GetMessageTime(void)
{
    return LONG(CurrentThreadState().lastMessageTime);
}

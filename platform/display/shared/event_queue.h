// A display's queue of events: filled by the backend (or by injection, from any thread), emptied
// by the thread that runs the message loop, which may sleep on it while it is empty.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

#include "display/display_events.h"

namespace quorvane::display::shared {

class EventQueue {
public:
    void Push(const Event& event);
    bool Poll(Event& event);
    // Waits up to timeoutMs milliseconds (negative: without limit) for an event.
    bool Wait(Event& event, int timeoutMs);
    // A window is going away: what the window manager said of it is dropped, and its input
    // stays without the window.
    void Forget(const Window* window);

private:
    bool TakeLocked(Event& event);

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Event> events_;
};

}  // namespace quorvane::display::shared

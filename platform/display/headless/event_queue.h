// The headless display's event queue: filled by injection from any thread, emptied by the
// thread that runs the message loop, which sleeps on a condition variable while it is empty.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

#include "display/display_events.h"

namespace quorvane::display::headless {

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

}  // namespace quorvane::display::headless

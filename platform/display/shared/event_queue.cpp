#include "display/shared/event_queue.h"

#include <chrono>

namespace quorvane::display::shared {

void EventQueue::Push(const Event& event)
{
    {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
    }
    arrived_.notify_one();
}

bool EventQueue::TakeLocked(Event& event)
{
    if (events_.empty())
        return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

bool EventQueue::Poll(Event& event)
{
    std::lock_guard lock(mutex_);
    return TakeLocked(event);
}

bool EventQueue::Wait(Event& event, int timeoutMs)
{
    std::unique_lock lock(mutex_);
    auto ready = [&] { return !events_.empty(); };
    if (timeoutMs < 0)
        arrived_.wait(lock, ready);
    else
        arrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    return TakeLocked(event);
}

void EventQueue::Forget(const Window* window)
{
    std::lock_guard lock(mutex_);
    ForgetWindowEvents(events_, window);
}

}  // namespace quorvane::display::shared

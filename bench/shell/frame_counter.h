// Counts the frames a window shows, from outside the program: every picture swapped onto the
// window damages it, and the X server reports each damage (the DAMAGE extension).
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quorvane::bench {

class FrameCounter {
public:
    // Watches `window` on the X display `display`; Ready() says whether the server allows it.
    FrameCounter(const std::string& display, unsigned long window);
    ~FrameCounter();
    FrameCounter(const FrameCounter&) = delete;
    FrameCounter& operator=(const FrameCounter&) = delete;

    bool Ready() const { return display_ != nullptr && damage_ != 0; }
    // Takes the damage reported so far, noting when each frame arrived.
    void Collect();
    // Forgets the frames seen so far.
    void Clear() { frames_.clear(); }
    const std::vector<std::chrono::steady_clock::time_point>& Frames() const { return frames_; }

private:
    void* display_ = nullptr;  // Display*
    unsigned long damage_ = 0;
    int eventBase_ = 0;
    std::vector<std::chrono::steady_clock::time_point> frames_;
};

}  // namespace quorvane::bench

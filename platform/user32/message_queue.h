// The thread's message queue: what GetMessageW and PeekMessageW take, in Windows' order —
// posted messages, then the quit request, then input made from the display's events, then
// WM_PAINT for a window that needs painting when nothing else is waiting.
#pragma once

#include <windows.h>

namespace quorvane::user32 {

struct MessageFilter {
    HWND window = nullptr;  // null: any; (HWND)-1: messages posted to the thread itself
    UINT first = 0;         // 0 and 0: every message
    UINT last = 0;
};

bool TakeMessage(MSG& message, const MessageFilter& filter, bool remove);
// Sleeps until the display delivers an event, and queues it.
void WaitForDeviceEvent();

// The time of a message posted now, on the clock posted messages carry.
DWORD MessageClock();

}  // namespace quorvane::user32

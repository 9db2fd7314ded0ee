// What user32 keeps per thread, as Windows does: the message queue, the quit request, the
// keyboard state and focus, the mouse capture and the double-click being watched for.
#pragma once

#include <windows.h>

#include <array>
#include <deque>

#include "display/display_events.h"

namespace quorvane::user32 {

// A message made from a device event, with what TranslateMessage needs later.
struct InputMessage {
    MSG msg{};
    char32_t character = 0;  // key presses: the character the key types
};

// The first click of a possible double-click.
struct PendingClick {
    bool armed = false;
    HWND window = nullptr;
    UINT downMessage = 0;  // the button's WM_xBUTTONDOWN, client or non-client
    LRESULT hit = HTCLIENT;
    DWORD time = 0;
    // Where it was on its top-level window's surface, as the display reported it: where user32
    // has the window may change before the second click (a switch to or from full screen).
    POINT surface{};
};

struct ThreadState {
    std::deque<MSG> posted;
    std::deque<display::Event> deviceEvents;  // not yet turned into messages
    std::deque<InputMessage> input;           // made from device events, not yet retrieved
    bool quitPosted = false;
    int quitCode = 0;
    InputMessage lastKeyPress;  // the key press GetMessageW or PeekMessageW last handed out
    DWORD lastMessageTime = 0;

    HWND capture = nullptr;
    HWND focus = nullptr;
    std::array<BYTE, 256> keys{};  // 0x80: down, 0x01: toggled
    PendingClick click;
    float wheelRemainder = 0;  // fine wheel deltas below one unit, carried to the next event
    // Alt or F10 pressed, and no other key or button since (the menu bar's key when released).
    bool menuKeyAlone = false;
};

ThreadState& CurrentThreadState();

// Drops everything of a window that is going away: its queued messages, capture and focus.
void ForgetWindow(HWND window);

}  // namespace quorvane::user32

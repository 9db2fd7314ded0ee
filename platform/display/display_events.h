// The events a display delivers: input from the mouse and keyboard, and what the window manager
// does to windows. One flat record, as SDL's events are, with the fields each type uses.
//
// How a backend fills them in:
// - Positions are surface coordinates of the event's window (menu bar and client area; the
//   top-left corner of the surface is 0, 0), also outside the surface while the mouse is held.
// - time is in milliseconds on the backend's clock; only differences are used (double-clicks).
// - modifiers are the modifier keys held when the event happened, after a modifier key's own
//   press or release took effect.
// - Keys are numbered as Windows numbers its virtual keys (letters and digits by their
//   upper-case ASCII codes); the constants below are the ones a backend needs to map to.
// - A key press carries the character it types with the keyboard layout and the Shift state,
//   also while Alt or Control is held (a text-input event does not come while Alt is down), or
//   0 for a key that types none. A backend that receives text separately (an input method)
//   delivers it as a Text event, and never the same character twice.
// - Window-manager changes are reported after the fact and may be stale: WindowChanged only
//   says that the surface moved or changed size; the receiver asks DisplayWindowRect where it
//   is now, so a late report of a size that has since been changed again does no harm.
#pragma once

#include <cstdint>
#include <deque>

namespace quorvane::display {

struct Window;

using KeyCode = std::uint16_t;

namespace keys {
constexpr KeyCode back = 0x08;
constexpr KeyCode tab = 0x09;
constexpr KeyCode enter = 0x0D;
constexpr KeyCode shift = 0x10;
constexpr KeyCode control = 0x11;
constexpr KeyCode alt = 0x12;  // VK_MENU
constexpr KeyCode pause = 0x13;
constexpr KeyCode capsLock = 0x14;
constexpr KeyCode escape = 0x1B;
constexpr KeyCode space = 0x20;
constexpr KeyCode pageUp = 0x21;
constexpr KeyCode pageDown = 0x22;
constexpr KeyCode end = 0x23;
constexpr KeyCode home = 0x24;
constexpr KeyCode left = 0x25;
constexpr KeyCode up = 0x26;
constexpr KeyCode right = 0x27;
constexpr KeyCode down = 0x28;
constexpr KeyCode insert = 0x2D;
constexpr KeyCode del = 0x2E;
constexpr KeyCode digit0 = 0x30;   // to 0x39
constexpr KeyCode letterA = 0x41;  // to 0x5A
constexpr KeyCode numpad0 = 0x60;  // to 0x69
constexpr KeyCode multiply = 0x6A;
constexpr KeyCode add = 0x6B;
constexpr KeyCode subtract = 0x6D;
constexpr KeyCode decimal = 0x6E;
constexpr KeyCode divide = 0x6F;
constexpr KeyCode f1 = 0x70;         // to F24, 0x87
constexpr KeyCode oem1 = 0xBA;       // ;:
constexpr KeyCode oemPlus = 0xBB;    // =+
constexpr KeyCode oemComma = 0xBC;   // ,<
constexpr KeyCode oemMinus = 0xBD;   // -_
constexpr KeyCode oemPeriod = 0xBE;  // .>
constexpr KeyCode oem2 = 0xBF;       // /?
constexpr KeyCode oem3 = 0xC0;       // `~
constexpr KeyCode oem4 = 0xDB;       // [{
constexpr KeyCode oem5 = 0xDC;       // \|
constexpr KeyCode oem6 = 0xDD;       // ]}
constexpr KeyCode oem7 = 0xDE;       // '"
}  // namespace keys

namespace modifiers {
constexpr std::uint32_t shift = 1;
constexpr std::uint32_t control = 2;
constexpr std::uint32_t alt = 4;
}  // namespace modifiers

enum class MouseButton : std::uint8_t {
    Left,
    Right,
    Middle
};

enum class EventType : std::uint8_t {
    MouseButtonDown,  // window, time, x, y, button, modifiers
    MouseButtonUp,    // window, time, x, y, button, modifiers
    MouseMove,        // window, time, x, y, modifiers
    MouseWheel,       // window, time, x, y, wheel, modifiers
    KeyDown,          // window, time, key, character, repeat, modifiers
    KeyUp,            // window, time, key, modifiers
    Text,             // window, time, character
    CloseRequest,     // window: the close button or the window manager's close command
    MaximizeRequest,  // window: the maximise button or a double-click on the caption
    WindowChanged,    // window: moved or resized by the window manager (ask DisplayWindowRect)
    Minimized,        // window
    Restored,         // window: back from being minimised
    DesktopChanged,   // the desktop's mode changed (ask DesktopMode and CurrentMode)
};

// Mouse and keyboard events: they change what buttons and keys are held, even when their window
// has gone (the event then names no window).
constexpr bool IsInput(EventType type)
{
    return type <= EventType::Text;
}

struct Event {
    EventType type = EventType::MouseMove;
    Window* window = nullptr;
    std::uint32_t time = 0;
    int x = 0;
    int y = 0;
    MouseButton button = MouseButton::Left;
    float wheel = 0;  // notches, positive away from the user; fine wheels give fractions
    KeyCode key = 0;
    char32_t character = 0;
    bool repeat = false;  // a key press repeated by holding the key
    std::uint32_t modifiers = 0;
};

// A window is going away: of the events still waiting for it, what the window manager said is
// dropped and input stays without the window, so none of them can reach a window made later
// (which may get the same address).
inline void ForgetWindowEvents(std::deque<Event>& events, const Window* window)
{
    std::erase_if(events, [&](const Event& e) { return e.window == window && !IsInput(e.type); });
    for (Event& e : events) {
        if (e.window == window)
            e.window = nullptr;
    }
}

}  // namespace quorvane::display

#include "user32/mouse_input.h"

#include <cmath>
#include <cstdlib>

#include "user32/keyboard_input.h"
#include "user32/thread_state.h"
#include "user32/window_class.h"

namespace quorvane::user32 {

namespace {

using display::EventType;
using display::MouseButton;

struct ButtonMessages {
    UINT down, up, doubleClick;
    UINT nonClientDown, nonClientUp, nonClientDoubleClick;
    int virtualKey;
};

ButtonMessages MessagesOf(MouseButton button)
{
    switch (button) {
    case MouseButton::Right:
        return {WM_RBUTTONDOWN, WM_RBUTTONUP,       WM_RBUTTONDBLCLK, WM_NCRBUTTONDOWN,
                WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK, VK_RBUTTON};
    case MouseButton::Middle:
        return {WM_MBUTTONDOWN, WM_MBUTTONUP,       WM_MBUTTONDBLCLK, WM_NCMBUTTONDOWN,
                WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK, VK_MBUTTON};
    default:
        return {WM_LBUTTONDOWN, WM_LBUTTONUP,       WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN,
                WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK, VK_LBUTTON};
    }
}

struct Target {
    Window* window = nullptr;
    LRESULT hit = HTNOWHERE;
};

bool Contains(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

RECT OnScreen(const Window& window, const RECT& inWindow)
{
    return RECT{window.windowRect.left + inWindow.left, window.windowRect.top + inWindow.top,
                window.windowRect.left + inWindow.right, window.windowRect.top + inWindow.bottom};
}

// The deepest shown child of `window` under the point (screen coordinates), or the window.
Window& ChildAt(Window& window, POINT screen)
{
    for (HWND handle : window.children) {
        Window* child = LookUpWindow(handle);
        if (!child || !(child->style & WS_VISIBLE))
            continue;
        POINT origin = ClientOriginOnScreen(*child);
        RECT client = ClientRectInWindow(*child);
        RECT area{origin.x, origin.y, origin.x + Width(client), origin.y + Height(client)};
        if (Contains(area, screen))
            return ChildAt(*child, screen);
    }
    return window;
}

Target Route(Window& topLevel, POINT screen)
{
    Target target;
    ThreadState& state = CurrentThreadState();
    if (Window* captured = LookUpWindow(state.capture)) {
        target = {captured, HTCLIENT};
    } else if (Contains(OnScreen(topLevel, ClientRectInWindow(topLevel)), screen)) {
        target = {&ChildAt(topLevel, screen), HTCLIENT};
    } else if (Contains(OnScreen(topLevel, topLevel.surfaceRect), screen)) {
        target = {&topLevel, HTMENU};  // the surface above the client area is the menu bar
    }
    if (target.window && !IsEnabledWithAncestors(*target.window))
        target = {};
    return target;
}

LPARAM ClientPoint(const Window& window, POINT screen)
{
    POINT origin = ClientOriginOnScreen(window);
    return MAKELPARAM(screen.x - origin.x, screen.y - origin.y);
}

bool WantsDoubleClicks(const Window& window, LRESULT hit)
{
    // Non-client double-clicks come whatever the class says.
    return hit != HTCLIENT || (window.windowClass && (window.windowClass->info.style & CS_DBLCLKS));
}

// The press, or the double-click it completes.
UINT PressMessage(const Window& window, LRESULT hit, const ButtonMessages& messages, const display::Event& event)
{
    POINT surface{event.x, event.y};
    PendingClick& first = CurrentThreadState().click;
    UINT down = hit == HTCLIENT ? messages.down : messages.nonClientDown;
    bool second = first.armed && first.window == window.handle && first.downMessage == down && first.hit == hit &&
                  event.time - first.time < doubleClickTime &&
                  std::abs(surface.x - first.surface.x) <= doubleClickSize / 2 &&
                  std::abs(surface.y - first.surface.y) <= doubleClickSize / 2;
    if (second && WantsDoubleClicks(window, hit)) {
        first = PendingClick{};
        return hit == HTCLIENT ? messages.doubleClick : messages.nonClientDoubleClick;
    }
    first = PendingClick{true, window.handle, down, hit, event.time, surface};
    return down;
}

void Queue(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const display::Event& event, POINT screen)
{
    CurrentThreadState().input.push_back(InputMessage{MSG{window, message, wParam, lParam, event.time, screen}, 0});
}

// Wheel units (120 a notch) from notches; fractions of a unit are kept for the next turn in
// the same direction, so a fine wheel's small steps add up instead of vanishing.
int WheelDelta(float notches)
{
    float& remainder = CurrentThreadState().wheelRemainder;
    if ((notches > 0 && remainder < 0) || (notches < 0 && remainder > 0))
        remainder = 0;
    float total = remainder + notches * WHEEL_DELTA;
    float whole = std::trunc(total);
    whole = std::fmax(std::fmin(whole, 32767.0f), -32768.0f);
    remainder = total - whole;
    return int(whole);
}

void QueueWheel(Window& topLevel, const display::Event& event, POINT screen)
{
    ThreadState& state = CurrentThreadState();
    Window* target = LookUpWindow(state.capture);
    if (!target)
        target = KeyboardTarget(topLevel);
    if (!target || !IsEnabledWithAncestors(*target))
        return;
    int delta = WheelDelta(event.wheel);
    if (delta == 0)
        return;
    WORD held = WORD(MouseKeys());
    WORD units = WORD(SHORT(delta));
    Queue(target->handle, WM_MOUSEWHEEL, MAKEWPARAM(held, units), MAKELPARAM(screen.x, screen.y), event, screen);
}

void SetButtonState(int virtualKey, bool down)
{
    BYTE& key = CurrentThreadState().keys[size_t(virtualKey)];
    key = down ? BYTE(0x80 | ((key & 1) ^ 1)) : BYTE(key & 1);
}

}  // namespace

WPARAM MouseKeys()
{
    const auto& keys = CurrentThreadState().keys;
    WPARAM held = 0;
    auto add = [&](int virtualKey, WPARAM flag) {
        if (keys[size_t(virtualKey)] & 0x80)
            held |= flag;
    };
    add(VK_LBUTTON, MK_LBUTTON);
    add(VK_RBUTTON, MK_RBUTTON);
    add(VK_MBUTTON, MK_MBUTTON);
    add(VK_SHIFT, MK_SHIFT);
    add(VK_CONTROL, MK_CONTROL);
    return held;
}

void KeepButtonState(const display::Event& event)
{
    bool press = event.type == EventType::MouseButtonDown;
    if (press || event.type == EventType::MouseButtonUp)
        SetButtonState(MessagesOf(event.button).virtualKey, press);
    SetModifierState(event.modifiers);
}

void TranslateMouseEvent(Window& topLevel, const display::Event& event)
{
    POINT screen{topLevel.windowRect.left + topLevel.surfaceRect.left + event.x,
                 topLevel.windowRect.top + topLevel.surfaceRect.top + event.y};
    ButtonMessages messages = MessagesOf(event.button);
    KeepButtonState(event);
    if (event.type == EventType::MouseButtonDown)
        CurrentThreadState().menuKeyAlone = false;  // a click between Alt's press and release
    if (event.type == EventType::MouseWheel) {
        QueueWheel(topLevel, event, screen);
        return;
    }
    Target target = Route(topLevel, screen);
    if (!target.window)
        return;
    const Window& window = *target.window;
    bool client = target.hit == HTCLIENT;
    WPARAM wParam = client ? MouseKeys() : WPARAM(target.hit);
    LPARAM lParam = client ? ClientPoint(window, screen) : MAKELPARAM(screen.x, screen.y);
    UINT message = 0;
    switch (event.type) {
    case EventType::MouseMove: message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE; break;
    case EventType::MouseButtonDown: message = PressMessage(window, target.hit, messages, event); break;
    default: message = client ? messages.up : messages.nonClientUp; break;
    }
    Queue(window.handle, message, wParam, lParam, event, screen);
}

}  // namespace quorvane::user32

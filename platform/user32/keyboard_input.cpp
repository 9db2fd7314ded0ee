#include "user32/keyboard_input.h"

#include "user32/thread_state.h"

namespace quorvane::user32 {

namespace {

using display::EventType;

// The key constants of the display are Windows' virtual keys.
static_assert(display::keys::alt == VK_MENU && display::keys::f1 == VK_F1 && display::keys::oem2 == VK_OEM_2 &&
              display::keys::enter == VK_RETURN && display::keys::escape == VK_ESCAPE);

bool IsDown(int virtualKey)
{
    return (CurrentThreadState().keys[size_t(virtualKey & 0xFF)] & 0x80) != 0;
}

void SetKeyState(int virtualKey, bool down)
{
    BYTE& key = CurrentThreadState().keys[size_t(virtualKey & 0xFF)];
    bool wasDown = (key & 0x80) != 0;
    BYTE toggled = BYTE((key & 1) ^ (down && !wasDown ? 1 : 0));
    key = BYTE((down ? 0x80 : 0) | toggled);
}

// lParam of a key message: repeat count 1, Alt in the context bit, the previous state and the
// transition (no scan codes: the program does not read them).
LPARAM KeyFlags(bool up, bool wasDown, bool altContext)
{
    DWORD high = (altContext ? KF_ALTDOWN : 0) | (wasDown ? KF_REPEAT : 0) | (up ? KF_UP : 0);
    return LPARAM(DWORD(1) | (high << 16));
}

// The character of a key message that did not come from the display with one (a message the
// program posted itself): the keys whose character does not depend on the layout.
char32_t PlainCharacter(WPARAM virtualKey)
{
    bool shift = IsDown(VK_SHIFT);
    bool control = IsDown(VK_CONTROL);
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        if (control)
            return char32_t(virtualKey - 'A' + 1);  // Ctrl+A is 1
        return char32_t(shift ? virtualKey : virtualKey - 'A' + 'a');
    }
    if (virtualKey >= '0' && virtualKey <= '9' && !shift)
        return char32_t(virtualKey);
    switch (virtualKey) {
    case VK_SPACE: return U' ';
    case VK_RETURN: return U'\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x08;
    case VK_TAB: return U'\t';
    default: return 0;
    }
}

char32_t CharacterOf(const MSG& message)
{
    const InputMessage& last = CurrentThreadState().lastKeyPress;
    const MSG& m = last.msg;
    if (m.hwnd == message.hwnd && m.message == message.message && m.wParam == message.wParam &&
        m.lParam == message.lParam && m.time == message.time)
        return last.character;
    return PlainCharacter(message.wParam);
}

// Alt or F10 opens the menu bar when released with no other key pressed since, whether or not
// the program handled that other key (Alt+Enter must not open the menu).
void WatchMenuKey(int virtualKey, bool repeat)
{
    bool menuKey = virtualKey == VK_MENU || virtualKey == VK_F10;
    if (!menuKey)
        CurrentThreadState().menuKeyAlone = false;
    else if (!repeat)
        CurrentThreadState().menuKeyAlone = true;
}

}  // namespace

void SetModifierState(std::uint32_t modifiers)
{
    auto set = [](int virtualKey, bool down) {
        if (IsDown(virtualKey) != down)
            SetKeyState(virtualKey, down);
    };
    set(VK_SHIFT, modifiers & display::modifiers::shift);
    set(VK_CONTROL, modifiers & display::modifiers::control);
    set(VK_MENU, modifiers & display::modifiers::alt);
}

Window* KeyboardTarget(Window& topLevel)
{
    Window* target = &topLevel;
    if (Window* focus = LookUpWindow(CurrentThreadState().focus); focus && &TopLevelOf(*focus) == &topLevel)
        target = focus;
    return IsEnabledWithAncestors(*target) ? target : nullptr;
}

void KeepKeyState(const display::Event& event)
{
    if (event.type == EventType::KeyDown || event.type == EventType::KeyUp)
        SetKeyState(event.key & 0xFF, event.type == EventType::KeyDown);
    SetModifierState(event.modifiers);
}

void TranslateKeyEvent(Window& topLevel, const display::Event& event)
{
    ThreadState& state = CurrentThreadState();
    bool up = event.type == EventType::KeyUp;
    int virtualKey = event.key & 0xFF;
    bool wasDown = IsDown(virtualKey) || event.repeat;
    KeepKeyState(event);
    if (event.type == EventType::KeyDown)
        WatchMenuKey(virtualKey, event.repeat);
    Window* target = KeyboardTarget(topLevel);
    if (!target)
        return;
    MSG msg{target->handle, 0, 0, 0, event.time, {}};
    if (event.type == EventType::Text) {
        msg.message = WM_CHAR;
        msg.wParam = WPARAM(event.character);
        msg.lParam = 1;
        state.input.push_back(InputMessage{msg, 0});
        return;
    }
    bool alt = event.modifiers & display::modifiers::alt;
    bool control = event.modifiers & display::modifiers::control;
    // Alt+Control is AltGr on many layouts: those are ordinary keys.
    bool system = virtualKey == VK_MENU || virtualKey == VK_F10 || (alt && !control);
    msg.message = up ? (system ? WM_SYSKEYUP : WM_KEYUP) : (system ? WM_SYSKEYDOWN : WM_KEYDOWN);
    msg.wParam = WPARAM(virtualKey);
    msg.lParam = KeyFlags(up, up || wasDown, system && alt);
    state.input.push_back(InputMessage{msg, up ? 0 : event.character});
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" BOOL WINAPI TranslateMessage(const MSG* message)
{
    if (!message)
        return FALSE;
    switch (message->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        char32_t character = CharacterOf(*message);
        if (character != 0 && character <= 0xFFFF)
            PostMessageW(message->hwnd, message->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, WPARAM(character),
                         message->lParam);
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: return TRUE;
    default: return FALSE;
    }
}

extern "C" SHORT WINAPI GetKeyState(int virtualKey)
{
    BYTE key = CurrentThreadState().keys[size_t(virtualKey & 0xFF)];
    return SHORT(((key & 0x80) ? 0xFF80 : 0) | (key & 1));
}

extern "C" HWND WINAPI SetFocus(HWND handle)
{
    ThreadState& state = CurrentThreadState();
    HWND previous = LookUpWindow(state.focus) ? state.focus : nullptr;
    if (handle) {
        Window* window = LookUpWindow(handle);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        if (window->style & WS_DISABLED)
            return nullptr;
    }
    if (handle == previous)
        return previous;
    state.focus = handle;
    if (previous)
        SendMessageW(previous, WM_KILLFOCUS, WPARAM(handle), 0);
    if (handle && LookUpWindow(handle))
        SendMessageW(handle, WM_SETFOCUS, WPARAM(previous), 0);
    return previous;
}

extern "C" HWND WINAPI GetFocus(void)
{
    HWND focus = CurrentThreadState().focus;
    return LookUpWindow(focus) ? focus : nullptr;
}

// The page's input and its changes of size and full screen as the display's events, and the
// program's one blocking wait, which yields to the browser.
#include <emscripten.h>

#include <cmath>

#include "display/web/web_driver.h"
#include "display/web/web_input.h"

namespace quorvane::display::web {

namespace {

constexpr const char* canvas = "#canvas";

std::uint32_t Now()
{
    return std::uint32_t(std::llround(emscripten_get_now()));
}

// The page's scripts are JavaScript, which the C++ formatter would break.
// clang-format off
// The page tells the program that something happened: it resolves the wait in progress, and
// notes changes of the canvas's size, which the program takes when it next looks for events.
EM_JS(void, WakeWaiter, (), {
    if (Module.quorvaneWake)
        Module.quorvaneWake();
});

EM_JS(void, WatchPage, (), {
    Module.quorvaneCanvasChanged = true;
    var changed = function()
    {
        Module.quorvaneCanvasChanged = true;
        if (Module.quorvaneWake)
            Module.quorvaneWake();
    };
    var canvas = document.getElementById('canvas');
    if (canvas) {
        // A right click's menu is the program's own.
        canvas.addEventListener(
            'contextmenu', function(e) { e.preventDefault(); });
        if (typeof ResizeObserver != 'undefined')
            new ResizeObserver(changed).observe(canvas);
    }
    window.addEventListener('resize', changed);
    // A move to a screen of another density changes devicePixelRatio without a resize: a query
    // for the density of the moment says when it no longer holds, and is made anew then.
    var watchDensity = function()
    {
        if (!window.matchMedia)
            return;
        var query = window.matchMedia('(resolution: ' + window.devicePixelRatio + 'dppx)');
        var once = function()
        {
            query.removeEventListener('change', once);
            changed();
            watchDensity();
        };
        query.addEventListener('change', once);
    };
    watchDensity();
    document.addEventListener(
        'fullscreenchange', function() {
            Module.quorvaneFullScreenChanged = true;
            changed();
        });
});

// A change of density is also seen when the query above does not say so (a browser emulating
// another screen) as soon as anything wakes the program.
EM_JS(int, TakeCanvasChange, (), {
    var changed = Module.quorvaneCanvasChanged || Module.quorvaneRatio !== window.devicePixelRatio ? 1 : 0;
    Module.quorvaneCanvasChanged = false;
    Module.quorvaneRatio = window.devicePixelRatio;
    return changed;
});

// 1 when the page left full screen since last asked while the program wanted it (the user
// pressed Escape, or the browser took it away).
EM_JS(int, TakeFullScreenLost, (), {
    var changed = Module.quorvaneFullScreenChanged;
    Module.quorvaneFullScreenChanged = false;
    if (!changed || document.fullscreenElement || !Module.quorvaneWantsFullScreen)
        return 0;
    Module.quorvaneWantsFullScreen = false;
    return 1;
});

// Yields to the browser until the page wakes the program or `timeoutMs` milliseconds have passed
// (negative: no limit). The promise is resolved by a timer or by the page's event handlers.
EM_ASYNC_JS(void, SleepUntilWoken, (int timeoutMs), {
    await new Promise(function(resolve) {
        var timer = 0;
        var done = function()
        {
            if (timer)
                clearTimeout(timer);
            Module.quorvaneWake = null;
            resolve();
        };
        Module.quorvaneWake = done;
        if (timeoutMs >= 0)
            timer = setTimeout(done, timeoutMs);
    });
});

// clang-format on

EM_BOOL MouseDown(int, const EmscriptenMouseEvent* mouse, void* driver)
{
    static_cast<WebDriver*>(driver)->OnMouseButton(*mouse, true);
    return EM_TRUE;
}

EM_BOOL MouseUp(int, const EmscriptenMouseEvent* mouse, void* driver)
{
    static_cast<WebDriver*>(driver)->OnMouseButton(*mouse, false);
    return EM_FALSE;
}

EM_BOOL MouseMove(int, const EmscriptenMouseEvent* mouse, void* driver)
{
    static_cast<WebDriver*>(driver)->OnMouseMove(*mouse);
    return EM_FALSE;
}

EM_BOOL Wheel(int, const EmscriptenWheelEvent* wheel, void* driver)
{
    static_cast<WebDriver*>(driver)->OnWheel(*wheel);
    return EM_TRUE;  // the page does not scroll
}

EM_BOOL KeyDown(int, const EmscriptenKeyboardEvent* key, void* driver)
{
    return static_cast<WebDriver*>(driver)->OnKey(*key, true) ? EM_TRUE : EM_FALSE;
}

EM_BOOL KeyUp(int, const EmscriptenKeyboardEvent* key, void* driver)
{
    return static_cast<WebDriver*>(driver)->OnKey(*key, false) ? EM_TRUE : EM_FALSE;
}

EM_BOOL Blur(int, const EmscriptenFocusEvent*, void* driver)
{
    static_cast<WebDriver*>(driver)->OnBlur();
    return EM_FALSE;
}

}  // namespace

// Buttons go down on the canvas; moves and releases are taken from the whole document, so that
// a drag that leaves the canvas (or the browser's window) keeps coming and ends.
WebDriver::WebDriver()
{
    emscripten_set_mousedown_callback(canvas, this, EM_TRUE, MouseDown);
    emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, MouseUp);
    emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, MouseMove);
    emscripten_set_wheel_callback(canvas, this, EM_TRUE, Wheel);
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, KeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_TRUE, KeyUp);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, Blur);
    WatchPage();
}

Window* WebDriver::WindowAt(int x, int y) const
{
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        const Rect& r = (*it)->rect;
        if ((*it)->visible && x >= r.x && y >= r.y && x < r.x + int(r.width) && y < r.y + int(r.height))
            return *it;
    }
    return nullptr;
}

// Keys go to the topmost window shown: a dialog over the page while it is open.
Window* WebDriver::KeyboardWindow() const
{
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        if ((*it)->visible)
            return *it;
    }
    return nullptr;
}

Event WebDriver::MouseEvent(EventType type, const EmscriptenMouseEvent& mouse)
{
    // CSS pixels of the canvas are the program's pixels.
    const int x = int(std::floor(double(mouse.clientX) - canvasLeft_));
    const int y = int(std::floor(double(mouse.clientY) - canvasTop_));
    Window* window = capture_ ? capture_ : WindowAt(x, y);
    Event event{.type = type,
                .window = window,
                .time = Now(),
                .x = x,
                .y = y,
                .modifiers = ModifiersOf(mouse.shiftKey, mouse.ctrlKey, mouse.altKey)};
    if (window) {
        event.x -= window->rect.x;
        event.y -= window->rect.y;
    }
    return event;
}

void WebDriver::OnMouseButton(const EmscriptenMouseEvent& mouse, bool down)
{
    std::optional<MouseButton> button = ButtonOf(mouse.button);
    if (!button || (!down && !buttonsHeld_.contains(*button)))
        return;  // a release whose press was not on the canvas
    Event event = MouseEvent(down ? EventType::MouseButtonDown : EventType::MouseButtonUp, mouse);
    event.button = *button;
    if (down)
        buttonsHeld_.insert(*button);
    else
        buttonsHeld_.erase(*button);
    events_.Push(event);
    WakeWaiter();
}

void WebDriver::OnMouseMove(const EmscriptenMouseEvent& mouse)
{
    Event event = MouseEvent(EventType::MouseMove, mouse);
    if (!event.window && buttonsHeld_.empty())
        return;
    events_.Push(event);
    WakeWaiter();
}

void WebDriver::OnWheel(const EmscriptenWheelEvent& wheel)
{
    Event event = MouseEvent(EventType::MouseWheel, wheel.mouse);
    event.wheel = NotchesOf(wheel.deltaY, wheel.deltaMode);
    if (event.wheel == 0)
        return;
    events_.Push(event);
    WakeWaiter();
}

bool WebDriver::OnKey(const EmscriptenKeyboardEvent& key, bool down)
{
    const std::uint32_t held = ModifiersOf(key.shiftKey, key.ctrlKey, key.altKey);
    Event event{.type = down ? EventType::KeyDown : EventType::KeyUp,
                .window = KeyboardWindow(),
                .time = Now(),
                .key = VirtualKeyOf(key.code, key.key),
                .repeat = down && key.repeat,
                .modifiers = held};
    modifiersHeld_ = held;
    if (down)
        event.character = CharacterOf(key.key, held);
    if (event.key != 0) {
        if (down)
            keysHeld_.insert(event.key);
        else
            keysHeld_.erase(event.key);
        events_.Push(event);
    } else if (down && event.character != 0) {
        // A key the display does not number still types.
        event.type = EventType::Text;
        events_.Push(event);
    }
    WakeWaiter();
    return HeldBackFromBrowser(key.code, held);
}

// The page lost the keyboard and mouse (another window or tab): what was held is let go, as the
// browser will not say when it is released elsewhere.
void WebDriver::OnBlur()
{
    Window* window = KeyboardWindow();
    for (KeyCode key : keysHeld_)
        events_.Push(Event{.type = EventType::KeyUp, .window = window, .time = Now(), .key = key});
    keysHeld_.clear();
    for (MouseButton button : buttonsHeld_)
        events_.Push(Event{.type = EventType::MouseButtonUp, .window = capture_, .time = Now(), .button = button});
    buttonsHeld_.clear();
    WakeWaiter();
}

void WebDriver::CaptureMouse(Window* window)
{
    capture_ = window && Owns(window) ? window : nullptr;
}

void WebDriver::Pump()
{
    if (TakeFullScreenLost() && fullScreenWindow_) {
        // Left by the user (Escape) or taken by the browser: as a window manager taking full
        // screen away, the page window is back at the page's size (reported as the canvas
        // follows), and the program's mode is the desktop's again.
        fullScreenWindow_ = nullptr;
        events_.Push(Event{.type = EventType::DesktopChanged, .time = Now()});
    }
    if (TakeCanvasChange() || !started_)
        FollowCanvas();
}

bool WebDriver::PollEvent(Event& event)
{
    Pump();
    return events_.Poll(event);
}

// Never a loop of short sleeps: each turn sleeps until the page has something or the time is up.
bool WebDriver::WaitEvent(Event& event, int timeoutMs)
{
    const double start = emscripten_get_now();
    for (;;) {
        Pump();
        if (events_.Poll(event))
            return true;
        int left = -1;
        if (timeoutMs >= 0) {
            left = timeoutMs - int(emscripten_get_now() - start);
            if (left <= 0)
                return false;
        }
        SleepUntilWoken(left);
    }
}

}  // namespace quorvane::display::web

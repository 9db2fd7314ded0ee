// The event pump: SDL's events and the window manager's answers translated into the display's
// events, and the waiting for them.
#include "display/sdl/sdl_driver.h"
#include "display/sdl/x11_window_manager.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <utility>

namespace quorvane::display::sdl {

namespace {

// The window an input event names, by SDL's window id.
Uint32 WindowIdOf(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: return event.button.windowID;
    case SDL_MOUSEMOTION: return event.motion.windowID;
    case SDL_MOUSEWHEEL: return event.wheel.windowID;
    case SDL_KEYDOWN:
    case SDL_KEYUP: return event.key.windowID;
    case SDL_TEXTINPUT: return event.text.windowID;
    default: return 0;
    }
}

// The text SDL queued right behind a key press, for the press to carry; null when none follows.
const char* TakeTextOfPress(const SDL_KeyboardEvent& press, SDL_Event& storage)
{
    if (SDL_PeepEvents(&storage, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 ||
        storage.type != SDL_TEXTINPUT || storage.text.windowID != press.windowID)
        return nullptr;
    SDL_PeepEvents(&storage, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    return storage.text.text;
}

}  // namespace

void SdlDriver::TranslateWindowEvent(const SDL_WindowEvent& event)
{
    Window* window = WindowOfId(event.windowID);
    if (!window)
        return;
    auto report = [&](EventType type) { ready_.Push(Event{.type = type, .window = window, .time = event.timestamp}); };
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED: ShowLater(*window); break;
    case SDL_WINDOWEVENT_MOVED: window->placement.Geometry().Reported(SDL_GetTicks()); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        window->placement.Geometry().Reported(SDL_GetTicks());
        ShowLater(*window);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (!window->minimized) {
            window->minimized = true;
            report(EventType::Minimized);
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
        if (window->minimized) {
            window->minimized = false;
            report(EventType::Restored);
            ShowLater(*window);
        }
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        // The program decides what maximising means (the viewer goes full screen): the window
        // manager's own maximising is taken back, and the program is asked.
        if (!window->placement.IsFullScreen()) {
            UndoMaximize(*window);
            report(EventType::MaximizeRequest);
        }
        break;
    case SDL_WINDOWEVENT_CLOSE: report(EventType::CloseRequest); break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: NoticeDesktopChange(); break;
    default: break;
    }
}

// The window manager's answers: where the window is, its frame, its state.
void SdlDriver::TranslateSystemEvent(const SDL_Event& event)
{
    serverKeyPress_ = x11::IsKeyPress(event);
    if (std::optional<std::uint32_t> time = x11::ButtonTimeOf(event)) {
        NoteButtonTime(*time);
        return;
    }
    std::optional<x11::Answer> answer = x11::AnswerOf(event);
    Window* window = answer ? WindowOfXWindow(answer->window) : nullptr;
    if (!window)
        return;
    if (answer->kind == x11::Answer::Kind::State)
        NoticeStateChange(*window);
    else
        window->placement.Geometry().Answered(ActualRect(*window), SDL_GetTicks());
}

// The two presses of a double-click are told apart by when they happened, not by when the
// program, busy switching to full screen, got round to taking them.
void SdlDriver::NoteButtonTime(Uint32 serverTime)
{
    Uint32 lag = SDL_GetTicks() - serverTime;
    if (!serverToTicks_ || std::int32_t(lag - *serverToTicks_) < 0)
        serverToTicks_ = lag;
    buttonTime_ = serverTime + *serverToTicks_;
}

// A window that gains focus while a modifier is held hears from SDL that the modifier went down
// then, though it was pressed elsewhere; as on Windows, no such press reaches the program. Alt
// released afterwards would otherwise count as Alt pressed alone and open the menu bar, which
// happened to Alt+Enter whenever the window manager moved the focus during the switch.
bool SdlDriver::PressedInWindow(const SDL_KeyboardEvent& event)
{
    const bool fromServer = std::exchange(serverKeyPress_, false);
    const Window* window = WindowOfId(event.windowID);
    return fromServer || !window || !window->xWindow;
}

void SdlDriver::Translate(const SDL_Event& event)
{
    switch (event.type) {
    case SDL_WINDOWEVENT: TranslateWindowEvent(event.window); return;
    case SDL_SYSWMEVENT: TranslateSystemEvent(event); return;
    case SDL_DISPLAYEVENT: NoticeDesktopChange(); return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEWHEEL:
    case SDL_KEYUP:
    case SDL_TEXTINPUT: break;
    case SDL_KEYDOWN:
        if (!PressedInWindow(event.key))
            return;
        break;
    default: return;
    }
    SDL_Event storage;
    const char* pressText = event.type == SDL_KEYDOWN ? TakeTextOfPress(event.key, storage) : nullptr;
    translated_.clear();
    Window* window = WindowOfId(WindowIdOf(event));
    input_.Translate(event, window, pressText, Uint16(SDL_GetModState()), translated_);
    bool button = event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP;
    for (Event& e : translated_) {
        if (window) {
            e.x = window->scale.PointToProgram(e.x);
            e.y = window->scale.PointToProgram(e.y);
        }
        if (button && buttonTime_)
            e.time = *buttonTime_;
        ready_.Push(e);
    }
    if (button)
        buttonTime_.reset();
}

void SdlDriver::Pump()
{
    SendPlaces();
    SDL_Event event;
    while (SDL_PollEvent(&event))
        Translate(event);
    SettleGeometry();
    SendPlaces();
    ShowDue();
}

bool SdlDriver::PollEvent(Event& event)
{
    if (Video())
        Pump();
    return ready_.Poll(event);
}

bool SdlDriver::WaitEvent(Event& event, int timeoutMs)
{
    if (!Video()) {
        // Nothing will ever come: wait as asked, asleep.
        do
            std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs < 0 ? 60'000 : timeoutMs));
        while (timeoutMs < 0);
        return false;
    }
    Uint32 start = SDL_GetTicks();
    for (;;) {
        Pump();
        if (ready_.Poll(event))
            return true;
        int wait = -1;
        if (timeoutMs >= 0) {
            wait = timeoutMs - int(SDL_GetTicks() - start);
            if (wait <= 0)
                return false;
        }
        int settle = UntilNextSettleOrShow();
        if (settle >= 0)
            wait = wait < 0 ? settle : std::min(wait, settle);
        SDL_Event sdl;
        if (SDL_WaitEventTimeout(&sdl, wait))
            Translate(sdl);
    }
}

}  // namespace quorvane::display::sdl

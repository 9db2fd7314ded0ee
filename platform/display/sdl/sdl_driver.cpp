#include "display/sdl/sdl_driver.h"
#include "display/sdl/desktop_scale.h"
#include "display/sdl/x11_errors.h"
#include "display/sdl/x11_window_manager.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "display/shared/png_writer.h"

namespace quorvane::display {

Driver& CurrentDriver()
{
    // Never destroyed: the program's static objects may release windows and devices at exit.
    static auto* driver = new sdl::SdlDriver;
    return *driver;
}

namespace sdl {

namespace {

Mode ModeOf(const SDL_DisplayMode& mode)
{
    return Mode{std::uint32_t(mode.w), std::uint32_t(mode.h), std::uint32_t(mode.refresh_rate)};
}

int AtLeastOne(std::uint32_t size)
{
    return std::max(1, int(std::min<std::uint32_t>(size, 16384)));
}

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

// SDL falls back to drivers that show nothing (offscreen, dummy) when it can open no display; a
// program there would wait for input that never comes. They are taken only when asked for.
bool ShowsNothing(const char* driver)
{
    return driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

bool AskedFor(const char* driver)
{
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    return asked && std::strstr(asked, driver);
}

void ReportNoDisplay(const char* why)
{
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "quorvane: no display to show windows on (DISPLAY is %s%s%s): %s\n", display ? "\"" : "unset",
                 display ? display : "", display ? "\"" : "", why);
}

}  // namespace

bool SdlDriver::Video()
{
    if (videoStarted_ || videoFailed_)
        return videoStarted_;
    // The program's own signals stay the program's; a window that loses the focus in full
    // screen stays full screen; closing the last window is the program's business.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        ReportNoDisplay(SDL_GetError());
        videoFailed_ = true;
        return false;
    }
    if (const char* driver = SDL_GetCurrentVideoDriver(); ShowsNothing(driver) && !AskedFor(driver)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        ReportNoDisplay("SDL's only video driver shows nothing");
        videoFailed_ = true;
        return false;
    }
    TolerateErrorsAboutGoneWindows();
    x11::ListenToWindowManager();
    GlContexts::SetAttributes();
    videoStarted_ = true;
    desktopScale_ = ScreenScale(DesktopScale());
    desktopSeen_ = DesktopMode();
    return true;
}

std::vector<Mode> SdlDriver::Modes()
{
    std::vector<Mode> modes;
    if (!Video())
        return modes;
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0)
            continue;
        Mode offered = ModeOf(mode);
        if (std::find(modes.begin(), modes.end(), offered) == modes.end())
            modes.push_back(offered);
    }
    return modes;
}

Mode SdlDriver::ScreenDesktopMode()
{
    SDL_DisplayMode mode;
    if (!Video() || SDL_GetDesktopDisplayMode(0, &mode) != 0)
        return Mode{};
    return ModeOf(mode);
}

// The program sees the desktop in its own pixels: 2560 x 1440 at a scale of 2 is 1280 x 720.
Mode SdlDriver::DesktopMode()
{
    Mode screen = ScreenDesktopMode();
    return desktopScale_.ToProgram(screen);
}

Mode SdlDriver::CurrentMode()
{
    return fullScreenWindow_ ? fullScreenMode_ : DesktopMode();
}

bool SdlDriver::Owns(const Window* window) const
{
    return window && std::any_of(windows_.begin(), windows_.end(), [&](auto& w) { return w.get() == window; });
}

Window* SdlDriver::WindowOfId(Uint32 id) const
{
    for (auto& window : windows_) {
        if (window->id == id)
            return window.get();
    }
    return nullptr;
}

Window* SdlDriver::WindowOfXWindow(unsigned long xWindow) const
{
    for (auto& window : windows_) {
        if (window->xWindow == xWindow && xWindow != 0)
            return window.get();
    }
    return nullptr;
}

Rect SdlDriver::ScreenRectOf(const Window& window) const
{
    int x = 0, y = 0, width = 0, height = 0;
    SDL_GetWindowPosition(window.sdl, &x, &y);
    SDL_GetWindowSize(window.sdl, &width, &height);
    return Rect{x, y, std::uint32_t(width), std::uint32_t(height)};
}

Rect SdlDriver::ActualRect(const Window& window) const
{
    return window.scale.ToProgram(ScreenRectOf(window));
}

bool SdlDriver::IsWherePlaced(const Window& window) const
{
    return ScreenRectOf(window) == window.scale.ToScreen(window.geometry.Placed());
}

bool SdlDriver::MoveSdlWindow(Window& window, const Rect& rect)
{
    Rect screen = window.scale.ToScreen(rect), actual = ScreenRectOf(window);
    if (actual.x == screen.x && actual.y == screen.y)
        return false;
    SDL_SetWindowPosition(window.sdl, screen.x, screen.y);
    return true;
}

bool SdlDriver::SizeSdlWindow(Window& window, const Rect& rect)
{
    Rect screen = window.scale.ToScreen(rect), actual = ScreenRectOf(window);
    if (actual.width == screen.width && actual.height == screen.height)
        return false;
    SDL_SetWindowSize(window.sdl, AtLeastOne(screen.width), AtLeastOne(screen.height));
    return true;
}

Window* SdlDriver::CreateDisplayWindow(const WindowDesc& desc)
{
    if (!Video())
        return nullptr;
    auto window = std::make_unique<Window>(Rect{desc.x, desc.y, desc.width, desc.height});
    window->scale = desktopScale_;
    // Created hidden: the window manager learns how to place it before it first shows it.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | (desc.resizable ? SDL_WINDOW_RESIZABLE : 0);
    Rect screen = window->scale.ToScreen(window->geometry.Placed());
    window->sdl = SDL_CreateWindow(desc.title.c_str(), screen.x, screen.y, AtLeastOne(screen.width),
                                   AtLeastOne(screen.height), flags);
    if (!window->sdl)
        return nullptr;
    window->id = SDL_GetWindowID(window->sdl);
    window->colormap = sdl::WindowColormap(window->sdl);
    window->xWindow = x11::XWindowOf(window->sdl);
    x11::PlaceWindowItself(window->sdl);
    windows_.push_back(std::move(window));
    Window* created = windows_.back().get();
    if (desc.visible)
        ShowDisplayWindow(created, true);
    return created;
}

void SdlDriver::DestroyDisplayWindow(Window* window)
{
    if (!Owns(window))
        return;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    contexts_.WithRoot(nullptr, [&] {
        window->frame.Release();
        for (auto& [order, layer] : window->layers)
            Compositor::Delete(layer.image);
    });
    ready_.Forget(window);
    SDL_DestroyWindow(window->sdl);
    window->colormap.Free();
    std::erase_if(windows_, [&](auto& w) { return w.get() == window; });
}

void SdlDriver::SetDisplayWindowRect(Window* window, const Rect& rect)
{
    if (!Owns(window))
        return;
    window->geometry.Place(rect, SDL_GetTicks());
    if (window->fullScreen)
        return;  // the window comes back to where it was before full screen
    window->unsentPlace = rect;
    if (!CoversDesktop(rect))
        SendPlace(*window);
}

// A place that covers the desktop is asked of the window manager only once the program is done
// placing the window (when it next takes events, or shows the window): around full screen the
// program places the window as a popup covering the screen, then elsewhere, and metacity would
// take the first request for full screen. Any other place is asked for at once.
bool SdlDriver::CoversDesktop(const Rect& rect)
{
    Mode desktop = DesktopMode();
    return rect.x <= 0 && rect.y <= 0 && rect.x + int(rect.width) >= int(desktop.width) &&
           rect.y + int(rect.height) >= int(desktop.height);
}

void SdlDriver::SendPlace(Window& window)
{
    if (!window.unsentPlace)
        return;
    Rect rect = *window.unsentPlace;
    window.unsentPlace.reset();
    if (ScreenRectOf(window) == window.scale.ToScreen(rect) && !x11::HasFullScreenState(window.sdl))
        window.geometry.Answered(rect, SDL_GetTicks());  // nothing to ask for
    else
        Request(window, rect);
}

void SdlDriver::SendPlaces()
{
    for (auto& window : windows_)
        SendPlace(*window);
}

// A window manager that holds the window in its full-screen state ignores plain moves and
// resizes (metacity and mutter): it is asked to take the state away first.
void SdlDriver::Request(Window& window, const Rect& rect)
{
    if (window.xWindow) {
        if (x11::HasFullScreenState(window.sdl))
            x11::RequestFullScreenState(window.sdl, false);
        Rect screen = window.scale.ToScreen(rect);
        x11::RequestRect(window.sdl, Rect{screen.x, screen.y, std::uint32_t(AtLeastOne(screen.width)),
                                          std::uint32_t(AtLeastOne(screen.height))});
        return;
    }
    MoveSdlWindow(window, rect);
    if (SizeSdlWindow(window, rect))
        ShowLater(window);
}

Rect SdlDriver::DisplayWindowRect(Window* window)
{
    return Owns(window) ? window->geometry.Placed() : Rect{};
}

void SdlDriver::ShowDisplayWindow(Window* window, bool visible)
{
    if (!Owns(window))
        return;
    window->visible = visible;
    if (!visible) {
        SDL_HideWindow(window->sdl);
        return;
    }
    SendPlace(*window);
    SDL_ShowWindow(window->sdl);
    Rect placed = window->geometry.Placed();
    // The window manager's answer to showing the window tells where it put it.
    window->geometry.Place(placed, SDL_GetTicks());
    // Without a word with the window manager (not X11), a window manager places a new window's
    // frame where the surface was asked to be; the surface then goes where it belongs.
    if (!window->xWindow && !window->fullScreen)
        MoveSdlWindow(*window, placed);
    ShowLater(*window);
}

void SdlDriver::MinimizeDisplayWindow(Window* window, bool minimized)
{
    if (!Owns(window) || window->minimized == minimized)
        return;
    window->minimized = minimized;
    if (minimized) {
        SDL_MinimizeWindow(window->sdl);
    } else {
        SDL_RestoreWindow(window->sdl);
        ShowLater(*window);
    }
}

void SdlDriver::SetDisplayWindowTopmost(Window* window, bool topmost)
{
    if (Owns(window))
        SDL_SetWindowAlwaysOnTop(window->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void SdlDriver::SetDisplayWindowTitle(Window* window, const std::string& title)
{
    if (Owns(window))
        SDL_SetWindowTitle(window->sdl, title.c_str());
}

// On X11 this is the transient-for hint, which window managers frame as a dialog of the owner.
void SdlDriver::SetDisplayWindowOwner(Window* window, Window* owner)
{
    if (Owns(window) && Owns(owner))
        SDL_SetWindowModalFor(window->sdl, owner->sdl);
}

// SDL 2 can give a window an icon but not take it away: an empty image changes nothing.
void SdlDriver::SetDisplayWindowIcon(Window* window, const Image& icon)
{
    if (!Owns(window) || icon.width == 0 || icon.height == 0 ||
        icon.pixels.size() != std::size_t{icon.width} * icon.height)
        return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(icon.pixels.data()), int(icon.width), int(icon.height), 32,
        int(icon.width * sizeof(std::uint32_t)), SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(window->sdl, surface);
    SDL_FreeSurface(surface);
}

bool SdlDriver::EnterFullScreen(Window* window, const Mode& mode)
{
    if (!Owns(window))
        return false;
    ScreenScale scale;
    std::optional<SDL_DisplayMode> offered = FullScreenModeFor(mode, scale);
    if (!offered)
        return false;
    if (fullScreenWindow_ && fullScreenWindow_ != window)
        LeaveFullScreen(fullScreenWindow_);
    if (!window->fullScreen)
        window->windowedRect = window->geometry.Placed();
    window->unsentPlace.reset();  // the screen is the place now
    if (!SwitchToFullScreen(*window, *offered))
        return false;
    window->fullScreen = true;
    window->scale = scale;
    fullScreenWindow_ = window;
    fullScreenMode_ = scale.ToProgram(ModeOf(*offered));
    window->geometry.Place(Rect{0, 0, mode.width, mode.height}, SDL_GetTicks());
    ShowLater(*window);
    return true;
}

// At the desktop's mode on X11 the window manager alone makes the window full screen. SDL's own
// switch waits up to 100 ms for the window manager, and then puts the pointer back where it was
// in the window, which after the switch is another place on the screen: the second click of a
// double-click begun meanwhile would land apart from the first.
bool SdlDriver::SwitchToFullScreen(Window& window, const SDL_DisplayMode& mode)
{
    SDL_DisplayMode desktop;
    if (window.xWindow && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && desktop.w == mode.w && desktop.h == mode.h) {
        x11::RequestFullScreenState(window.sdl, true);
        window.fullScreenByManager = true;
        return true;
    }
    return SDL_SetWindowDisplayMode(window.sdl, &mode) == 0 &&
           SDL_SetWindowFullscreen(window.sdl, SDL_WINDOW_FULLSCREEN) == 0;
}

std::optional<SDL_DisplayMode> SdlDriver::FullScreenModeFor(const Mode& mode, ScreenScale& scale)
{
    Mode desktop = DesktopMode();
    SDL_DisplayMode screen;
    if (desktopScale_.Scales() && mode.width == desktop.width && mode.height == desktop.height &&
        SDL_GetDesktopDisplayMode(0, &screen) == 0) {
        scale = desktopScale_;
        return screen;
    }
    scale = ScreenScale();
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode candidate;
        if (SDL_GetDisplayMode(0, i, &candidate) == 0 && candidate.w == int(mode.width) &&
            candidate.h == int(mode.height) &&
            (mode.refreshRate == 0 || candidate.refresh_rate == int(mode.refreshRate)))
            return candidate;
    }
    return std::nullopt;
}

void SdlDriver::LeaveFullScreen(Window* window)
{
    if (!Owns(window) || !window->fullScreen)
        return;
    if (window->fullScreenByManager)
        x11::RequestFullScreenState(window->sdl, false);
    else
        SDL_SetWindowFullscreen(window->sdl, 0);
    window->fullScreenByManager = false;
    window->fullScreen = false;
    window->scale = desktopScale_;
    if (fullScreenWindow_ == window)
        fullScreenWindow_ = nullptr;
    SetDisplayWindowRect(window, window->windowedRect);
    // Should the window manager not have carried out the request, it is made once more.
    window->putBack = true;
    ShowLater(*window);
}

void SdlDriver::NoticeDesktopChange()
{
    Mode desktop = DesktopMode();
    if (desktop.width == desktopSeen_.width && desktop.height == desktopSeen_.height)
        return;
    desktopSeen_ = desktop;
    ready_.Push(Event{.type = EventType::DesktopChanged});
}

void SdlDriver::UndoMaximize(Window& window)
{
    SDL_RestoreWindow(window.sdl);
    // Until the window manager has put the window back, its reports are of the maximised size;
    // and it may put it back a border's width off.
    window.geometry.Place(window.geometry.Placed(), SDL_GetTicks());
    window.putBack = true;
}

void SdlDriver::TranslateWindowEvent(const SDL_WindowEvent& event)
{
    Window* window = WindowOfId(event.windowID);
    if (!window)
        return;
    auto report = [&](EventType type) { ready_.Push(Event{.type = type, .window = window, .time = event.timestamp}); };
    switch (event.event) {
    case SDL_WINDOWEVENT_EXPOSED: ShowLater(*window); break;
    case SDL_WINDOWEVENT_MOVED: window->geometry.Reported(SDL_GetTicks()); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        window->geometry.Reported(SDL_GetTicks());
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
        if (!window->fullScreen) {
            UndoMaximize(*window);
            report(EventType::MaximizeRequest);
        }
        break;
    case SDL_WINDOWEVENT_CLOSE: report(EventType::CloseRequest); break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: NoticeDesktopChange(); break;
    default: break;
    }
}

// The window manager's answers: where the window is, its frame, its state. A window manager that
// makes a window full screen on its own (metacity and mutter do it to an undecorated window that
// covers the screen) is asked to take that back unless the window was placed to cover the screen.
void SdlDriver::TranslateSystemEvent(const SDL_Event& event)
{
    if (std::optional<std::uint32_t> time = x11::ButtonTimeOf(event)) {
        NoteButtonTime(*time);
        return;
    }
    std::optional<x11::Answer> answer = x11::AnswerOf(event);
    Window* window = answer ? WindowOfXWindow(answer->window) : nullptr;
    if (!window)
        return;
    if (answer->kind != x11::Answer::Kind::State) {
        window->geometry.Answered(ActualRect(*window), SDL_GetTicks());
        return;
    }
    const Rect& placed = window->geometry.Placed();
    if (window->visible && !window->fullScreen && !CoversDesktop(placed) && x11::HasFullScreenState(window->sdl)) {
        window->geometry.Place(placed, SDL_GetTicks());
        Request(*window, placed);
    }
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
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT: break;
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

void SdlDriver::SettleGeometry()
{
    Uint32 now = SDL_GetTicks();
    for (auto& window : windows_) {
        if (!window->geometry.Due(now))
            continue;
        bool maximizedByManager = SDL_GetWindowFlags(window->sdl) & SDL_WINDOW_MAXIMIZED;
        bool reportable = window->visible && !window->minimized && !window->fullScreen && !maximizedByManager;
        if (window->putBack && reportable) {
            window->putBack = false;
            if (!IsWherePlaced(*window)) {
                SetDisplayWindowRect(window.get(), window->geometry.Placed());
                continue;
            }
        }
        if (window->geometry.Settle(ActualRect(*window), reportable))
            ready_.Push(Event{.type = EventType::WindowChanged, .window = window.get(), .time = now});
    }
}

int SdlDriver::UntilNextSettle() const
{
    Uint32 now = SDL_GetTicks();
    int wait = -1;
    for (auto& window : windows_) {
        if (auto settleAt = window->geometry.SettleTime()) {
            int remaining = std::max(0, int(std::int32_t(*settleAt - now)));
            wait = wait < 0 ? remaining : std::min(wait, remaining);
        }
    }
    return wait;
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
        int settle = UntilNextSettle();
        if (settle >= 0)
            wait = wait < 0 ? settle : std::min(wait, settle);
        SDL_Event sdl;
        if (SDL_WaitEventTimeout(&sdl, wait))
            Translate(sdl);
    }
}

void SdlDriver::CaptureMouse(Window* window)
{
    if (videoStarted_)
        SDL_CaptureMouse(window ? SDL_TRUE : SDL_FALSE);
}

GLContext* SdlDriver::CreateGLContext(Window*)
{
    if (!Video())
        return nullptr;
    SDL_GLContext gl = contexts_.Create();
    if (!gl)
        return nullptr;
    glContexts_.push_back(std::make_unique<GLContext>(GLContext{gl}));
    return glContexts_.back().get();
}

void SdlDriver::DestroyGLContext(GLContext* context)
{
    auto found = std::find_if(glContexts_.begin(), glContexts_.end(), [&](auto& c) { return c.get() == context; });
    if (found == glContexts_.end())
        return;
    contexts_.Destroy(context->gl);
    glContexts_.erase(found);
}

bool SdlDriver::MakeCurrent(GLContext* context)
{
    return contexts_.MakeCurrent(context);
}

bool SdlDriver::PresentFramebuffer(Window* window, unsigned framebuffer, std::uint32_t width, std::uint32_t height)
{
    if (!Owns(window) || width == 0 || height == 0 || !window->frame.Keep(framebuffer, width, height))
        return false;
    Show(*window);
    return true;
}

float SdlDriver::SurfaceScale(Window* window)
{
    return Owns(window) ? window->scale.Factor() : desktopScale_.Factor();
}

void SdlDriver::SetFrameArea(Window* window, const Rect& area)
{
    if (!Owns(window) || window->frameArea == area)
        return;
    window->frameArea = area;
    ShowLater(*window);
}

bool SdlDriver::SetLayer(Window* window, int layer, int x, int y, const Image& image)
{
    if (!Owns(window) || image.pixels.size() != std::size_t{image.width} * image.height)
        return false;
    LayerTexture& shown = window->layers[layer];
    shown.x = x;
    shown.y = y;
    if (!contexts_.WithRoot(nullptr, [&] { Compositor::Upload(image, shown.image); }))
        return false;
    ShowLater(*window);
    return true;
}

void SdlDriver::RemoveLayer(Window* window, int layer)
{
    if (!Owns(window))
        return;
    auto found = window->layers.find(layer);
    if (found == window->layers.end())
        return;
    contexts_.WithRoot(nullptr, [&] { Compositor::Delete(found->second.image); });
    window->layers.erase(found);
    ShowLater(*window);
}

bool SdlDriver::Compose(Window& window, GLuint target, std::uint32_t& width, std::uint32_t& height)
{
    window.frame.WaitForCopy();  // the display's context reads the copy the device's context made
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(window.sdl, &drawableWidth, &drawableHeight);
    width = std::uint32_t(std::max(drawableWidth, 0));
    height = std::uint32_t(std::max(drawableHeight, 0));
    Texture frame{window.frame.Texture(), window.frame.Width(), window.frame.Height()};
    Rect area = window.frameArea ? window.scale.ToScreen(*window.frameArea) : Rect{0, 0, width, height};
    return compositor_.Compose(target, width, height, frame, area, window.layers, window.scale);
}

void SdlDriver::ShowLater(Window& window)
{
    window.showDue = true;
}

void SdlDriver::ShowDue()
{
    for (auto& window : windows_) {
        if (window->showDue)
            Show(*window);
    }
}

bool SdlDriver::Show(Window& window)
{
    window.showDue = false;
    if (!window.visible || window.minimized)
        return false;
    bool shown = false;
    contexts_.WithRoot(window.sdl, [&] {
        std::uint32_t width = 0, height = 0;
        if (Compose(window, 0, width, height)) {
            SDL_GL_SwapWindow(window.sdl);
            shown = true;
        }
    });
    return shown;
}

bool SdlDriver::ReadWindowImage(Window* window, Image& image)
{
    if (!Owns(window))
        return false;
    bool read = false;
    contexts_.WithRoot(window->sdl, [&] {
        GLuint framebuffer = 0, colour = 0;
        glGenFramebuffers(1, &framebuffer);
        glGenRenderbuffers(1, &colour);
        int width = 0, height = 0;
        SDL_GL_GetDrawableSize(window->sdl, &width, &height);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, std::max(width, 1), std::max(height, 1));
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        std::uint32_t w = 0, h = 0;
        if (Compose(*window, framebuffer, w, h)) {
            image.width = w;
            image.height = h;
            image.pixels.resize(std::size_t{w} * h);
            glPixelStorei(GL_PACK_ALIGNMENT, 4);
            glPixelStorei(GL_PACK_ROW_LENGTH, 0);
            // GL's rows go up from the bottom; an image's go down from the top.
            for (std::uint32_t row = 0; row < h; ++row)
                glReadPixels(0, GLint(h - 1 - row), GLsizei(w), 1, GL_BGRA, GL_UNSIGNED_BYTE,
                             image.pixels.data() + std::size_t{row} * w);
            read = glGetError() == GL_NO_ERROR;
        }
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteRenderbuffers(1, &colour);
        glDeleteFramebuffers(1, &framebuffer);
    });
    return read;
}

bool SdlDriver::WriteWindowPng(Window* window, const std::string& path)
{
    Image image;
    return ReadWindowImage(window, image) && shared::WritePng(image, path);
}

}  // namespace sdl
}  // namespace quorvane::display

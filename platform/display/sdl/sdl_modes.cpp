// The display's modes, the desktop's mode in the program's pixels, and the screen mode that shows
// a mode of the program's full screen.
#include "display/sdl/sdl_conversions.h"
#include "display/sdl/sdl_driver.h"

#include <algorithm>

namespace quorvane::display::sdl {

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

void SdlDriver::NoticeDesktopChange()
{
    Mode desktop = DesktopMode();
    if (desktop.width == desktopSeen_.width && desktop.height == desktopSeen_.height)
        return;
    desktopSeen_ = desktop;
    ready_.Push(Event{.type = EventType::DesktopChanged});
}

}  // namespace quorvane::display::sdl

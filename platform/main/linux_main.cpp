// Linux process entry: finds the viewer's start-up directory, names the window's class after the
// desktop entry, and hands control to the program's wWinMain as Windows would. The program takes
// no arguments, so the command line it receives is empty.
#include <windows.h>

#include <cstdlib>

#include "main/startup_directory.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

namespace {

// The program reads its current directory while its static objects are made (the settings file's
// path), before main: the start-up directory is entered by a constructor that runs ahead of every
// ordinary static initialiser of the executable (priorities up to 100 are the toolchain's).
__attribute__((constructor(101))) void EnterStartupDirectoryFirst()
{
    if (!quorvane::linux_main::EnterStartupDirectory())
        std::exit(1);
    quorvane::linux_main::ReportMissingData();
}

}  // namespace

int main()
{
    // SDL names the window's class (WM_CLASS on X11, the app id on Wayland) from these; the desktop
    // entry's StartupWMClass is the same id, so the desktop groups the window with its entry.
    setenv("SDL_VIDEO_X11_WMCLASS", QUORVANE_APP_ID, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", QUORVANE_APP_ID, 0);
    static WCHAR emptyCommandLine[] = L"";
    return wWinMain(GetModuleHandleW(nullptr), nullptr, emptyCommandLine, SW_SHOWDEFAULT);
}

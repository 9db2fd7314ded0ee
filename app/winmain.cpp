// Process entry: start-up, the message loop until the window is closed, shut-down. The command
// line is not used.
#include "app/entry.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    const ViewerStartup startup = StartViewer(instance, showCommand);
    if (startup.window == nullptr)
        return noWindowExitCode;
    const int exitCode = RunMessageLoop(startup.accelerators);
    ShutDownViewer();
    return exitCode;
}

// The viewer's process entry in its steps: start-up (strings, window class, Direct3D, settings,
// the main window, the accelerators), the message loop, and shut-down (settings saved, Direct3D
// released). wWinMain runs them in order; tests and the snapshot tool run the same steps.
#pragma once

#include <d3d9.h>
#include <windows.h>

// Process-wide state of the shell, alive for the whole process.
extern WCHAR windowTitle[100];         // string 103: the main window's caption
extern WCHAR windowClassName[100];     // string 109: the main window's class
extern HINSTANCE applicationInstance;  // the module, set when the main window is created
extern IDirect3D9* direct3D;           // one reference; null without a Direct3D runtime

// What start-up made. No window: it could not be created, and Direct3D is released again.
struct ViewerStartup {
    HWND window = nullptr;
    HACCEL accelerators = nullptr;
};

// The exit code when no window could be made: the viewer then did nothing a user asked for.
constexpr int noWindowExitCode = 1;

// Loads the title, the class name and the texts of the help and the full-screen menu, registers the class, creates the Direct3D object, loads the
// settings, creates the main window (WM_CREATE builds the picture), shows and paints it, and
// loads the accelerator table. Without a window nothing is saved, and a debug trace says why.
ViewerStartup StartViewer(HINSTANCE instance, int showCommand);

// One message as the loop handles it: the accelerators are tried first, with the message's own
// window; otherwise it is translated and dispatched.
void HandleMessage(MSG& message, HACCEL accelerators);

// Blocks in GetMessageW, handling every message, until WM_QUIT; returns its exit code.
int RunMessageLoop(HACCEL accelerators);

// After the loop: every setting written back, the Direct3D object released.
void ShutDownViewer();

// The Direct3D object released and set to null (a no-op without one).
void ReleaseDirect3D();

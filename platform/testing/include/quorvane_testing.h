// Controls for tests only: what the headless display offers, failures of the Direct3D runtime,
// simulated device loss, the pictures windows show, input, the shader programs a device keeps,
// and the resources linked into the executable. Nothing in the program calls these, and the
// viewer does not link them.
#pragma once

#include <d3d9.h>

#include <cstddef>
#include <string>
#include <vector>

namespace quorvane::test_controls {

// The display's adapter modes (D3DDISPLAYMODE::Format is ignored: every mode is X8R8G8B8)
// and the desktop size. False when the display is a real one that cannot be configured.
bool SetAdapterModes(const std::vector<D3DDISPLAYMODE>& modes);
bool SetDesktopSize(UINT width, UINT height);

// While refused, the display makes no windows, as a display that cannot be opened (no X server):
// CreateWindowExW of a top-level window fails. False when the display is a real one.
bool SetWindowsRefused(bool refused);

// Direct3DCreate9 returns null while the runtime is unavailable.
void SetDirect3DAvailable(bool available);

// CreateDevice answers D3DERR_NOTAVAILABLE for a device type (D3DDEVTYPE_HAL or
// D3DDEVTYPE_REF) that is made to fail.
void SetDeviceTypeFails(D3DDEVTYPE type, bool fails);

// Device loss: LoseDevice makes TestCooperativeLevel answer D3DERR_DEVICELOST and Present fail;
// MakeDeviceResettable then moves a lost device on to D3DERR_DEVICENOTRESET, from where Reset
// brings it back. A null device means every live device.
void LoseDevice(IDirect3DDevice9* device);
void MakeDeviceResettable(IDirect3DDevice9* device);
// While set, Reset fails as when the back buffer cannot be made (D3DERR_OUTOFVIDEOMEMORY); the
// device then waits for another Reset.
void SetResetFails(bool fails);

// What the platform holds now, read to see that nothing piles up: live windows (top-level and
// child), live menus (bars and pop-ups), live devices, the resources of those devices (every
// pool), and the frames those devices presented since they were created.
struct LiveCounts {
    std::size_t windows = 0;
    std::size_t menus = 0;
    std::size_t devices = 0;
    long deviceResources = 0;
    unsigned long presentedFrames = 0;
    bool operator==(const LiveCounts&) const = default;
};
LiveCounts ReadLiveCounts();

// What a top-level window shows, its surface: the menu bar (if it has one) over the client area,
// which shows the last frame presented, stretched to it. 32-bit pixels 0xAARRGGBB, top row
// first. False for a window without an image.
bool ReadWindowImage(HWND window, UINT& width, UINT& height, std::vector<DWORD>& pixels);
bool WriteWindowPng(HWND window, const std::string& path);

// A device's fixed-function shader programs: how many it keeps now, how many it has compiled
// since it was created, and how many different ones its draws used since the last call.
struct ShaderProgramCounts {
    UINT cached = 0;
    UINT compiled = 0;
    UINT used = 0;
};
ShaderProgramCounts ReadShaderProgramCounts(IDirect3DDevice9* device);

// A resource linked into the executable, as the build step that compiles the resource script
// lists it: type and name are MAKEINTRESOURCEW(id), a name, or "#id"; the language is a LANGID.
struct LinkedResource {
    LPCWSTR type;
    LPCWSTR name;
    const void* bytes;
    DWORD size;
    LANGID language = 0;
};
// FindResourceW, LoadResource, LockResource and SizeofResource serve `resources` for the process
// module. The names and bytes are not copied: they must outlive their use (static data does).
void SetLinkedResources(const std::vector<LinkedResource>& resources);

// Input injected into the display's event source, as a device would deliver it, and turned
// into messages by the same path as real input when the thread next takes messages. Positions
// are the window's client coordinates (a negative y reaches a menu bar above the client area).
// Shift, Control and Alt (VK_SHIFT, VK_CONTROL, VK_MENU) stay held from their key press to
// their release, as on a keyboard. Events carry the input clock's time, which only
// AdvanceInputClock moves. False for a window that is not a top-level one. Another thread may
// inject while the window's thread waits in GetMessageW.
enum class MouseButton {
    Left,
    Right,
    Middle
};
bool InjectMouseMove(HWND window, int x, int y);
bool InjectMouseButton(HWND window, MouseButton button, bool down, int x, int y);
bool InjectMouseWheel(HWND window, float notches, int x, int y);
// A key press or release; `character` is what the key types (0 for none).
bool InjectKey(HWND window, UINT virtualKey, bool down, wchar_t character = 0);
bool InjectText(HWND window, wchar_t character);
void AdvanceInputClock(DWORD milliseconds);

// What a window manager does: the close button, the maximise button or a caption double-click,
// minimising and restoring, and moving or sizing the surface (the client area plus any menu
// bar) to a place on the screen. The window hears of each when the thread next takes messages.
bool InjectCloseRequest(HWND window);
bool InjectMaximizeRequest(HWND window);
bool InjectMinimized(HWND window);
bool InjectRestored(HWND window);
bool MoveSurfaceAsWindowManager(HWND window, int x, int y, UINT width, UINT height);

// Why the display could make no OpenGL context: what the viewer needed and what the machine
// offers; empty while no context failed.
std::string MissingGLProblem();

// Every control above back to how the process started.
void RestoreDefaults();

}  // namespace quorvane::test_controls

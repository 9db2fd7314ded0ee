// Controls for tests only: what the headless display offers, failures of the Direct3D runtime,
// simulated device loss, the pictures windows show, the shader programs a device keeps, and the
// resources linked into the executable. Nothing in the program calls these, and the viewer does
// not link them.
#pragma once

#include <d3d9.h>

#include <string>
#include <vector>

namespace quorvane::test_controls {

// The display's adapter modes (D3DDISPLAYMODE::Format is ignored: every mode is X8R8G8B8)
// and the desktop size. False when the display is a real one that cannot be configured.
bool SetAdapterModes(const std::vector<D3DDISPLAYMODE>& modes);
bool SetDesktopSize(UINT width, UINT height);

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

// What a top-level window shows (the last Present into it): 32-bit pixels 0xAARRGGBB, top row
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
// lists it: type and name are MAKEINTRESOURCEW(id), a name, or "#id".
struct LinkedResource {
    LPCWSTR type;
    LPCWSTR name;
    const void* bytes;
    DWORD size;
};
// FindResourceW, LoadResource, LockResource and SizeofResource serve `resources` for the process
// module. The names and bytes are not copied: they must outlive their use (static data does).
void SetLinkedResources(const std::vector<LinkedResource>& resources);

// Every control above back to how the process started.
void RestoreDefaults();

}  // namespace quorvane::test_controls

// The draw device: the one Direct3D 9 device of the program and everything whose life is tied
// to it — the present parameters, the viewport, the window state saved for leaving full screen,
// the resource sets (a texture registry and a mesh registry per set name) and the reset
// handler. It creates the device with a fixed fallback order and runs the lost/reset protocol
// that keeps every device object usable across IDirect3DDevice9::Reset.
#pragma once

#include "graphics/reference_count.h"
#include "graphics/reset_device_handler.h"
#include "graphics/startup_steps.h"
#include "resources/file_reader.h"

#include <d3d9.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>

class Mesh;
class MeshRegistry;
class Texture;
class TextureRegistry;
struct SceneResourcesRecord;

// The focus window as it was before full screen: its place, menu and styles.
struct SavedWindowState {
    HWND window = nullptr;
    RECT rectangle{};  // screen coordinates
    HMENU menu = nullptr;
    LONG style = 0;
    LONG extendedStyle = 0;

    void Clear() { *this = SavedWindowState(); }
    // The window's rectangle, menu, style and extended style as they are now.
    void Capture(HWND window);
};

// The present parameters the viewer's window starts with: the client size, X8R8G8B8, one
// back buffer, discard, windowed, a 16-bit depth buffer, default rate and interval.
D3DPRESENT_PARAMETERS WindowPresentParameters(HWND window);

class CDrawDevice {
public:
    // Tells the font about device loss and reset (the font is not in a registry).
    class CResetHandler;

    // The set every texture and mesh of the program belongs to.
    static constexpr const wchar_t* defaultSet = L"default";

    // Opens a new draw device and, on success, publishes it as the current draw device of
    // SceneResources (an earlier one must have been released already). E_INVALIDARG for a null
    // direct3D; otherwise Open's result, with the current draw device left as it was.
    static HRESULT Create(IDirect3D9* direct3D, RefPtr<CFileReaderBase4> reader, HWND focusWindow,
                          const D3DPRESENT_PARAMETERS& parameters, RefPtr<CResetDeviceHandler> resetHandler,
                          bool multithreaded, bool pureDevice, bool referenceOnly);

    // Builds everything the frame needs from nothing, releasing what was there first: the draw
    // device, the font, the white texture, the sphere mesh and the Earth texture, recorded in
    // SceneResources, in the order of startupSteps. What was made before a failing step stays
    // until the next release. progress, when given, hears of each step done and of the failed one.
    static HRESULT Initialize(HWND focusWindow, const D3DPRESENT_PARAMETERS& parameters,
                              RefPtr<CFileReaderBase4> reader, IDirect3D9* direct3D, bool multithreaded,
                              bool pureDevice, StartupProgress* progress = nullptr);

    CDrawDevice();
    ~CDrawDevice();
    CDrawDevice(const CDrawDevice&) = delete;
    CDrawDevice& operator=(const CDrawDevice&) = delete;

    // Creates the device (HAL with hardware vertex processing, then HAL with software vertex
    // processing, then the reference rasteriser; only HAL attempts are skipped for referenceOnly),
    // sets the viewport, saves the window state and opens the set "default". A null reader reads
    // files relative to the current directory. Any failure leaves the closed state.
    HRESULT Open(IDirect3D9* direct3D, RefPtr<CFileReaderBase4> reader, HWND focusWindow,
                 const D3DPRESENT_PARAMETERS& parameters, RefPtr<CResetDeviceHandler> resetHandler, bool multithreaded,
                 bool pureDevice, bool referenceOnly);

    // Back to the constructed state: handler dropped, meshes, textures and registries deleted,
    // device released. Harmless when already closed.
    void Close();

    // The lost/reset protocol: textures, meshes, then the handler are told the device is lost;
    // IDirect3DDevice9::Reset; the handler, textures and meshes are told it was reset (also
    // when it failed); statesDirty is set. Returns the device's answer, CO_E_NOTINITIALIZED
    // without a device, and D3DERR_DEVICELOST, with nothing done, while the window has no
    // client area to take a zero back-buffer size from (a minimised window): the back buffer is
    // never reset to an empty size, and the next reset after the window is restored succeeds.
    HRESULT Reset();

    // The device with a reference for the caller; false, with *device null, without one.
    bool GetDevice(IDirect3DDevice9** device) const;

    // Presentation switching, the shell's part of the draw device (app/full_screen.cpp).
    //
    // windowed FALSE: full screen at width x height (0 for either: the client size in that
    // dimension), through the focus window made a topmost popup of that size; TRUE: back to
    // the window as it was (width and height unused). S_OK with no change when already in that
    // state. E_FAIL without a device or when the reset fails (a lost device is no failure); a
    // refused full-screen mode leaves the window and the device as they were, windowed.
    HRESULT ChangeScreenMode(UINT width, UINT height, BOOL windowed);
    // Adopts the window's new client size as the back-buffer size and resets the device (a
    // negative size counts as 0; a window without client area is reset once it has one again).
    // E_FAIL without a device; S_OK for an unchanged size or a lost device.
    HRESULT Resize(int width, int height);
    // The focus window's place, menu and styles before full screen, and their return.
    void SaveWindowState();
    void RestoreWindowState();

    // Back-buffer width / height: the present parameters' sizes when both are set, otherwise
    // the focus window's client size; 1 when that is empty too (a minimised window).
    float GetAspectRatio() const;

    // The texture of fileName in set setName with one more reference for the caller (loaded
    // on first request); 0 for an unknown set or a texture that cannot be had.
    int GetTexture(const std::wstring& setName, LPCWSTR fileName, Texture** texture);
    // The texture registry of setName, or null.
    TextureRegistry* FindTextureRegistry(const std::wstring& setName) const;
    // The mesh registry of setName, or null.
    MeshRegistry* FindMeshRegistry(const std::wstring& setName) const;
    // "mdl\sphere.x" of set setName with one more reference for the caller; 0 on failure.
    int GetSphereMesh(const std::wstring& setName, Mesh** mesh);

    IDirect3DDevice9* device = nullptr;  // one reference; null when closed
    D3DPRESENT_PARAMETERS presentParameters{};
    HWND focusWindow = nullptr;
    D3DVIEWPORT9 viewport{};
    BOOL statesDirty = FALSE;  // the frame must apply its fixed render states again
    SavedWindowState savedWindowState;

private:
    HRESULT CreateDevice(IDirect3D9* direct3D, DWORD behaviorFlags, bool referenceOnly);
    HRESULT SetInitialViewport();
    void BecomeFullScreenPopup(UINT width, UINT height);
    bool HasEmptyBackBuffer() const;

    // Resource sets (resource_sets.cpp): opening, teardown and notification in set-name order.
    void OpenResourceSet(const std::wstring& setName, const RefPtr<CFileReaderBase4>& reader);
    void CloseResourceSets();
    void NotifyLost();
    void NotifyReset();

    std::map<std::wstring, std::unique_ptr<TextureRegistry>> textureRegistries_;
    std::map<std::wstring, std::unique_ptr<MeshRegistry>> meshRegistries_;
    RefPtr<CResetDeviceHandler> resetHandler_;
};

// The current draw device's Windowed present parameter in *windowed; false, with *windowed FALSE,
// when there is no current draw device, and false for a null windowed.
bool IsDrawDeviceWindowed(BOOL* windowed);

class CDrawDevice::CResetHandler : public CResetDeviceHandler {
public:
    explicit CResetHandler(SceneResourcesRecord* record) : record_(record) {}
    void OnLostDevice() override;
    void OnResetDevice() override;

private:
    SceneResourcesRecord* record_;  // not owned; null: nothing to tell
};

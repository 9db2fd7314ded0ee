// The viewer's own picture in a test or a benchmark: a window on the headless display, a
// Direct3D object, and the scene started by CDrawDevice::Initialize exactly as the viewer starts
// it; frames drawn by RenderFrame and read back from the window. The process-wide settings and
// camera go back to their start-up values when it goes.
#pragma once

#include <d3dx9.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/draw_device.h"
#include "graphics/reference_count.h"
#include "resources/file_reader4.h"
#include "test_window.h"

namespace quorvane::tests {

// A directory reader that counts how often each name was opened: every decode of an image or
// parse of an X file reads its file once.
class CountingReader final : public CFileReader4 {
public:
    using CFileReader4::CFileReader4;
    BOOL OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name) override;
    int Opens(const std::wstring& name) const;

private:
    std::map<std::wstring, int> opens_;
};

// A draw device opened in its own window with the viewer's present parameters, closed when it
// goes: for the registries and the lost/reset protocol without the rest of the scene.
class OpenDrawDevice {
public:
    OpenDrawDevice(UINT width, UINT height, RefPtr<CFileReaderBase4> reader,
                   RefPtr<CResetDeviceHandler> resetHandler = nullptr);
    ~OpenDrawDevice();
    OpenDrawDevice(const OpenDrawDevice&) = delete;
    OpenDrawDevice& operator=(const OpenDrawDevice&) = delete;

    HRESULT openResult = E_FAIL;
    TestWindow window;
    IDirect3D9* direct3D = nullptr;
    CDrawDevice drawDevice;
};

class ViewerScene {
public:
    ViewerScene(UINT width, UINT height);
    ~ViewerScene();
    ViewerScene(const ViewerScene&) = delete;
    ViewerScene& operator=(const ViewerScene&) = delete;

    // CDrawDevice::Initialize with the viewer's present parameters for this window.
    HRESULT Initialize(RefPtr<CFileReaderBase4> reader, StartupProgress* progress = nullptr);

    HWND Window() const { return window_.Handle(); }
    IDirect3D9* Direct3D() const { return direct3D_; }
    UINT Width() const { return width_; }
    UINT Height() const { return height_; }

    // RenderFrame, then what the window shows (0xAARRGGBB, top row first); empty when nothing
    // has ever been presented.
    std::vector<DWORD> Frame();
    DWORD At(const std::vector<DWORD>& pixels, int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * width_ + static_cast<std::size_t>(x)];
    }

    // Where a world point shows in the window for the current camera, in pixels; the frame's
    // own projection (60 degrees, this window's aspect ratio).
    POINT ScreenPoint(const D3DXVECTOR3& world) const;

private:
    UINT width_;
    UINT height_;
    TestWindow window_;
    IDirect3D9* direct3D_ = nullptr;
};

// The world point of a model point on the Earth's stereographic image (the plane y = -r),
// lifted by `lift` as the guide lines' images are, for the current Earth orientation.
D3DXVECTOR3 ImagePoint(const D3DXVECTOR3& model, float lift = 0.0f);

// The settings, camera and projection rays as the program starts with them.
void RestoreStartupState();

}  // namespace quorvane::tests

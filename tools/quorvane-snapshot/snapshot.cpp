// One snapshot: settings, window, Direct3D, the viewer's start-up, the actions, one frame, the
// PNG file.
#include "snapshot.h"

#include "png_file.h"

#include "app/settings.h"
#include "graphics/com_reference.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/file_reader4.h"
#include "scene/camera.h"
#include "scene/render_frame.h"

#include <quorvane_testing.h>

#include <d3d9.h>
#include <windows.h>

#include <boost/format.hpp>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace quorvane::snapshot {

namespace {

const wchar_t windowClassName[] = L"QuorvaneSnapshot";
constexpr int wheelNotch = 120;

std::wstring Widen(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

std::string Hex(HRESULT hr)
{
    return (boost::format("0x%08X") % static_cast<unsigned long>(static_cast<DWORD>(hr))).str();
}

// The settings of the start-up directory, as the viewer reads them; never written back.
void LoadStartupSettings(const std::wstring& directory)
{
    WCHAR iniPath[MAX_PATH];
    MakeIniPath(directory.c_str(), iniPath);  // an empty path (too long) keeps the defaults
    ViewerSettings = InitSettings(iniPath);
    LoadSettings();
}

LRESULT CALLBACK SnapshotWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window whose client area has the requested size, destroyed with the object.
class SnapshotWindow {
public:
    SnapshotWindow(unsigned width, unsigned height)
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = SnapshotWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = windowClassName;
        RegisterClassExW(&windowClass);
        RECT rect{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
        AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
        window_ = CreateWindowExW(0, windowClassName, L"Quorvane", WS_OVERLAPPEDWINDOW, 0, 0, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~SnapshotWindow()
    {
        if (window_ != nullptr)
            DestroyWindow(window_);
    }
    SnapshotWindow(const SnapshotWindow&) = delete;
    SnapshotWindow& operator=(const SnapshotWindow&) = delete;

    HWND Handle() const { return window_; }

private:
    HWND window_ = nullptr;
};

// The scene is released before the window and the Direct3D object go.
struct SceneGuard {
    ~SceneGuard() { ReleaseSceneResources(); }
};

// Why a data file could not be used: missing, empty, or not what the viewer reads.
std::string DataFileProblem(const std::string& directory, const std::string& name, const char* expected)
{
    const std::filesystem::path path = std::filesystem::path(directory) / "Data" / "mdl" / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return "missing data file " + path.string();
    if (std::filesystem::file_size(path, error) == 0)
        return "empty data file " + path.string();
    return path.string() + " is not " + expected;
}

// The cause of a failed start-up, from what it left behind in SceneResources.
std::string StartupProblem(HRESULT hr, const Request& request)
{
    const std::string code = " (CDrawDevice::Initialize returned " + Hex(hr) + ")";
    if (SceneResources.drawDevice == nullptr)
        return "the Direct3D device could not be created: IDirect3D9::CreateDevice failed" + code;
    if (SceneResources.font == nullptr)
        return "D3DXCreateFontIndirectW failed" + code;
    if (SceneResources.whiteTexture == nullptr)
        return "the white texture could not be made" + code;
    if (SceneResources.sphereMesh == nullptr)
        return DataFileProblem(request.directory, "sphere.x", "an X file with a mesh") + code;
    return DataFileProblem(request.directory, "EarthMap_2500x1250.jpg", "an image") + code;
}

BOOL* ToggledFlag(int functionKey)
{
    switch (functionKey) {
    case 1: return &ViewerSettings.showHelp;
    case 2: return &ViewerSettings.showLatitudeLines;
    case 3: return &ViewerSettings.showLongitudeLines;
    case 4: return &ViewerSettings.showEarth;
    case 5: return &ViewerSettings.showEarthOutline;
    default: return nullptr;  // F6 only redraws
    }
}

// What the viewer does with the same input; the window procedure will take these over.
void Apply(const Action& action)
{
    switch (action.kind) {
    case Action::Kind::LeftDrag: DragRotateEarth(action.dx, action.dy); break;
    case Action::Kind::RightDrag: DragOrbitCamera(action.dx, action.dy); break;
    case Action::Kind::Wheel:
        for (int i = 0; i < std::abs(action.notches); ++i)
            MoveCameraByWheel(action.notches > 0 ? wheelNotch : -wheelNotch);
        break;
    case Action::Kind::Key:
        if (BOOL* flag = ToggledFlag(action.functionKey))
            *flag = *flag ? FALSE : TRUE;
        break;
    }
}

// The frame the window shows, at the requested size; false when none was presented.
bool PresentedFrame(HWND window, const Request& request, std::vector<DWORD>& pixels)
{
    UINT width = 0, height = 0;
    return test_controls::ReadWindowImage(window, width, height, pixels) && width == request.width &&
           height == request.height;
}

// Writes the picture beside output, then renames it into place: output is never partial.
bool WritePicture(const std::vector<DWORD>& pixels, const Request& request, std::ostream& errors)
{
    const std::string partial = request.output + "." + std::to_string(getpid()) + ".partial";
    std::string error;
    if (!WriteRgbPng(partial, request.width, request.height, pixels, error)) {
        std::remove(partial.c_str());
        errors << "quorvane-snapshot: " << error << "\n";
        return false;
    }
    if (std::rename(partial.c_str(), request.output.c_str()) != 0) {
        errors << "quorvane-snapshot: cannot rename " << partial << " to " << request.output << ": "
               << std::strerror(errno) << "\n";
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace

int MakeSnapshot(const Request& request, std::ostream& errors)
{
    const std::wstring directory = Widen(request.directory);
    LoadStartupSettings(directory);

    SnapshotWindow window(request.width, request.height);
    if (window.Handle() == nullptr) {
        errors << "quorvane-snapshot: CreateWindowExW failed\n";
        return pictureFailed;
    }
    ComReference<IDirect3D9> direct3D;
    *direct3D.Out() = Direct3DCreate9(D3D_SDK_VERSION);
    if (!direct3D) {
        errors << "quorvane-snapshot: Direct3DCreate9 failed: no Direct3D runtime\n";
        return pictureFailed;
    }

    SceneGuard scene;
    RefPtr<CFileReaderBase4> reader = new CFileReader4((directory + L"\\Data").c_str());
    const HRESULT hr = CDrawDevice::Initialize(window.Handle(), WindowPresentParameters(window.Handle()), reader,
                                               direct3D.Get(), false, false);
    if (FAILED(hr)) {
        errors << "quorvane-snapshot: " << StartupProblem(hr, request) << "\n";
        return pictureFailed;
    }

    for (const Action& action : request.actions)
        Apply(action);
    RenderFrame();
    std::vector<DWORD> pixels;
    if (!PresentedFrame(window.Handle(), request, pixels)) {
        errors << "quorvane-snapshot: no frame was presented\n";
        return pictureFailed;
    }
    return WritePicture(pixels, request, errors) ? succeeded : pictureFailed;
}

}  // namespace quorvane::snapshot

// One snapshot: the viewer started in the request's directory exactly as wWinMain starts it, its
// main window on the headless display sized to the request, the actions given as the input a
// person would give (button down, move, button up; wheel turns; key presses; moves without a button), the messages
// handled as the viewer's loop handles them, and the frame the window then shows written as PNG.
#include "snapshot.h"

#include "png_file.h"
#include "viewer_session.h"

#include "app/commands.h"
#include "app/entry.h"
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/file_reader4.h"

#include <quorvane_testing.h>

#include <d3d9.h>
#include <windows.h>

#include <boost/format.hpp>

#include <algorithm>
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

namespace fs = std::filesystem;

std::string Hex(HRESULT hr)
{
    return (boost::format("0x%08X") % static_cast<unsigned long>(static_cast<DWORD>(hr))).str();
}

// Why a data file could not be used: missing, empty, or not what the viewer reads. The file is
// looked for in the current directory, and named as the request named its directory.
std::string DataFileProblem(const std::string& directory, const std::string& name, const char* expected)
{
    const fs::path path = fs::path("Data") / "mdl" / name;
    const std::string named = (fs::path(directory) / path).string();
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return "missing data file " + named;
    if (fs::file_size(path, error) == 0)
        return "empty data file " + named;
    return named + " is not " + expected;
}

// What a failed step of the start-up needs: the call that failed, or the data file it read.
std::string StepProblem(StartupStep step, const std::string& directory)
{
    switch (step) {
    case StartupStep::Device:
        if (std::string gl = test_controls::MissingGLProblem(); !gl.empty())
            return "the Direct3D device could not be created: " + gl;
        return "the Direct3D device could not be created: IDirect3D9::CreateDevice failed";
    case StartupStep::Font: return "D3DXCreateFontIndirectW failed";
    case StartupStep::WhiteTexture: return "the white texture could not be made";
    case StartupStep::Sphere: return DataFileProblem(directory, "sphere.x", "an X file with a mesh");
    case StartupStep::EarthTexture: break;
    }
    return DataFileProblem(directory, QUORVANE_EARTH_IMAGE, "an image");
}

// The window procedure keeps no trace of a failed start-up, so it runs once more here, outside
// the window procedure, and says which step failed; what it made is released again.
std::string StartupProblem(HWND window, const std::string& directory)
{
    RefPtr<CFileReaderBase4> reader = new CFileReader4(L"Data");
    StartupProgress progress;
    const HRESULT hr =
        CDrawDevice::Initialize(window, WindowPresentParameters(window), reader, direct3D, false, false, &progress);
    const std::string code = " (CDrawDevice::Initialize returned " + Hex(hr) + ")";
    std::string problem = "the viewer's start-up failed once and worked when tried again";
    if (progress.failed)
        problem = StepProblem(*progress.failed, directory) + code;
    ReleaseSceneResources();
    return problem;
}

// A drag as one move with the button down. It starts at the client area's edge it moves away
// from, so that its end stays within the 16-bit range of mouse positions.
void InjectDrag(HWND window, test_controls::MouseButton button, const Action& action, const Request& request)
{
    const int x = action.dx >= 0 ? 0 : static_cast<int>(request.width) - 1;
    const int y = action.dy >= 0 ? 0 : static_cast<int>(request.height) - 1;
    test_controls::InjectMouseButton(window, button, true, x, y);
    test_controls::InjectMouseMove(window, x + action.dx, y + action.dy);
    test_controls::InjectMouseButton(window, button, false, x + action.dx, y + action.dy);
}

void Inject(HWND window, const Action& action, const Request& request)
{
    const int centreX = static_cast<int>(request.width / 2), centreY = static_cast<int>(request.height / 2);
    switch (action.kind) {
    case Action::Kind::LeftDrag: InjectDrag(window, test_controls::MouseButton::Left, action, request); break;
    case Action::Kind::RightDrag: InjectDrag(window, test_controls::MouseButton::Right, action, request); break;
    case Action::Kind::Wheel:
        for (int i = 0; i < std::abs(action.notches); ++i)
            test_controls::InjectMouseWheel(window, action.notches > 0 ? 1.0f : -1.0f, centreX, centreY);
        break;
    case Action::Kind::Key: {
        const auto key = static_cast<UINT>(functionKeys[action.functionKey - 1].key);
        test_controls::InjectKey(window, key, true);
        test_controls::InjectKey(window, key, false);
        break;
    }
    case Action::Kind::Pointer: test_controls::InjectMouseMove(window, action.x, action.y); break;
    case Action::Kind::Circle:
        test_controls::InjectKey(window, VK_CONTROL, true);
        test_controls::InjectMouseButton(window, test_controls::MouseButton::Left, true, action.x, action.y);
        test_controls::InjectMouseMove(window, action.endX, action.endY);
        test_controls::InjectMouseButton(window, test_controls::MouseButton::Left, false, action.endX, action.endY);
        test_controls::InjectKey(window, VK_CONTROL, false);
        break;
    }
}

// The client area of what the window shows: the surface's bottom rows, under the menu bar.
bool ClientPicture(HWND window, const Request& request, std::vector<DWORD>& pixels)
{
    UINT width = 0, height = 0;
    std::vector<DWORD> surface;
    if (!test_controls::ReadWindowImage(window, width, height, surface) || width != request.width ||
        height < request.height)
        return false;
    pixels.assign(surface.end() - static_cast<std::ptrdiff_t>(request.width) * request.height, surface.end());
    return true;
}

// Writes the picture beside output, then renames it into place: output is never partial.
bool WritePicture(const std::vector<DWORD>& pixels, const Request& request, const std::string& output,
                  std::ostream& errors)
{
    const std::string partial = output + "." + std::to_string(getpid()) + ".partial";
    std::string error;
    if (!WriteRgbPng(partial, request.width, request.height, pixels, error)) {
        std::remove(partial.c_str());
        errors << "quorvane-snapshot: " << error << "\n";
        return false;
    }
    if (std::rename(partial.c_str(), output.c_str()) != 0) {
        errors << "quorvane-snapshot: cannot rename " << partial << " to " << output << ": " << std::strerror(errno)
               << "\n";
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

int Fail(std::ostream& errors, const std::string& problem)
{
    errors << "quorvane-snapshot: " << problem << "\n";
    return pictureFailed;
}

}  // namespace

int MakeSnapshot(const Request& request, std::ostream& errors)
{
    // The output is found before the start-up directory becomes the current one, as the viewer's.
    std::error_code error;
    const std::string output = fs::absolute(request.output, error).string();
    fs::current_path(request.directory, error);
    if (error)
        return Fail(errors, "cannot start in " + request.directory + ": " + error.message());
    ViewerSettings = InitSettingsInCurrentDirectory();
    if (!request.language.empty())
        SetThreadUILanguage(request.language == "ja" ? MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN)
                                                     : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));

    RunningViewer viewer;
    const HWND window = viewer.Window();
    if (window == nullptr)
        return Fail(errors, "the viewer's main window could not be created");
    if (direct3D == nullptr)
        return Fail(errors, "Direct3DCreate9 failed: no Direct3D runtime");
    if (!SceneStarted())
        return Fail(errors, StartupProblem(window, request.directory));
    if (!SizeClientArea(window, request.width, request.height))
        return Fail(errors, "the window's client area cannot be made " + std::to_string(request.width) + "x" +
                                std::to_string(request.height));

    for (const Action& action : request.actions)
        Inject(window, action, request);
    InvalidateRect(window, nullptr, FALSE);  // a frame also when no action asked for one
    HandleWaitingMessages(viewer.Accelerators());
    std::vector<DWORD> pixels;
    if (!ClientPicture(window, request, pixels))
        return Fail(errors, "no frame was presented");
    return WritePicture(pixels, request, output, errors) ? succeeded : pictureFailed;
}

}  // namespace quorvane::snapshot

// The window procedure: the creation sequence, and each message handed to the job that handles
// it. Every message ends in DefWindowProcW unless its row returns 0 itself.
#include "app/main_window.h"

#include "app/about_box.h"
#include "app/commands.h"
#include "app/display_modes.h"
#include "app/entry.h"
#include "app/full_screen.h"
#include "app/mouse.h"
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/file_reader4.h"
#include "scene/render_frame.h"

#include <new>

namespace {

// WM_CREATE: the menu shows the settings, the display modes are listed, and the draw device
// is created with the viewer's scene. Without a device the window still opens, without a
// picture; running out of memory on the way is handled the same way.
void OnCreate(HWND hwnd)
{
    UpdateViewMenuChecks(hwnd);
    try {
        RefPtr<CFileReaderBase4> reader = new CFileReader4(L"Data");
        if (direct3D != nullptr)
            EnumerateDisplayModes();
        BuildScreenModeMenu(hwnd);
        const HRESULT hr = CDrawDevice::Initialize(hwnd, WindowPresentParameters(hwnd), reader, direct3D, false, false);
        if (FAILED(hr))
            ReleaseSceneResources();
    } catch (const std::bad_alloc&) {
        ReleaseSceneResources();
    }
}

void OnSize(LPARAM lParam)
{
    if (SceneResources.drawDevice != nullptr)
        SceneResources.drawDevice->Resize(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
}

}  // namespace

void Invalidate(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: OnCreate(hwnd); break;
    case WM_PAINT: RenderFrame(); break;
    // The frame is presented before DefWindowProcW's BeginPaint erases: the class brush would
    // paint over it (the whole client area at start-up, where a dialog was after it closes).
    // With a device the frame covers the client area, and nothing is erased.
    case WM_ERASEBKGND:
        if (SceneResources.drawDevice != nullptr)
            return 1;
        break;
    case WM_SIZE: OnSize(lParam); break;
    case WM_CLOSE:
        ReleaseSceneResources();
        DestroyWindow(hwnd);
        break;
    case WM_DESTROY:
        ReleaseSceneResources();
        PostQuitMessage(0);
        break;
    // The session ends without the message loop running again (a log-off; the page's end in
    // the browser): the settings are saved now, as the loop's end would save them.
    case WM_ENDSESSION:
        if (wParam)
            SaveSettings();
        break;
    case WM_DISPLAYCHANGE:
        ShowScreenModes(hwnd);
        Invalidate(hwnd);
        break;
    case WM_NCLBUTTONDBLCLK:
        if (wParam != HTCAPTION)
            break;
        EnterDesktopFullScreen();
        Invalidate(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        if (wParam != SC_MAXIMIZE)
            break;
        EnterDesktopFullScreen();  // the maximise button and the system menu go full screen
        Invalidate(hwnd);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam != VK_RETURN)
            break;
        ToggleFullScreen(hwnd);  // Alt+Enter
        return 0;
    case WM_LBUTTONDBLCLK: ToggleFullScreen(hwnd); break;
    case WM_KEYDOWN: OnFunctionKey(hwnd, wParam); break;
    case WM_COMMAND: OnCommand(hwnd, LOWORD(wParam)); break;
    case WM_LBUTTONDOWN: StartLeftDrag(hwnd, wParam, lParam); break;
    case WM_LBUTTONUP: EndDrag(leftDragging); break;
    case WM_RBUTTONDOWN: StartDrag(hwnd, rightDragging, lParam); break;
    case WM_RBUTTONUP: EndDrag(rightDragging); break;
    case WM_MOUSEMOVE: OnMouseMove(hwnd, wParam, lParam); break;
    case WM_MOUSEWHEEL: OnMouseWheel(hwnd, wParam); break;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// The steps of the process entry and the blocking message loop. There is no idle processing:
// frames are drawn only when the window procedure handles WM_PAINT.
#include "app/entry.h"

#include "app/interface_texts.h"
#include "app/main_window.h"
#include "app/resource.h"
#include "app/settings.h"

#include <boost/format.hpp>

WCHAR windowTitle[100];
WCHAR windowClassName[100];
HINSTANCE applicationInstance = nullptr;
IDirect3D9* direct3D = nullptr;

namespace {

// A failed registration is not examined: it shows up as a failed window creation.
void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;  // double-clicks toggle full screen
    windowClass.lpfnWndProc = MainWndProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUORVANE));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDC_QUORVANE);
    windowClass.lpszClassName = windowClassName;
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(IDI_SMALL));
    RegisterClassExW(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance)
{
    applicationInstance = instance;
    return CreateWindowExW(0, windowClassName, windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                           nullptr, nullptr, instance, nullptr);
}

}  // namespace

ViewerStartup StartViewer(HINSTANCE instance, int showCommand)
{
    LoadStringW(instance, IDS_APP_TITLE, windowTitle, 100);
    LoadStringW(instance, IDC_QUORVANE, windowClassName, 100);
    LoadInterfaceTexts(instance);
    RegisterMainWindowClass(instance);
    direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    LoadSettings();
    const HWND window = CreateMainWindow(instance);
    if (window == nullptr) {
        const DWORD error = GetLastError();
        OutputDebugStringW(
            (boost::wformat(L"Quorvane: the main window could not be created (error %u)\r\n") % error).str().c_str());
        ReleaseDirect3D();
        return ViewerStartup{};
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);  // the first frame
    return ViewerStartup{window, LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDC_QUORVANE))};
}

void HandleMessage(MSG& message, HACCEL accelerators)
{
    if (TranslateAcceleratorW(message.hwnd, accelerators, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int RunMessageLoop(HACCEL accelerators)
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0))
        HandleMessage(message, accelerators);
    return static_cast<int>(message.wParam);
}

void ReleaseDirect3D()
{
    if (direct3D != nullptr) {
        direct3D->Release();
        direct3D = nullptr;
    }
}

void ShutDownViewer()
{
    SaveSettings();
    ReleaseDirect3D();
}

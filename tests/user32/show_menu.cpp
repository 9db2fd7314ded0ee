// Opens a window with the test resource script's menu on the SDL display, a Direct3D picture in
// its client area, and its accelerators: Alt+"?" or Alt+"/" (or the Help menu) opens the About
// box. It runs its message loop until the window is closed or the given number of seconds has
// passed, so that the menu bar, an open pop-up and the dialog can be looked at
// (import -window root) and driven by hand or by xdotool.
//
//   sdl_show_menu [seconds]
#include <d3d9.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "resources/test_resources.h"
#include "test_window.h"

namespace {

IDirect3DDevice9* device = nullptr;

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        if (device) {
            device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF305080, 1.0f, 0);
            device->Present(nullptr, nullptr, nullptr, nullptr);
        }
        break;
    case WM_COMMAND:
        std::printf("command %u\n", unsigned(LOWORD(wParam)));
        if (LOWORD(wParam) == IDC_ABOUT)
            DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT), window, AboutProcedure, 0);
        else if (LOWORD(wParam) == IDC_EXIT)
            PostMessageW(window, WM_CLOSE, 0, 0);
        else
            CheckMenuItem(GetMenu(window), LOWORD(wParam),
                          (GetMenuState(GetMenu(window), LOWORD(wParam), MF_BYCOMMAND) & MF_CHECKED) ? MF_UNCHECKED
                                                                                                     : MF_CHECKED);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TEST));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    wc.lpszClassName = L"ShowMenu";
    RegisterClassExW(&wc);
    RECT rect{0, 0, 480, 320};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, TRUE, 0);
    HWND window = CreateWindowExW(0, L"ShowMenu", L"Quorvane", WS_OVERLAPPEDWINDOW, 100, 80, rect.right - rect.left,
                                  rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = quorvane::tests::WindowedParameters(window, 480, 320);
    if (!direct3d || FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device)))
        std::fprintf(stderr, "no Direct3D device\n");
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    quorvane::tests::RunMessageLoopFor(seconds, accelerators);
    if (device)
        device->Release();
    if (direct3d)
        direct3d->Release();
    return 0;
}

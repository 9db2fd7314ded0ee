// Opens a window on the SDL display with a Direct3D device in it and shows a picture: four
// coloured quarters and, over the client area's top, a translucent band in a layer. It runs its
// message loop until the window is closed or the given number of seconds has passed, so that
// the window can be looked at (import -window root) and driven by hand or by xdotool.
//
//   sdl_show_window [seconds]
#include <d3d9.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "test_window.h"
#include "user32/window_surface.h"

namespace {

IDirect3DDevice9* device = nullptr;

void DrawQuarters(UINT width, UINT height)
{
    const D3DCOLOR colours[4] = {0xFFE03030, 0xFF30A030, 0xFF3050E0, 0xFFE0E040};
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
    for (int i = 0; i < 4; ++i) {
        D3DRECT quarter{LONG(i % 2 * width / 2), LONG(i / 2 * height / 2), LONG((i % 2 + 1) * width / 2),
                        LONG((i / 2 + 1) * height / 2)};
        device->Clear(1, &quarter, D3DCLEAR_TARGET, colours[i], 1.0f, 0);
    }
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        RECT client;
        GetClientRect(window, &client);
        if (device)
            DrawQuarters(UINT(client.right), UINT(client.bottom));
        break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_LBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_SYSCOMMAND:
    case WM_SIZE:
        std::printf("message 0x%04X wParam 0x%llX lParam 0x%llX\n", message, (unsigned long long)wParam,
                    (unsigned long long)lParam);
        break;
    case WM_DESTROY: PostQuitMessage(0); break;
    default: break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ShowWindow";
    RegisterClassExW(&wc);
    RECT rect{0, 0, 400, 300};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND window =
        CreateWindowExW(0, L"ShowWindow", L"SDL display: 表示", WS_OVERLAPPEDWINDOW, 100, 80, rect.right - rect.left,
                        rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return 1;
    IDirect3D9* direct3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS parameters = quorvane::tests::WindowedParameters(window, 400, 300);
    if (!direct3d || FAILED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                                   D3DCREATE_HARDWARE_VERTEXPROCESSING, &parameters, &device)))
        std::fprintf(stderr, "no Direct3D device\n");
    quorvane::display::Image band{400, 24, std::vector<std::uint32_t>(400 * 24, 0x80FFFFFFu)};
    quorvane::user32::SetSurfaceLayer(window, 0, POINT{0, 0}, band);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    quorvane::tests::RunMessageLoopFor(seconds);
    if (device)
        device->Release();
    if (direct3d)
        direct3d->Release();
    return 0;
}

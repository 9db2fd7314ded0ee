#include "test_window.h"

#include <chrono>
#include <thread>

#include "graphics/draw_device.h"

namespace quorvane::tests {

namespace {

const wchar_t className[] = L"QuorvaneD3D9Test";

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterTestClass()
{
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    registered = RegisterClassExW(&wc) != 0;
}

}  // namespace

TestWindow::TestWindow(int clientWidth, int clientHeight)
{
    RegisterTestClass();
    RECT rect{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
    window_ = CreateWindowExW(0, className, L"test", WS_OVERLAPPEDWINDOW, 10, 10, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TestWindow::~TestWindow()
{
    if (window_)
        DestroyWindow(window_);
}

D3DPRESENT_PARAMETERS WindowedParameters(HWND window, UINT width, UINT height)
{
    D3DPRESENT_PARAMETERS pp = WindowPresentParameters(window);  // the viewer's own
    pp.BackBufferWidth = width;
    pp.BackBufferHeight = height;
    return pp;
}

void RunMessageLoopFor(int seconds, HACCEL accelerators)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    MSG msg;
    bool quit = false;
    while (!quit && std::chrono::steady_clock::now() < end) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            quit = quit || msg.message == WM_QUIT;
            if (accelerators && TranslateAcceleratorW(msg.hwnd, accelerators, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace quorvane::tests

#include "viewer_session.h"

#include "graphics/scene_resources.h"

namespace quorvane::snapshot {

namespace {

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

}  // namespace

bool HandleWaitingMessages(HACCEL accelerators)
{
    MSG message{};
    for (int i = 0; i < 100000 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message == WM_QUIT)
            return true;
        HandleMessage(message, accelerators);
    }
    return false;
}

RunningViewer::RunningViewer() : startup_(StartViewer(GetModuleHandleW(nullptr), SW_SHOWNORMAL))
{
}

RunningViewer::~RunningViewer()
{
    if (IsWindow(startup_.window)) {
        SendMessageW(startup_.window, WM_CLOSE, 0, 0);
        HandleWaitingMessages(startup_.accelerators);
    }
    ReleaseDirect3D();
}

bool SceneStarted()
{
    return SceneResources.drawDevice != nullptr && SceneResources.sphereMesh != nullptr &&
           SceneResources.earthTexture != nullptr;
}

// The menu bar may take more than one line, so the frame is corrected by what is measured.
bool SizeClientArea(HWND window, unsigned width, unsigned height)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const SIZE client = ClientSize(window);
        if (client.cx == static_cast<LONG>(width) && client.cy == static_cast<LONG>(height))
            return true;
        RECT frame{};
        GetWindowRect(window, &frame);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + static_cast<LONG>(width) - client.cx,
                     frame.bottom - frame.top + static_cast<LONG>(height) - client.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    const SIZE client = ClientSize(window);
    return client.cx == static_cast<LONG>(width) && client.cy == static_cast<LONG>(height);
}

}  // namespace quorvane::snapshot

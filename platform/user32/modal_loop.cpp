#include "user32/modal_loop.h"

#include "user32/message_queue.h"

namespace quorvane::user32 {

ModalStep NextModalMessage(MSG& message, HWND idleOwner, WPARAM kind, LPARAM source,
                           const std::function<bool()>& running)
{
    bool idleSent = false;
    while (!TakeMessage(message, MessageFilter{}, true)) {
        if (!running())
            return ModalStep::Ended;
        if (!idleSent && idleOwner && IsWindow(idleOwner)) {
            idleSent = true;
            SendMessageW(idleOwner, WM_ENTERIDLE, kind, source);
            continue;
        }
        WaitForDeviceEvent();
    }
    if (message.message == WM_QUIT) {
        PostQuitMessage(int(message.wParam));
        return ModalStep::Quit;
    }
    return ModalStep::Message;
}

bool IsKeyMessage(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

}  // namespace quorvane::user32

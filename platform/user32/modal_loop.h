// The message loop that a menu or a dialog box runs nested in the program's: it takes every
// message of the thread, so other windows keep painting and receiving what is posted to them.
#pragma once

#include <windows.h>

#include <functional>

namespace quorvane::user32 {

enum class ModalStep {
    Message,  // a message was taken
    Quit,     // WM_QUIT came: it is posted again for the program's own loop to see
    Ended,    // `running` no longer holds (the loop ended from inside a message it sent)
};

// Takes the next message while `running` holds, sleeping on the display's events while none
// waits. Before sleeping it tells `idleOwner` (if any) once with WM_ENTERIDLE (`kind`,
// `source`), as Windows does for menus and dialog boxes.
ModalStep NextModalMessage(MSG& message, HWND idleOwner, WPARAM kind, LPARAM source,
                           const std::function<bool()>& running);

bool IsKeyMessage(UINT message);
bool IsMouseMessage(UINT message);  // client and non-client

}  // namespace quorvane::user32

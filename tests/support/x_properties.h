// Window properties as an X server holds them, read through an Xlib connection: lists of 32-bit
// items (CARDINAL, ATOM, WINDOW), and the states the window manager lists in _NET_WM_STATE.
#pragma once

#include <vector>

namespace quorvane::tests {

// The items of a 32-bit property of a window (`display` is a Display*); empty when it has none.
std::vector<unsigned long> Property32(void* display, unsigned long window, const char* name);
// Whether a property listing atoms (_NET_WM_ALLOWED_ACTIONS, say) of a window names this one.
bool ListsAtom(void* display, unsigned long window, const char* property, const char* atomName);
// Whether the window manager has the window in this state (an atom of _NET_WM_STATE).
bool HasWindowState(void* display, unsigned long window, const char* state);

}  // namespace quorvane::tests

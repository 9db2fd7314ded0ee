// user32: window classes, windows, messages, menus, dialogs.
#pragma once

#include "windef.h"
#include "winerror.h"

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOW 5
#define SW_SHOWDEFAULT 10

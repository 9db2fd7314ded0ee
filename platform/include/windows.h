// The Win32 subset the program uses, declared with the Windows names and values.
#pragma once

#include "winbase.h"
#include "windef.h"
#include "winerror.h"
#include "wingdi.h"
#include "winnls.h"
#include "winuser.h"

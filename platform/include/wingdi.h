// gdi32: the few calls the program makes.
#pragma once

#include "windef.h"
#include "winerror.h"

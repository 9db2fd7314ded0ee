// kernel32: text helpers, profile (INI) functions, files and mappings, module resources, debug output.
#pragma once

#include "windef.h"
#include "winerror.h"

extern "C" {

HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName);

}

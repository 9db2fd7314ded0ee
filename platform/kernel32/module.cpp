// The one module of a Linux process: the executable itself.
#include <windows.h>

namespace {
// Any stable non-null value serves as the module handle; nothing dereferences it.
HINSTANCE__ processModule{};
}  // namespace

extern "C" HMODULE WINAPI GetModuleHandleW(LPCWSTR moduleName)
{
    return moduleName == nullptr ? &processModule : nullptr;
}

#include "d3d9/lock_region.h"

namespace quorvane::d3d9 {

bool ResolveRect(const RECT* rect, UINT width, UINT height, RECT& resolved)
{
    if (rect == nullptr) {
        resolved = RECT{0, 0, LONG(width), LONG(height)};
        return true;
    }
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        rect->right > LONG(width) || rect->bottom > LONG(height))
        return false;
    resolved = *rect;
    return true;
}

bool KnownLockFlags(DWORD flags)
{
    constexpr DWORD known = D3DLOCK_READONLY | D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE | D3DLOCK_NOSYSLOCK |
                            D3DLOCK_DONOTWAIT | D3DLOCK_NO_DIRTY_UPDATE;
    return (flags & ~known) == 0;
}

}  // namespace quorvane::d3d9

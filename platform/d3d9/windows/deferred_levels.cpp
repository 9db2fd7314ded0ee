// The lower-levels seam on the system's Direct3D 9, which knows no pending levels: every level
// below the top is made at once from the one above it, through the texture's public interface.
#include "d3d9/deferred_levels.h"

namespace quorvane::d3d9 {

HRESULT DeferLowerLevels(IDirect3DTexture9* texture, LevelFill fill)
{
    if (texture == nullptr || !fill) {
        return D3DERR_INVALIDCALL;
    }
    const DWORD levels = texture->GetLevelCount();
    for (DWORD level = 1; level < levels; ++level) {
        D3DLOCKED_RECT above{};
        if (HRESULT hr = texture->LockRect(level - 1, &above, nullptr, D3DLOCK_READONLY); FAILED(hr)) {
            return hr;
        }
        D3DLOCKED_RECT bits{};
        HRESULT hr = texture->LockRect(level, &bits, nullptr, 0);
        if (SUCCEEDED(hr)) {
            fill(level, static_cast<BYTE*>(bits.pBits), static_cast<UINT>(bits.Pitch),
                 static_cast<const BYTE*>(above.pBits), static_cast<UINT>(above.Pitch));
            texture->UnlockRect(level);
        }
        texture->UnlockRect(level - 1);
        if (FAILED(hr)) {
            return hr;
        }
    }
    return D3D_OK;
}

}  // namespace quorvane::d3d9

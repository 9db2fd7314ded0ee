#include "unavailable_device.h"

#include <cstring>

namespace quorvane::tests {

namespace {

bool SameIid(REFIID a, REFIID b)
{
    return std::memcmp(&a, &b, sizeof(IID)) == 0;
}

}  // namespace

HRESULT UnavailableDevice::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!SameIid(riid, IID_IUnknown) && !SameIid(riid, IID_IDirect3DDevice9)) {
        return E_NOINTERFACE;
    }
    AddRef();
    *object = static_cast<IDirect3DDevice9*>(this);
    return S_OK;
}

}  // namespace quorvane::tests

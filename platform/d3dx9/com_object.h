// Reference counting for the D3DX objects: created with one reference, deleted by the
// Release that brings the count to zero.
#pragma once

#include <unknwn.h>

#include <cstring>

namespace quorvane::d3dx9 {

inline bool SameIid(REFIID a, REFIID b) { return std::memcmp(&a, &b, sizeof(IID)) == 0; }

template <typename Interface>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (SameIid(riid, IID_IUnknown) || Implements(riid)) {
            this->AddRef();
            *object = static_cast<Interface*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG AddRef() override { return ++references_; }

    ULONG Release() override
    {
        const ULONG remaining = --references_;
        if (remaining == 0) {
            delete this;
        }
        return remaining;
    }

protected:
    virtual ~ComObject() = default;
    // Whether the object answers QueryInterface for `riid` (IUnknown is always answered).
    virtual bool Implements(REFIID riid) const = 0;

private:
    ULONG references_ = 1;
};

// Releases a COM pointer, if any, and clears it.
template <typename T>
void SafeRelease(T*& object)
{
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace quorvane::d3dx9

// COM reference counting, QueryInterface and getters, shared by the Direct3D and D3DX objects.
#pragma once

#include <d3d9.h>
#include <unknwn.h>

#include <cstring>

namespace quorvane {

inline bool SameIid(REFIID a, REFIID b)
{
    return std::memcmp(&a, &b, sizeof(IID)) == 0;
}

// QueryInterface's answer for an object that hands out `self`: a new reference when the object
// implements the identifier asked for, E_NOINTERFACE (and null) when not.
template <typename Interface>
HRESULT AnswerQueryInterface(Interface* self, bool implemented, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (!implemented) {
        return E_NOINTERFACE;
    }
    self->AddRef();
    *object = self;
    return S_OK;
}

// An object counted by its users alone: created with one reference, deleted by the Release that
// brings the count to zero.
template <typename Interface>
class ComObject : public Interface {
public:
    ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        return AnswerQueryInterface(static_cast<Interface*>(this), SameIid(riid, IID_IUnknown) || Implements(riid),
                                    object);
    }

    ULONG AddRef() override { return ++references_; }

    ULONG Release() override
    {
        if (references_ == 0) {
            return 0;
        }
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

// A getter's answer: `object` in `*out` with a reference for the caller; D3DERR_INVALIDCALL when
// there is nowhere to put it.
template <typename Object, typename Interface>
HRESULT HandOut(Object* object, Interface** out)
{
    if (out == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    object->AddRef();
    *out = object;
    return D3D_OK;
}

// Releases a COM pointer, if any, and clears it.
template <typename T>
void SafeRelease(T*& object)
{
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace quorvane

// What every Direct3D resource (texture, surface, vertex and index buffer) shares: COM reference
// counting and its tie to the device that made it.
//
// Counting follows Direct3D 9. Public references (AddRef/Release) are the application's; while
// a resource has any, it holds one public reference on its device, so a device outlives its
// resources. The device itself holds private references on what is bound to it (a texture in a
// stage, a buffer in a stream) and on the back buffer: they keep the object in memory without
// keeping the device alive, so nothing leaks in a cycle. A resource is deleted when both counts
// are zero.
#pragma once

#include "com/com_object.h"
#include "d3d9/device.h"

namespace quorvane::d3d9 {

class ResourceBase {
public:
    ResourceBase(const ResourceBase&) = delete;
    ResourceBase& operator=(const ResourceBase&) = delete;

    Device* OwningDevice() const { return device_; }
    D3DPOOL Pool() const { return pool_; }
    bool Released() const { return refs_ == 0; }

    void AddPrivateRef() { ++privateRefs_; }
    void ReleasePrivateRef()
    {
        if (privateRefs_ > 0 && --privateRefs_ == 0 && refs_ == 0)
            Destroy();
    }

protected:
    // Created resources start with the creator's public reference; parts owned by another
    // object (a texture's level surfaces, the back buffer) start with none.
    ResourceBase(Device* device, D3DPOOL pool, ULONG initialRefs) : device_(device), pool_(pool)
    {
        for (ULONG i = 0; i < initialRefs; ++i)
            AddPublicRef();
    }

public:
    virtual ~ResourceBase() = default;

protected:
    // Deletes the object through its most derived class.
    virtual void Destroy() = 0;

    ULONG AddPublicRef()
    {
        if (refs_++ == 0) {
            device_->AddRef();
            device_->CountLiveResource(pool_, +1);
        }
        return refs_;
    }

    ULONG ReleasePublicRef()
    {
        if (refs_ == 0)
            return 0;  // released once too often: Direct3D would crash, here it is ignored
        if (--refs_ > 0)
            return refs_;
        Device* device = device_;
        device->CountLiveResource(pool_, -1);
        if (privateRefs_ == 0)
            Destroy();
        // The device may go now, and take privately held resources (this one too) with it.
        device->Release();
        return 0;
    }

private:
    Device* device_;
    D3DPOOL pool_;
    ULONG refs_ = 0;
    ULONG privateRefs_ = 0;
};

// IUnknown and IDirect3DResource9 for one resource interface.
template <class Interface>
class Resource : public Interface, public ResourceBase {
public:
    ULONG AddRef() override { return AddPublicRef(); }
    ULONG Release() override { return ReleasePublicRef(); }

    HRESULT QueryInterface(REFIID riid, void** object) override
    {
        return AnswerQueryInterface(static_cast<Interface*>(this), Implements(riid), object);
    }

    HRESULT GetDevice(IDirect3DDevice9** device) override { return HandOut(OwningDevice(), device); }

    D3DRESOURCETYPE GetType() override { return type_; }

protected:
    void Destroy() override { delete this; }

    Resource(Device* device, D3DRESOURCETYPE type, D3DPOOL pool, ULONG initialRefs)
        : ResourceBase(device, pool, initialRefs), type_(type)
    {
    }

    // The identifiers of Interface and its bases.
    virtual bool Implements(REFIID riid) const
    {
        return SameIid(riid, IID_IUnknown) || SameIid(riid, IID_IDirect3DResource9);
    }

private:
    D3DRESOURCETYPE type_;
};

}  // namespace quorvane::d3d9

// Objects that live with a Direct3D device (meshes, textures): created and held by a registry
// of one resource set, handed out with their refCount raised, told about device loss and reset.
#pragma once

#include <windows.h>

class CDrawDevice;
class DeviceObject;

// What a device object needs of the registry that holds it: the draw device the registry
// belongs to, and the erasure of an object whose last reference went. The mesh and texture
// registries derive from it; each erases by its own key and deletes the object as its own
// type.
class DeviceObjectRegistry {
public:
    explicit DeviceObjectRegistry(CDrawDevice* owner) : owner_(owner) {}
    DeviceObjectRegistry(const DeviceObjectRegistry&) = delete;
    DeviceObjectRegistry& operator=(const DeviceObjectRegistry&) = delete;

    CDrawDevice* Owner() const { return owner_; }

    // Removes the object's entry and deletes the object.
    virtual void EraseReleased(DeviceObject* object) = 0;

protected:
    ~DeviceObjectRegistry() = default;

private:
    CDrawDevice* owner_;
};

class DeviceObject {
public:
    // refCount 1 for the first holder; owner is the registry's draw device (null without one).
    explicit DeviceObject(DeviceObjectRegistry* registry);
    virtual ~DeviceObject() = default;
    DeviceObject(const DeviceObject&) = delete;
    DeviceObject& operator=(const DeviceObject&) = delete;

    virtual void OnLostDevice() {}
    virtual void OnResetDevice() {}

    // Ends one holder's use. The release that brings refCount to 0 or below has the registry
    // erase and delete the object, so the caller must not touch it afterwards. An object
    // without a registry is only forgotten by the caller.
    void Release();

    LONG refCount;
    CDrawDevice* owner;              // not owned
    DeviceObjectRegistry* registry;  // not owned; null for none
};

// Calls one notification on every object of a registry's map (key -> object pointer) in key
// order. The iterator moves on before the call, so an object that erases itself during it does
// not break the walk; empty entries are skipped.
template <class Map>
void NotifyDeviceObjects(Map& objects, void (DeviceObject::*notification)())
{
    for (auto entry = objects.begin(); entry != objects.end();) {
        DeviceObject* object = entry->second;
        ++entry;
        if (object != nullptr)
            (object->*notification)();
    }
}

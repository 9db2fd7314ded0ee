// A device object's life as its registry's holders see it.
#include "graphics/device_object.h"

DeviceObject::DeviceObject(DeviceObjectRegistry* registry)
    : refCount(1), owner(registry != nullptr ? registry->Owner() : nullptr), registry(registry)
{
}

void DeviceObject::Release()
{
    if (registry == nullptr)
        return;
    if (--refCount <= 0)
        registry->EraseReleased(this);  // deletes this object
}

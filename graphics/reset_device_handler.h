// Told by the draw device when its Direct3D device is lost and after it has been reset, for
// objects outside the registries (the font). Held by RefPtr.
#pragma once

#include "graphics/reference_count.h"

class CResetDeviceHandler : public CReferenceCount {
public:
    virtual void OnLostDevice() = 0;
    virtual void OnResetDevice() = 0;
};

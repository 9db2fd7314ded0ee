// What tests can make the Direct3D runtime do (platform/testing sets it): no runtime at all,
// device types that cannot be created, and the list of live devices to lose.
#pragma once

#include <vector>

namespace quorvane::d3d9 {

class Device;

struct Simulation {
    bool noRuntime = false;  // Direct3DCreate9 returns null
    bool failHal = false;    // CreateDevice(D3DDEVTYPE_HAL) answers D3DERR_NOTAVAILABLE
    bool failRef = false;    // likewise for D3DDEVTYPE_REF
    bool failReset = false;  // Reset cannot make the back buffer: D3DERR_OUTOFVIDEOMEMORY
};

Simulation& CurrentSimulation();

// Devices register while they live, so that tests can lose them all.
void RegisterDevice(Device* device);
void UnregisterDevice(Device* device);
const std::vector<Device*>& LiveDevices();

}  // namespace quorvane::d3d9

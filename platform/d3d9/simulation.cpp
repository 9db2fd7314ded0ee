#include "d3d9/simulation.h"

#include <algorithm>

namespace quorvane::d3d9 {

namespace {

std::vector<Device*>& Devices()
{
    static std::vector<Device*> devices;
    return devices;
}

}  // namespace

Simulation& CurrentSimulation()
{
    static Simulation simulation;
    return simulation;
}

void RegisterDevice(Device* device)
{
    Devices().push_back(device);
}

void UnregisterDevice(Device* device)
{
    std::erase(Devices(), device);
}

const std::vector<Device*>& LiveDevices()
{
    return Devices();
}

}  // namespace quorvane::d3d9

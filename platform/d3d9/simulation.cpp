#include "d3d9/simulation.h"

#include <algorithm>

namespace quorvane::d3d9 {

namespace {

// Never destroyed, like the simulation: devices still alive at process exit (released by the
// program's static objects) unregister themselves here.
std::vector<Device*>& Devices()
{
    static auto* devices = new std::vector<Device*>;
    return *devices;
}

}  // namespace

Simulation& CurrentSimulation()
{
    static auto* simulation = new Simulation;
    return *simulation;
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

// The steps of the picture's start-up (CDrawDevice::Initialize), in the order it takes them, and
// what it tells a caller who wants to follow them: the snapshot tool names the step that failed,
// the start-up benchmark times each one.
#pragma once

#include <functional>
#include <optional>

enum class StartupStep {
    Device,        // the draw device with its Direct3D device (IDirect3D9::CreateDevice)
    Font,          // the overlay font (D3DXCreateFontIndirectW)
    WhiteTexture,  // the 1 x 1 white texture
    Sphere,        // the sphere mesh from sphere.x, whose material brings the Earth image
    EarthTexture,  // the Earth texture, found in the set the sphere filled
};

inline constexpr StartupStep startupSteps[] = {StartupStep::Device, StartupStep::Font, StartupStep::WhiteTexture,
                                               StartupStep::Sphere, StartupStep::EarthTexture};

// One word for a step: "device", "font", "white", "sphere", "earth".
constexpr const char* StartupStepName(StartupStep step)
{
    switch (step) {
    case StartupStep::Device: return "device";
    case StartupStep::Font: return "font";
    case StartupStep::WhiteTexture: return "white";
    case StartupStep::Sphere: return "sphere";
    case StartupStep::EarthTexture: return "earth";
    }
    return "";
}

// What CDrawDevice::Initialize reports as it goes.
struct StartupProgress {
    std::function<void(StartupStep)> stepDone;  // after each step that worked; may be empty
    std::optional<StartupStep> failed;          // the step that failed, when one did
};

#include "uv_sphere.h"

#include <cmath>
#include <numbers>

namespace quorvane::data {

std::array<double, 3> SpherePoint(double longitude, double latitude)
{
    return {std::cos(latitude) * std::sin(longitude), std::sin(latitude), -std::cos(latitude) * std::cos(longitude)};
}

namespace {

SphereVertex MakeVertex(double longitude, double latitude, double u, double v)
{
    const std::array<double, 3> p = SpherePoint(longitude, latitude);
    SphereVertex vertex{};
    for (int i = 0; i < 3; ++i) {
        vertex.position[i] = static_cast<float>(p[i]);
        vertex.normal[i] = static_cast<float>(p[i]);
    }
    vertex.uv = {static_cast<float>(u), static_cast<float>(v)};
    return vertex;
}

}  // namespace

UvSphere MakeUvSphere(int slices, int stacks)
{
    using std::numbers::pi;
    UvSphere sphere;
    // Ring r (1 .. stacks-1) at latitude 90 - 180 r / stacks degrees, with slices + 1 vertices:
    // the first and last share a position on the -180 meridian but carry u = 0 and u = 1.
    const auto ringStart = [&](int ring) { return static_cast<std::uint32_t>(slices + (ring - 1) * (slices + 1)); };
    // Pole vertices, one per slice so that each cap triangle takes the u of its own slice.
    for (int s = 0; s < slices; ++s) {
        const double u = (s + 0.5) / slices;
        sphere.vertices.push_back(MakeVertex(-pi + 2 * pi * u, pi / 2, u, 0.0));
    }
    for (int ring = 1; ring < stacks; ++ring) {
        const double v = static_cast<double>(ring) / stacks;
        for (int s = 0; s <= slices; ++s) {
            const double u = static_cast<double>(s) / slices;
            sphere.vertices.push_back(MakeVertex(-pi + 2 * pi * u, pi / 2 - pi * v, u, v));
        }
    }
    const auto southPole = static_cast<std::uint32_t>(sphere.vertices.size());
    for (int s = 0; s < slices; ++s) {
        const double u = (s + 0.5) / slices;
        sphere.vertices.push_back(MakeVertex(-pi + 2 * pi * u, -pi / 2, u, 1.0));
    }

    // Seen from outside with north up, west is left: upper-left, upper-right, lower-right,
    // lower-left is clockwise.
    for (int s = 0; s < slices; ++s) {
        const std::uint32_t first = ringStart(1) + static_cast<std::uint32_t>(s);
        sphere.faces.push_back({static_cast<std::uint32_t>(s), first + 1, first});
    }
    for (int ring = 1; ring + 1 < stacks; ++ring) {
        for (int s = 0; s < slices; ++s) {
            const std::uint32_t upper = ringStart(ring) + static_cast<std::uint32_t>(s);
            const std::uint32_t lower = ringStart(ring + 1) + static_cast<std::uint32_t>(s);
            sphere.faces.push_back({upper, upper + 1, lower + 1, lower});
        }
    }
    for (int s = 0; s < slices; ++s) {
        const std::uint32_t last = ringStart(stacks - 1) + static_cast<std::uint32_t>(s);
        sphere.faces.push_back({last, last + 1, southPole + static_cast<std::uint32_t>(s)});
    }
    return sphere;
}

}  // namespace quorvane::data

// The Earth model: a UV sphere of radius 1 about the origin, poles on the y axis, in
// Direct3D's left-handed frame.
//
// A point at longitude lambda (east positive) and latitude phi (north positive) is
//   (cos phi sin lambda, sin phi, -cos phi cos lambda),
// so the Greenwich meridian faces the initial camera at (0, 0, -10), north is up and east is
// to the right when seen from outside: left-handed, this is not a mirror image. Texture
// coordinates follow an equirectangular map with longitude -180 at u = 0 and the north pole at
// v = 0 (the first row of the image). Faces are clockwise seen from outside, Direct3D's front.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quorvane::data {

struct SphereVertex {
    std::array<float, 3> position;
    std::array<float, 3> normal;
    std::array<float, 2> uv;
};

struct UvSphere {
    std::vector<SphereVertex> vertices;
    // Polygons as vertex indices: triangles at the poles, quads (planar) in between.
    std::vector<std::vector<std::uint32_t>> faces;
};

// `slices` segments around the axis, `stacks` from pole to pole (both at least 3 and 2).
UvSphere MakeUvSphere(int slices, int stacks);

// The model point of a longitude and latitude in radians.
std::array<double, 3> SpherePoint(double longitude, double latitude);

}  // namespace quorvane::data

// Measures how far the stereographic image of the sphere mesh strays from the exact image,
// in pixels of a 1920 x 1080 view, to choose the mesh density.
//
// The Earth image is the mesh drawn through the projection matrix: each flat triangle lands
// on the plane as a flat triangle, its texture interpolated on the chord. The exact image puts
// the texel (u, v) where the projection takes the sphere point of that longitude and latitude.
// Near the projection centre the projection magnifies strongly, so the chords' error grows
// there. For each triangle, sample points are compared in screen space over a set of camera
// positions (the viewer's orbit: distance 2.1 and 10, elevation 0.01 to 1.55, four azimuths)
// and Earth orientations (poles up, and tilted so that equatorial triangles, the largest ones,
// pass near the centre). Prints the largest displacement per density.
//
//   quorvane_sphere_density [slices...]
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>
#include <vector>

#include "uv_sphere.h"

namespace {

using quorvane::data::MakeUvSphere;
using quorvane::data::SpherePoint;
using quorvane::data::UvSphere;
using std::numbers::pi;

using Vec3 = std::array<double, 3>;
using Vec4 = std::array<double, 4>;
using Mat4 = std::array<double, 16>;  // row vectors, m[row * 4 + column]

Vec4 Transform(const Vec4& v, const Mat4& m)
{
    Vec4 out{};
    for (int c = 0; c < 4; ++c) {
        out[c] = v[0] * m[c] + v[1] * m[4 + c] + v[2] * m[8 + c] + v[3] * m[12 + c];
    }
    return out;
}

Mat4 Multiply(const Mat4& a, const Mat4& b)
{
    Mat4 out{};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            for (int k = 0; k < 4; ++k) {
                out[r * 4 + c] += a[r * 4 + k] * b[k * 4 + c];
            }
        }
    }
    return out;
}

Vec3 Sub(Vec3 a, Vec3 b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(Vec3 a, Vec3 b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec3 Normalize(Vec3 a)
{
    const double l = std::sqrt(Dot(a, a));
    return {a[0] / l, a[1] / l, a[2] / l};
}

// D3DXMatrixLookAtLH and D3DXMatrixPerspectiveFovLH.
Mat4 LookAtLH(Vec3 eye, Vec3 at, Vec3 up)
{
    const Vec3 z = Normalize(Sub(at, eye));
    const Vec3 x = Normalize(Cross(up, z));
    const Vec3 y = Cross(z, x);
    return {x[0], y[0], z[0], 0, x[1], y[1], z[1], 0, x[2], y[2], z[2], 0, -Dot(x, eye), -Dot(y, eye), -Dot(z, eye), 1};
}

Mat4 PerspectiveFovLH(double fovY, double aspect, double zn, double zf)
{
    const double yScale = 1 / std::tan(fovY / 2);
    const double xScale = yScale / aspect;
    return {xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, zf / (zf - zn), 1, 0, 0, -zn * zf / (zf - zn), 0};
}

Mat4 RotationX(double a)
{
    const double c = std::cos(a), s = std::sin(a);
    return {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1};
}

Mat4 RotationY(double a)
{
    const double c = std::cos(a), s = std::sin(a);
    return {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
}

// The projection onto the plane below the Earth, as the viewer uses it.
const Mat4 stereographic = {2.02, 0, 0, 0, 0, 1.01, 0, -1.0201, 0, 0, 2.02, 0, 0, -1.0, 0, 1.01};

constexpr double width = 1920;
constexpr double height = 1080;

// Screen position of a model point through orientation, projection, view and perspective;
// false when it has no image or falls outside the view.
bool Screen(const Vec3& model, const Mat4& worldToClip, std::array<double, 2>& screen)
{
    const Vec4 clip = Transform({model[0], model[1], model[2], 1}, worldToClip);
    if (!(clip[3] > 1e-12)) {
        return false;
    }
    const double x = clip[0] / clip[3], y = clip[1] / clip[3], z = clip[2] / clip[3];
    if (std::fabs(x) > 1 || std::fabs(y) > 1 || z < 0 || z > 1) {
        return false;
    }
    screen = {(x + 1) * width / 2, (1 - y) * height / 2};
    return true;
}

// Image radius bounds (distance from the image of the bottom point, world units) by which
// the worst displacement is reported: the error grows towards the projection centre, whose
// image is at infinity.
constexpr std::array<double, 6> radiusBounds = {2, 4, 8, 16, 64, 1000};

struct Worst {
    std::array<double, radiusBounds.size()> pixels{};
};

double ImageRadius(const Vec3& model, const Mat4& orientation)
{
    const Vec4 h = Transform(Transform({model[0], model[1], model[2], 1}, orientation), stereographic);
    return std::hypot(h[0], h[2]) / std::fabs(h[3]);
}

Worst Measure(const UvSphere& sphere, const std::vector<Mat4>& orientations, double distance)
{
    const Mat4 projection = PerspectiveFovLH(pi / 3, width / height, 1.0, 1000.0);
    Worst worst;
    constexpr int steps = 4;  // samples per triangle edge
    for (const Mat4& orientation : orientations) {
        for (double elevation : {0.01, 0.5, 1.0, 1.55}) {
            for (double azimuth : {0.0, pi / 2, pi, 3 * pi / 2}) {
                const Vec3 eye = {-distance * std::sin(azimuth) * std::cos(elevation), distance * std::sin(elevation),
                                  -distance * std::cos(azimuth) * std::cos(elevation)};
                const Vec3 up = {std::sin(azimuth) * std::sin(elevation), std::cos(elevation),
                                 std::cos(azimuth) * std::sin(elevation)};
                const Mat4 toClip =
                    Multiply(Multiply(Multiply(orientation, stereographic), LookAtLH(eye, {0, 0, 0}, up)), projection);
                for (const auto& face : sphere.faces) {
                    for (std::size_t corner = 1; corner + 1 < face.size(); ++corner) {
                        const auto& a = sphere.vertices[face[0]];
                        const auto& b = sphere.vertices[face[corner]];
                        const auto& c = sphere.vertices[face[corner + 1]];
                        for (int i = 0; i <= steps; ++i) {
                            for (int j = 0; i + j <= steps; ++j) {
                                const double wb = double(i) / steps, wc = double(j) / steps, wa = 1 - wb - wc;
                                Vec3 chord{};
                                for (int k = 0; k < 3; ++k) {
                                    chord[k] = wa * a.position[k] + wb * b.position[k] + wc * c.position[k];
                                }
                                const double u = wa * a.uv[0] + wb * b.uv[0] + wc * c.uv[0];
                                const double v = wa * a.uv[1] + wb * b.uv[1] + wc * c.uv[1];
                                const std::array<double, 3> exact = SpherePoint(-pi + 2 * pi * u, pi / 2 - pi * v);
                                std::array<double, 2> meshScreen{}, exactScreen{};
                                if (!Screen(chord, toClip, meshScreen) ||
                                    !Screen({exact[0], exact[1], exact[2]}, toClip, exactScreen)) {
                                    continue;
                                }
                                const double pixels =
                                    std::hypot(meshScreen[0] - exactScreen[0], meshScreen[1] - exactScreen[1]);
                                const double radius = ImageRadius({exact[0], exact[1], exact[2]}, orientation);
                                for (std::size_t k = 0; k < radiusBounds.size(); ++k) {
                                    if (radius <= radiusBounds[k]) {
                                        worst.pixels[k] = std::max(worst.pixels[k], pixels);
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }
    return worst;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> slicesToTry;
    for (int i = 1; i < argc; ++i) {
        slicesToTry.push_back(std::atoi(argv[i]));
    }
    if (slicesToTry.empty()) {
        slicesToTry = {32, 64, 96, 128, 192, 256};
    }
    const Mat4 upright = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::printf("worst displacement in pixels (1920x1080) of the image points within radius R of the plane's centre\n");
    std::printf("slices stacks vertices triangles distance |");
    for (double bound : radiusBounds) {
        std::printf(" R<=%-5g", bound);
    }
    std::printf("\n");
    for (int slices : slicesToTry) {
        const int stacks = slices / 2;
        const UvSphere sphere = MakeUvSphere(slices, stacks);
        std::size_t triangles = 0;
        for (const auto& face : sphere.faces) {
            triangles += face.size() - 2;
        }
        // Equator through the centre, once on a vertex and once half a cell off.
        const std::vector<Mat4> tilted = {RotationX(pi / 2),
                                          Multiply(RotationY(pi / slices), RotationX(pi / 2 + pi / (2 * stacks)))};
        std::vector<Mat4> orientations = tilted;
        orientations.push_back(upright);
        for (double distance : {10.0, 2.1}) {
            const Worst worst = Measure(sphere, orientations, distance);
            std::printf("%6d %6d %8zu %9zu %8.1f |", slices, stacks, sphere.vertices.size(), triangles, distance);
            for (double pixels : worst.pixels) {
                std::printf(" %8.3f", pixels);
            }
            std::printf("\n");
        }
        std::fflush(stdout);
    }
    return 0;
}

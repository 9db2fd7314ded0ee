// The UV sphere behind Data/mdl/sphere.x: unit radius, poles on y, faces clockwise seen from
// outside, texture longitude growing eastwards.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "sphere_x_writer.h"
#include "uv_sphere.h"

namespace quorvane::data {
namespace {

using Vec = std::array<double, 3>;
Vec Sub(const std::array<float, 3>& a, const std::array<float, 3>& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec Cross(const Vec& a, const Vec& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

TEST(SphereGenerator, VerticesLieOnTheUnitSphereWithOutwardNormals)
{
    const UvSphere sphere = MakeUvSphere(16, 8);
    EXPECT_EQ(sphere.vertices.size(), 16u * 2 + 17u * 7);
    EXPECT_EQ(sphere.faces.size(), 16u * 8);
    for (const SphereVertex& v : sphere.vertices) {
        EXPECT_NEAR(std::hypot(v.position[0], v.position[1], v.position[2]), 1.0, 1e-6);
        EXPECT_EQ(v.normal, v.position);
        EXPECT_GE(v.uv[0], 0.0f);
        EXPECT_LE(v.uv[0], 1.0f);
        // v runs from the north pole (0) to the south pole (1).
        EXPECT_NEAR(v.uv[1], (1 - v.position[1] < 1e-9 ? 0.0 : std::acos(v.position[1]) / std::numbers::pi), 1e-5);
    }
}

TEST(SphereGenerator, FacesAreClockwiseSeenFromOutsideAndQuadsArePlanar)
{
    const UvSphere sphere = MakeUvSphere(16, 8);
    for (const auto& face : sphere.faces) {
        ASSERT_GE(face.size(), 3u);
        const auto& a = sphere.vertices[face[0]].position;
        // Left-handed frame, clockwise front faces: cross(b - a, c - a) points towards the viewer.
        for (std::size_t i = 1; i + 1 < face.size(); ++i) {
            const Vec normal =
                Cross(Sub(sphere.vertices[face[i]].position, a), Sub(sphere.vertices[face[i + 1]].position, a));
            Vec centre{0, 0, 0};
            for (std::uint32_t corner : face) {
                for (int k = 0; k < 3; ++k) {
                    centre[k] += sphere.vertices[corner].position[k];
                }
            }
            EXPECT_GT(normal[0] * centre[0] + normal[1] * centre[1] + normal[2] * centre[2], 0.0);
        }
        if (face.size() == 4) {
            const Vec normal =
                Cross(Sub(sphere.vertices[face[1]].position, a), Sub(sphere.vertices[face[2]].position, a));
            const Vec fourth = Sub(sphere.vertices[face[3]].position, a);
            EXPECT_NEAR(normal[0] * fourth[0] + normal[1] * fourth[1] + normal[2] * fourth[2], 0.0, 1e-6);
        }
    }
}

TEST(SphereGenerator, TextureLongitudeGrowsEastwardsSeenFromOutside)
{
    // Seen from outside at the Greenwich meridian (from -z, y up), east is +x; u must grow
    // with x there: going east on the map is going right on the globe, not a mirror image.
    const UvSphere sphere = MakeUvSphere(16, 8);
    for (const SphereVertex& v : sphere.vertices) {
        const double longitude = std::atan2(v.position[0], -v.position[2]);
        if (std::cos(std::asin(v.position[1])) < 1e-6 || std::fabs(std::fabs(longitude) - std::numbers::pi) < 1e-6) {
            continue;  // poles and the seam, where u is 0 and 1 at once
        }
        EXPECT_NEAR(v.uv[0], (longitude + std::numbers::pi) / (2 * std::numbers::pi), 1e-6);
    }
    const std::array<double, 3> greenwich = SpherePoint(0, 0);
    const std::array<double, 3> east = SpherePoint(0.1, 0);
    EXPECT_NEAR(greenwich[2], -1.0, 1e-12);
    EXPECT_GT(east[0], greenwich[0]);
}

TEST(SphereGenerator, TextFileNamesTheEarthImageOnce)
{
    const std::string text = WriteSphereX(MakeUvSphere(8, 4), QUORVANE_EARTH_IMAGE, "test");
    EXPECT_EQ(text.rfind("xof 0302txt 0032", 0), 0u);
    EXPECT_NE(text.find("\"" QUORVANE_EARTH_IMAGE "\";"), std::string::npos);
    EXPECT_EQ(text.find("-0.000000"), std::string::npos);
}

}  // namespace
}  // namespace quorvane::data

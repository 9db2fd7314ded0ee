// The projection's scale and Tissot's circles against values worked out by hand from the
// geometry: the centre C = (0, r, 0), the plane y = -r, r = 1 / 1.01, the unit Earth. With
// y the height of P, the horizontal scale is 2 / (1 - 1.01 y) and the radial one
// 2 (1.01 - y) / (1 - 1.01 y)^2 (both 2r / (r - y) and 2r (1 - r y) / (r - y)^2 with the
// factors of 1.01 cleared).
#include <gtest/gtest.h>

#include "scene/projection_scale.h"
#include "scene/scale_readout.h"
#include "scene/tissot_circles.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>

namespace {

constexpr double degree = 3.14159265358979323846 / 180.0;
constexpr double fiveDegrees = 5.0 * degree;

struct ScaleCase {
    const char* where;
    double y;
    double radial, horizontal, linear, area;
};

// The bottom point: 2 / 2.01 both ways, as the plane lies 2r below C and the point 1 + r.
// The equator: 2 across and 2.02 along; k = sqrt(4.04). Near C's height (y = 0.9): 2 / 0.091
// across and 0.22 / 0.091^2 along.
const ScaleCase scaleCases[] = {
    {"foot point", -1.0, 0.9950249, 0.9950249, 0.9950249, 0.9900745},
    {"equator", 0.0, 2.02, 2.0, 2.0099751, 4.04},
    {"near the centre", 0.9, 26.566840, 21.978022, 24.163745, 583.88659},
};

TEST(TissotGeometry, ScaleFactorsWorkedByHand)
{
    for (const ScaleCase& c : scaleCases) {
        const ProjectionScale scale = ScaleAtHeight(c.y);
        EXPECT_NEAR(scale.radial, c.radial, 2e-6 * c.radial) << c.where;
        EXPECT_NEAR(scale.horizontal, c.horizontal, 2e-6 * c.horizontal) << c.where;
        EXPECT_NEAR(scale.linear, c.linear, 2e-6 * c.linear) << c.where;
        EXPECT_NEAR(scale.area, c.area, 2e-6 * c.area) << c.where;
    }
    EXPECT_EQ(ScaleText(D3DXVECTOR3(1.0f, 0.0f, 0.0f)), L" k=2.01 k\u00B2=4.04");
    EXPECT_EQ(ScaleText(D3DXVECTOR3(0.0f, 1.0f, 0.0f)), L"");  // above C: no image
}

// At P = (1, 0, 0) a tangent going up (0, 1, 0) images to (2.02, 0) and one going along z to
// (0, 2). The meridian and parallel of an Earth turned 45 degrees about x there run along
// (0, 1, +-1) / sqrt 2: their images (+-2.02, 2) cross at acos((4 - 2.02^2) / (4 + 2.02^2)).
TEST(TissotGeometry, ImagesOfDirectionsAndTheirAngle)
{
    const D3DXVECTOR3 p(1.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 up = ImageOfDirection(p, D3DXVECTOR3(0.0f, 1.0f, 0.0f));
    EXPECT_NEAR(up.x, 2.02f, 1e-5f);
    EXPECT_NEAR(up.z, 0.0f, 1e-6f);
    const D3DXVECTOR3 across = ImageOfDirection(p, D3DXVECTOR3(0.0f, 0.0f, 1.0f));
    EXPECT_NEAR(across.z, 2.0f, 1e-5f);
    const float h = std::sqrt(0.5f);
    EXPECT_NEAR(ImageAngleDegrees(p, D3DXVECTOR3(0, h, h), D3DXVECTOR3(0, -h, h)), 90.570103, 1e-4);
    EXPECT_NEAR(ImageAngleDegrees(p, D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 0, 1)), 90.0, 1e-6);
}

// The circle of 5 degrees about (0, 0, -1): along z its points at heights +-sin 5 image at
// 2r cos 5 / (r -+ sin 5) = 2.1847029 and 1.8311943, half their gap 0.1767543. Across, the image
// x = 2r s cos t / (r - s sin t) (s = sin 5) is largest at sin t = s / r: 2rs / sqrt(r^2 - s^2).
TEST(TissotGeometry, CircleImageRadiiWorkedByHand)
{
    const auto radii = CircleImageRadii(D3DXVECTOR3(0.0f, 0.0f, -1.0f), fiveDegrees, 720);
    ASSERT_TRUE(radii);
    EXPECT_NEAR(radii->radial, 0.1767543, 1e-5);
    EXPECT_NEAR(radii->across, 0.1749908, 1e-5);
    // About the bottom point the image is a circle of radius 2r sin 5 / (r + cos 5).
    const auto bottom = CircleImageRadii(D3DXVECTOR3(0.0f, -1.0f, 0.0f), fiveDegrees, 720);
    ASSERT_TRUE(bottom);
    EXPECT_NEAR(bottom->radial, 0.0868883, 1e-5);
    EXPECT_NEAR(bottom->across, 0.0868883, 1e-5);
    EXPECT_FALSE(CircleImageRadii(D3DXVECTOR3(0.0f, 1.0f, 0.0f), fiveDegrees, 720));  // around C
}

struct CentreCase {
    int latitudeInterval, longitudeInterval;
    std::size_t count;  // 0: not worked out by hand
    std::size_t rows;   // latitudes with circles, poles apart (0: not worked out)
};

// 30/30: 2 poles and 2 crossings on each of 6 great circles at 5 latitudes; 0/0 the equator and one
// great circle; 45/90 3 latitudes and 2 great circles; 1/90 every tenth degree up to 80 (a circle
// at 85 would touch the pole's), 30/2 all 5 drawn latitudes; the others thinned both ways.
const CentreCase centreCases[] = {{30, 30, 62, 5}, {0, 0, 4, 1},   {45, 90, 14, 3}, {30, 2, 0, 5}, {1, 90, 70, 17},
                                  {10, 10, 0, 0},  {15, 15, 0, 0}, {1, 1, 0, 0},    {7, 7, 0, 0}};

// Every centre on a pole or where a drawn latitude meets a drawn meridian, no two circles
// overlapping (centres two radii apart or more), at most mostTissotCircles.
TEST(TissotGeometry, CentresAtTheGraticulesCrossings)
{
    for (const CentreCase& c : centreCases) {
        const std::string label = std::to_string(c.latitudeInterval) + "/" + std::to_string(c.longitudeInterval);
        const auto centres = TissotCentres(c.latitudeInterval, c.longitudeInterval);
        EXPECT_EQ(centres.size(), c.count ? c.count : std::clamp(centres.size(), std::size_t(4), mostTissotCircles));
        std::set<long> rows;
        for (std::size_t i = 2; i < centres.size(); ++i) {  // the poles first
            const double latitude = std::asin(centres[i].y) / degree;
            // A great circle turned by t about the vertical carries the meridians t and t + 180.
            const double turn = std::fmod(std::atan2(-centres[i].z, centres[i].x) / degree + 360.0 + 1e-3, 180.0);
            for (const auto& [angle, interval] :
                 {std::pair{latitude, c.latitudeInterval}, std::pair{turn - 1e-3, c.longitudeInterval}})
                EXPECT_NEAR(angle, interval > 0 ? std::round(angle / interval) * interval : 0.0, 1e-3) << label;
            rows.insert(std::lround(latitude));
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_GE(std::acos(std::max(-1.0f, D3DXVec3Dot(&centres[i], &centres[j]))) / degree,
                          2 * tissotRadiusDegrees - 1e-3)
                    << label << ": " << i << ", " << j;
        }
        EXPECT_EQ(rows.size(), c.rows ? c.rows : rows.size()) << label;
    }
    // 30/30 holds the Earth's front point (0 N, 0 E) and 30 N, 60 E.
    const auto centres = TissotCentres(30, 30);
    const float c30 = std::cos(0.5235987f), s30 = 0.5f;
    const D3DXVECTOR3 front(0, 0, -1), north(c30 * std::sin(1.0471975f), s30, -c30 * 0.5f);
    for (const D3DXVECTOR3& wanted : {front, north}) {
        const auto at = TissotCircleAt(centres, wanted);
        ASSERT_TRUE(at);
        D3DXVECTOR3 gap = centres[*at] - wanted;
        EXPECT_LT(D3DXVec3Length(&gap), 1e-4f);
    }
    // 4 degrees from the front point lies in its circle, 6 degrees in none.
    EXPECT_TRUE(TissotCircleAt(centres, D3DXVECTOR3(std::sin(0.0698132f), 0, -std::cos(0.0698132f))));
    EXPECT_FALSE(TissotCircleAt(centres, D3DXVECTOR3(std::sin(0.1047198f), 0, -std::cos(0.1047198f))));
}

}  // namespace

// Drawn circles' geometry against values worked by hand, with r = 1/1.01 and 2r = 1.980198:
// a point at angle a from the bottom of the projection sphere has its image 2r tan(a/2) from the
// foot point, and a point (a along a horizontal direction, b up) of the unit sphere 2r a/(1 - b).
#include "scene/circle_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::tests {
namespace {

constexpr double h = 0.70710678118654752;  // sin 45 degrees
constexpr double degree = 3.14159265358979323846 / 180.0;

struct ImageCase {
    const char* what;
    DoubleVector centre, through;  // picked on the sphere
    double radiusDegrees;          // of the circle about centre through `through`
    bool isLine;
    double x, z, radius;  // the image circle, or for a line its normal's x, z and offset
    double dotX;          // the image of the circle's centre, on the x axis
};

const ImageCase imageCases[] = {
    // About the foot: the image is about the foot point too, 2r tan(a/2) wide.
    {"equator about the bottom", {0, -1, 0}, {1, 0, 0}, 90, false, 0, 0, 1.980198, 0},
    {"60 degrees about the bottom", {0, -1, 0}, {0.866025404, -0.5, 0}, 60, false, 0, 0, 1.143268, 0},
    // Through the projection centre (0, 1, 0): a line; its other end (1, 0, 0) goes to x = 2r.
    {"through the top", {h, h, 0}, {1, 0, 0}, 45, true, 1, 0, 1.980198, 4.780621},
    {"meridian through the top", {0, 0, -1}, {0, -1, 0}, 90, true, 0, 1, 0, 0},
    // Ends (cos 30, +-sin 30): 2r cos30 / 0.5 = 3.429804 and 2r cos30 / 1.5 = 1.143268; the
    // centre's image 2r lies apart from the image's centre 2.286536.
    {"30 degrees about the equator", {1, 0, 0}, {0.866025404, -0.5, 0}, 30, false, 2.286536, 0, 1.143268, 1.980198},
    // Beyond a quarter turn the same circle is kept about the opposite point.
    {"picked wide", {0, 1, 0}, {0.866025404, -0.5, 0}, 60, false, 0, 0, 1.143268, 0},
};

TEST(CircleGeometry, CirclesPickedOnTheSphereAndTheirImagesAsWorkedByHand)
{
    for (const ImageCase& c : imageCases) {
        const std::optional<SphereCircle> circle = CircleAbout(c.centre, c.through);
        ASSERT_TRUE(circle) << c.what;
        EXPECT_NEAR(circle->radius / degree, c.radiusDegrees, 1e-6) << c.what;
        const PlaneCurve image = ImageOfCircle(*circle);
        ASSERT_EQ(image.isLine, c.isLine) << c.what;
        if (c.isLine) {
            // The normal's sign is free: compare the line as a set.
            const double sign = image.normal.x * c.x + image.normal.z * c.z;
            EXPECT_NEAR(std::abs(sign), 1.0, 1e-9) << c.what;
            EXPECT_NEAR(image.offset * sign, c.radius, 1e-5) << c.what;
        } else {
            EXPECT_NEAR(image.centre.x, c.x, 1e-5) << c.what;
            EXPECT_NEAR(image.centre.z, c.z, 1e-5) << c.what;
            EXPECT_NEAR(image.radius, c.radius, 1e-5) << c.what;
            // Drawn on the plane, the circle's image is the circle it came from.
            const std::optional<SphereCircle> back = CircleOfImage(image.centre, image.radius);
            ASSERT_TRUE(back) << c.what;
            // A great circle is as much about the opposite point.
            const double same = Dot(back->centre, circle->centre);
            EXPECT_NEAR(c.radiusDegrees == 90 ? std::abs(same) : same, 1.0, 1e-9) << c.what;
            EXPECT_NEAR(back->radius, circle->radius, 1e-9) << c.what;
        }
        const std::optional<PlanePoint> dot = ImageOfDirection(circle->centre);
        ASSERT_TRUE(dot) << c.what;
        EXPECT_NEAR(dot->x, c.dotX, 1e-5) << c.what;
        // Every point of the circle lies on its image.
        for (double turn = 0.1; turn < 6.3; turn += 0.7) {
            const std::optional<PlanePoint> q = ImageOfDirection(PointOfCircle(*circle, turn));
            ASSERT_TRUE(q) << c.what;
            const double miss = image.isLine ? q->x * image.normal.x + q->z * image.normal.z - image.offset
                                             : std::hypot(q->x - image.centre.x, q->z - image.centre.z) - image.radius;
            EXPECT_NEAR(miss, 0.0, 1e-9 * (1.0 + std::hypot(q->x, q->z))) << c.what << " at " << turn;
        }
    }
    EXPECT_FALSE(CircleAbout({0, -1, 0}, {0, -2, 0}));
    EXPECT_FALSE(CircleOfImage({1, 1}, 0.0));
}

struct CrossingCase {
    SphereCircle first, second;
    double degrees;  // the acute angle from cos t = (cos d - cos a1 cos a2) / (sin a1 sin a2); < 0: none
};

const CrossingCase crossingCases[] = {
    {{{0, -1, 0}, 90 * degree}, {{1, 0, 0}, 90 * degree}, 90.0},       // equator and a meridian
    {{{0, -1, 0}, 60 * degree}, {{1, 0, 0}, 60 * degree}, 70.528779},  // cos t = -1/3
    {{{0, -1, 0}, 45 * degree}, {{0, 0, 1}, 60 * degree}, 54.735610},
    {{{1, 0, 0}, 30 * degree}, {{0, -1, 0}, 80 * degree}, 72.217331},
    {{{h, h, 0}, 45 * degree}, {{0, 0, 1}, 90 * degree}, 90.0},  // one image a line
    {{{0, -1, 0}, 10 * degree}, {{1, 0, 0}, 10 * degree}, -1},   // apart
    {{{0, -1, 0}, 20 * degree}, {{0, -1, 0}, 40 * degree}, -1},  // one about the other
    {{{0, -1, 0}, 40 * degree}, {{0, 1, 0}, 40 * degree}, -1},   // opposite centres
};

TEST(CircleGeometry, CirclesAndTheirImagesCrossAtTheSameAngle)
{
    for (const CrossingCase& c : crossingCases) {
        const std::optional<CrossingAngles> angles = AnglesOfCrossing(c.first, c.second);
        ASSERT_EQ(angles.has_value(), c.degrees >= 0) << c.degrees;
        if (!angles)
            continue;
        EXPECT_NEAR(angles->onSphere, c.degrees, 1e-5);
        EXPECT_NEAR(angles->inImage, angles->onSphere, 0.01) << c.degrees;
    }
}

}  // namespace
}  // namespace quorvane::tests

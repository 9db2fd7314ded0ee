#include "viewer_picture.h"

#include <cmath>

namespace quorvane::tests {

namespace {

const double halfFieldTangent = std::tan(M_PI / 6);  // of half the vertical field of view

int Side(int half)
{
    return 2 * half + 1;
}

}  // namespace

ScreenPoint Project(const WorldPoint& point, const ScreenRect& client, double distance)
{
    const double aspect = double(client.width) / double(client.height);
    const double depth = point.z + distance;
    const double x = point.x / (depth * halfFieldTangent * aspect);
    const double y = point.y / (depth * halfFieldTangent);
    return {client.x + int(std::floor((x + 1) / 2 * client.width)),
            client.y + int(std::floor((1 - y) / 2 * client.height))};
}

double ApparentRadius(double radius, const ScreenRect& client, double distance)
{
    // The silhouette of a sphere is the cone of half-angle asin(radius / distance).
    return std::tan(std::asin(radius / distance)) / halfFieldTangent * client.height / 2;
}

ScreenPoint FromCentre(const ScreenRect& client, double pixels, double degrees)
{
    const ScreenPoint centre = Project({0, 0, 0}, client);
    const double angle = degrees * M_PI / 180;
    return {centre.x + int(std::lround(pixels * std::cos(angle))),
            centre.y - int(std::lround(pixels * std::sin(angle)))};
}

int DrawnPixelsAround(const XSession& session, const ScreenPoint& centre, int half)
{
    Picture patch = session.Read({centre.x - half, centre.y - half, Side(half), Side(half)});
    if (patch.pixels.size() != std::size_t(Side(half) * Side(half)))
        return -1;  // not all of it is on the screen
    int drawn = 0;
    for (std::uint32_t pixel : patch.pixels)
        drawn += IsBackground(pixel) ? 0 : 1;
    return drawn;
}

bool AllDrawnAround(const XSession& session, const ScreenPoint& centre, int half)
{
    return DrawnPixelsAround(session, centre, half) == Side(half) * Side(half);
}

bool NoneDrawnAround(const XSession& session, const ScreenPoint& centre, int half)
{
    return DrawnPixelsAround(session, centre, half) == 0;
}

bool ShowsEarthAtCentre(const XSession& session, const ScreenRect& client)
{
    // Above the centre row only: the plane's far side reaches up to the horizon, the centre row.
    const double inside = ApparentRadius(1.0, client) * 0.8;
    const double outside = ApparentRadius(rimRadius, client) + 6;
    for (double degrees = 30; degrees <= 150; degrees += 30) {
        if (!AllDrawnAround(session, FromCentre(client, inside, degrees), 1) ||
            !NoneDrawnAround(session, FromCentre(client, outside, degrees), 1))
            return false;
    }
    return true;
}

int DifferentPixels(const Picture& before, const Picture& after)
{
    if (before.pixels.size() != after.pixels.size())
        return int(std::max(before.pixels.size(), after.pixels.size()));
    int different = 0;
    for (std::size_t i = 0; i < before.pixels.size(); ++i)
        different += before.pixels[i] != after.pixels[i] ? 1 : 0;
    return different;
}

}  // namespace quorvane::tests

// Where the viewer's picture puts things on the screen, computed from the scene: the camera at
// its start (eye at (0, 0, -distance), looking at the Earth's centre, y up, a vertical field of
// view of 60 degrees, the client area's aspect), the Earth of radius 1 at the origin with its
// white rim of radius 1.1, the image plane at y = -1/1.01. And what a patch of the screen shows.
#pragma once

#include "x_session.h"

namespace quorvane::tests {

constexpr double initialCameraDistance = 10.0;
constexpr double rimRadius = 1.1;
constexpr double imagePlaneHeight = -1.0 / 1.01;

struct WorldPoint {
    double x = 0;
    double y = 0;
    double z = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The screen pixel where a world point is seen in a client area.
ScreenPoint Project(const WorldPoint& point, const ScreenRect& client, double distance = initialCameraDistance);
// The apparent radius in pixels of a sphere of `radius` about the origin.
double ApparentRadius(double radius, const ScreenRect& client, double distance = initialCameraDistance);
// The client area's point at `pixels` from the Earth's centre, in the direction `degrees`
// anticlockwise from the right.
ScreenPoint FromCentre(const ScreenRect& client, double pixels, double degrees = 90);

// The background is cleared to black; everything drawn is lit or white and never black.
constexpr bool IsBackground(std::uint32_t pixel)
{
    return pixel == 0;
}

// Pixels of a square of side 2 * half + 1 about a point that are not background (-1 when the
// square is not wholly on the screen).
int DrawnPixelsAround(const XSession& session, const ScreenPoint& centre, int half = 3);
// Whether every pixel of that square is drawn (false) or none is (true).
bool AllDrawnAround(const XSession& session, const ScreenPoint& centre, int half = 3);
bool NoneDrawnAround(const XSession& session, const ScreenPoint& centre, int half = 3);

// A frame drawn for this client area is on the screen: the Earth round at its centre, at its
// size, the background around it (a frame of another size, stretched, shows it oval).
bool ShowsEarthAtCentre(const XSession& session, const ScreenRect& client);

// How many pixels of two pictures of the same rectangle differ.
int DifferentPixels(const Picture& before, const Picture& after);

}  // namespace quorvane::tests

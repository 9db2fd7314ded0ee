// The circles a person draws with Ctrl and the left button: each kept on the Earth's model (so
// turning the Earth turns it), drawn on the Earth as the graticule is and as its exact image on
// the plane, in a colour of its own, with the image of its centre (a dot) and the centre of its
// image (a cross) marked on the plane. At most mostDrawnCircles; a new one beyond replaces the
// oldest. Session state: never saved.
#pragma once

#include "scene/circle_buffer.h"
#include "scene/circle_geometry.h"
#include "scene/ray_picking.h"

#include <d3dx9.h>
#include <windows.h>

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

constexpr std::size_t mostDrawnCircles = 16;
constexpr unsigned drawnCircleSegments = 512;  // straight segments per circle

// One circle: where it lies on the Earth's model, its colour, and its line strip in model space
// (drawnCircleSegments + 1 points of the unit sphere, the last closing on the first), made once.
struct DrawnCircle {
    SphereCircle model;
    D3DCOLOR color;
    std::vector<CircleVertex> strip;
};

// Where a Ctrl drag began: a point of the Earth (model space) or of the plane (world x, z).
struct CircleDrag {
    bool onPlane = false;
    DoubleVector earthCentre{};
    PlanePoint planeCentre{};
    bool drawn = false;  // the drag's circle has been added and follows the pointer
};

struct DrawnCircleList {
    std::deque<DrawnCircle> circles;  // oldest first
    std::size_t nextColor = 0;        // the palette entry the next circle takes
    std::optional<CircleDrag> drag;
};

// The palette: distinct from one another and from the graticule's, the rays' and Tissot's colours.
D3DCOLOR DrawnCircleColor(std::size_t index);

// Adds a circle (given in the model) in the next colour, replacing the oldest when full.
void AddDrawnCircle(DrawnCircleList& list, const SphereCircle& model);
// Removes the newest circle; its colour is the next one's again.
void DeleteLastCircle(DrawnCircleList& list);
// Removes every circle; the next takes the palette's first colour.
void ClearDrawnCircles(DrawnCircleList& list);

// A Ctrl press: the drag starts where the ray meets the Earth (when it is shown) or else the
// plane; over the sky nothing follows. orientation is the Earth's.
void BeginCircleDrag(DrawnCircleList& list, const EyeRay& ray, const D3DXQUATERNION& orientation, bool earthShown);
// A move during the drag: its circle (added at the first move that gives it a size) goes about
// the pressed point through the pointer's point on the same surface; false when nothing changed.
bool FollowCircleDrag(DrawnCircleList& list, const EyeRay& ray, const D3DXQUATERNION& orientation);
void EndCircleDrag(DrawnCircleList& list);

// The ray under a client pixel of the frame as the draw device now shows it; none without a device.
std::optional<EyeRay> FrameRayThroughPixel(POINT pixel);

// Draws every circle on the Earth and on the plane for the Earth's orientation matrix, then the
// centres' marks over everything. view and projection are the frame's.
//
// Leaves behind: lighting and the depth test on, texture stage 0 empty, the FVF of pre-transformed
// vertices, the last material and world matrix.
void DrawDrawnCircles(IDirect3DDevice9* device, const DrawnCircleList& list, const D3DXMATRIX& earthRotation,
                      const D3DXMATRIX& view, const D3DXMATRIX& projection, UINT width, UINT height);

// The help overlay's lines for the circles that cross, with the Earth turned by earthRotation:
// the angle on the Earth and the angle between the images, newest pairs first, at most
// mostAngleLines. format takes the two circles' numbers (%d, oldest 1) and the two angles.
constexpr std::size_t mostAngleLines = 4;
std::vector<std::wstring> CrossingAngleLines(const DrawnCircleList& list, const D3DXMATRIX& earthRotation,
                                             const std::wstring& format);

// The words of those lines, in the language the window shows: the shell hands them over from its
// string table before the first frame.
extern std::wstring crossingAngleFormat;

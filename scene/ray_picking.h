// What lies under a pixel, for the projection rays: the eye's ray through the pixel, where it
// first meets the Earth (the unit sphere) or the projection plane, the point of the sphere that
// the projection carries to a point of the plane and back, and the place a point of the sphere
// names on the turned Earth. All points are in world space.
//
// The projection is the central one of StereographicMatrix: from the centre C = (0, r, 0) onto
// the plane y = -r, r = projectionRadius. C lies inside the Earth, just under its top point.
#pragma once

#include <d3dx9.h>
#include <windows.h>

#include <optional>

// The projection centre C.
D3DXVECTOR3 ProjectionCentre();

struct EyeRay {
    D3DXVECTOR3 origin;     // the eye
    D3DXVECTOR3 direction;  // unit length
    D3DXVECTOR3 viewAxis;   // the unit direction the camera looks in: depths are measured along it
};

// The ray from the eye through pixel (x, y) of a width x height picture seen through view and
// a perspective projection (BuildProjectionMatrix). Pixel centres are at whole coordinates, as
// in Direct3D 9: pixel (0, 0) is the top-left corner of the view.
EyeRay EyeRayThroughPixel(const D3DXMATRIX& view, const D3DXMATRIX& projection, int x, int y, UINT width, UINT height);

// The depth of a point: its distance in front of the eye along the view axis.
float DepthAlong(const EyeRay& ray, const D3DXVECTOR3& point);

// The first point where the ray meets the unit sphere about the origin; none when it misses.
std::optional<D3DXVECTOR3> HitEarth(const EyeRay& ray);

// Where the ray meets the plane y = -r in front of the eye; none when it runs level with the
// plane or away from it.
std::optional<D3DXVECTOR3> HitProjectionPlane(const EyeRay& ray);

// The image of a point: where the line from C through it meets the plane. None for a point at
// or above C's height, which lies on no such line's way down to the plane.
std::optional<D3DXVECTOR3> ImageOnPlane(const D3DXVECTOR3& point);

// The point of the unit sphere whose image is the point of the plane: where the line from C
// (inside the sphere) through it leaves the sphere.
D3DXVECTOR3 SpherePointOfImage(const D3DXVECTOR3& image);

// A point of the sphere and its image, as the rays show them.
struct RayPoints {
    D3DXVECTOR3 onSphere;                // P
    std::optional<D3DXVECTOR3> onPlane;  // P', none when P lies at or above C's height
};

// What the pointer's ray shows: over the Earth (when it is shown) the point where the ray meets
// it, and its image; otherwise over the plane the point where the ray meets it, nearer than
// the far plane, and the sphere's point that projects there. None over the sky.
std::optional<RayPoints> PickRayPoints(const EyeRay& ray, bool earthShown);

// Degrees, north and east positive, longitude in (-180, 180].
struct LatitudeLongitude {
    double latitude;
    double longitude;
};

// The place a point of the sphere names on the Earth turned by orientation: the point carried
// back into the model, whose poles are on y and whose Greenwich meridian faces -z.
LatitudeLongitude PlaceOnEarth(const D3DXVECTOR3& point, const D3DXQUATERNION& orientation);

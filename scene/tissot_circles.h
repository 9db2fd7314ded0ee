// Where Tissot's circles go: small circles of one angular radius about the graticule's crossings
// on the Earth model (poles on y), and which of them lies under a point.
#pragma once

#include <d3dx9.h>
#include <windows.h>

#include <cstddef>
#include <optional>
#include <vector>

constexpr double tissotRadiusDegrees = 5.0;
constexpr std::size_t mostTissotCircles = 200;

// The circles' centres, unit vectors in model space: crossings of a latitude circle with a
// meridian of the graticule drawn with these intervals, and the two poles, where the meridians
// meet. The crossings are thinned, in latitude and along each row of latitude, so that no two
// circles overlap and there are at most mostTissotCircles.
std::vector<D3DXVECTOR3> TissotCentres(int latitudeInterval, int longitudeInterval);

// The point of the circle about centre at turn (radians) around it; turn 0 lies east of it
// (towards +x at the poles), a quarter turn north of it (towards +z at the poles).
D3DXVECTOR3 TissotCirclePoint(const D3DXVECTOR3& centre, double turn);

// The unit vectors pointing north and east on the Earth model at a point off the poles.
struct NorthEast {
    D3DXVECTOR3 north;
    D3DXVECTOR3 east;
};
std::optional<NorthEast> NorthAndEast(const D3DXVECTOR3& modelPoint);

// A world point carried back into the model of the Earth turned by orientation.
D3DXVECTOR3 ModelPoint(const D3DXVECTOR3& world, const D3DXQUATERNION& orientation);

// The index of the circle whose centre is nearest to a model point of the unit sphere, when the
// point lies inside it; none otherwise.
std::optional<std::size_t> TissotCircleAt(const std::vector<D3DXVECTOR3>& centres, const D3DXVECTOR3& modelPoint);

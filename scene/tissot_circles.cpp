// The crossings are taken from the graticule's own placements, so that every centre lies where a
// drawn latitude circle meets a drawn meridian.
#include "scene/tissot_circles.h"

#include "scene/angles.h"
#include "scene/guide_line_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float nearPole = 1e-6f;  // horizontal distance from the axis below which a point is a pole

// The angular distance in degrees between two points at latitude `degrees` whose longitudes differ
// by `apart` degrees.
double DistanceAlongLatitude(unsigned degrees, unsigned apart)
{
    const double latitude = degrees * degreesToRadians;
    const double cosine = std::sin(latitude) * std::sin(latitude) +
                          std::cos(latitude) * std::cos(latitude) * std::cos(apart * degreesToRadians);
    return std::acos(std::min(1.0, cosine)) / degreesToRadians;
}

// The last great circle of a row whose placements are `step` degrees apart. Its second meridian,
// 180 degrees on, comes back round to the first one's: the gap there is 180 less this.
unsigned LastPlacement(unsigned step)
{
    return (longitudeLimitDegrees - 1) / step * step;
}

// The step between the great circles whose crossings with latitude `degrees` carry circles: the
// smallest multiple of the drawn step that keeps neighbours on the row, including those on either
// side of the 180-degree meridian, at least `apart` degrees from each other.
unsigned RowStep(unsigned degrees, unsigned drawnStep, double apart)
{
    for (unsigned step = drawnStep;; step += drawnStep) {
        if (step >= longitudeLimitDegrees)
            return longitudeLimitDegrees;  // one great circle: its two meridians are half a turn apart
        const unsigned gap = std::min(step, longitudeLimitDegrees - LastPlacement(step));
        if (DistanceAlongLatitude(degrees, gap) >= apart)
            return step;
    }
}

// The two crossings of latitude `degrees` with the great circle placed at `placement` degrees.
void AddCrossings(std::vector<D3DXVECTOR3>& centres, int degrees, unsigned placement)
{
    const double latitude = DegreesToRadians(degrees);
    const D3DXMATRIX turn = LongitudePlacement(static_cast<int>(placement));
    for (float side : {1.0f, -1.0f}) {
        const D3DXVECTOR3 onGreatCircle(side * static_cast<float>(std::cos(latitude)),
                                        static_cast<float>(std::sin(latitude)), 0.0f);
        D3DXVECTOR3 centre;
        D3DXVec3TransformCoord(&centre, &onGreatCircle, &turn);  // a turn: no translation
        centres.push_back(centre);
    }
}

D3DXVECTOR3 Normalised(const D3DXVECTOR3& v)
{
    D3DXVECTOR3 unit;
    D3DXVec3Normalize(&unit, &v);
    return unit;
}

}  // namespace

// Circles of the radius below overlap when their centres are less than twice it apart. Thinning
// widens that least distance, a degree at a time, until the count fits: rows of latitude a drawn
// step apart and at least that far, none nearer the poles than that, and along each row the
// drawn meridians the row needs at that latitude. The 90-degree distance of a pole from the
// equator bounds the search: by then the equator alone is left.
std::vector<D3DXVECTOR3> TissotCentres(int latitudeInterval, int longitudeInterval)
{
    const unsigned latitudeBase = CircleStep(latitudeInterval, latitudeLimitDegrees);
    const unsigned longitudeBase = CircleStep(longitudeInterval, longitudeLimitDegrees);
    std::vector<D3DXVECTOR3> centres;
    for (unsigned apart = unsigned(2 * tissotRadiusDegrees); apart <= latitudeLimitDegrees; ++apart) {
        const unsigned latitudeStep = (apart + latitudeBase - 1) / latitudeBase * latitudeBase;
        centres = {D3DXVECTOR3(0.0f, 1.0f, 0.0f), D3DXVECTOR3(0.0f, -1.0f, 0.0f)};
        for (unsigned degrees = 0; degrees + apart <= latitudeLimitDegrees; degrees += latitudeStep) {
            const unsigned step = RowStep(degrees, longitudeBase, apart);
            for (unsigned placement = 0; placement < longitudeLimitDegrees; placement += step) {
                AddCrossings(centres, static_cast<int>(degrees), placement);
                if (degrees != 0)
                    AddCrossings(centres, -static_cast<int>(degrees), placement);
            }
        }
        if (centres.size() <= mostTissotCircles)
            break;
    }
    return centres;
}

std::optional<NorthEast> NorthAndEast(const D3DXVECTOR3& modelPoint)
{
    const float horizontal = std::hypot(modelPoint.x, modelPoint.z);
    if (horizontal < nearPole)
        return std::nullopt;
    // Longitude grows from -z towards +x (the Greenwich meridian faces -z).
    const D3DXVECTOR3 east(-modelPoint.z / horizontal, 0.0f, modelPoint.x / horizontal);
    D3DXVECTOR3 north;
    D3DXVec3Cross(&north, &east, &modelPoint);
    return NorthEast{Normalised(north), east};
}

D3DXVECTOR3 TissotCirclePoint(const D3DXVECTOR3& centre, double turn)
{
    const std::optional<NorthEast> axes = NorthAndEast(centre);
    const D3DXVECTOR3 east = axes ? axes->east : D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 north = axes ? axes->north : D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    const double radius = tissotRadiusDegrees * degreesToRadians;
    const auto c = static_cast<float>(std::cos(radius));
    const auto e = static_cast<float>(std::sin(radius) * std::cos(turn));
    const auto n = static_cast<float>(std::sin(radius) * std::sin(turn));
    return centre * c + east * e + north * n;
}

D3DXVECTOR3 ModelPoint(const D3DXVECTOR3& world, const D3DXQUATERNION& orientation)
{
    // The orientation's matrix R carries a model point m to m R; its transpose carries back.
    D3DXMATRIX rotation;
    D3DXMatrixRotationQuaternion(&rotation, &orientation);
    const auto row = [&](int i) { return D3DXVECTOR3(rotation.m[i][0], rotation.m[i][1], rotation.m[i][2]); };
    const D3DXVECTOR3 x = row(0), y = row(1), z = row(2);
    return D3DXVECTOR3(D3DXVec3Dot(&world, &x), D3DXVec3Dot(&world, &y), D3DXVec3Dot(&world, &z));
}

std::optional<std::size_t> TissotCircleAt(const std::vector<D3DXVECTOR3>& centres, const D3DXVECTOR3& modelPoint)
{
    const D3DXVECTOR3 unit = Normalised(modelPoint);
    const double inside = std::cos(tissotRadiusDegrees * degreesToRadians);
    std::optional<std::size_t> nearest;
    double best = inside;
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const double closeness = D3DXVec3Dot(&centres[i], &unit);
        if (closeness >= best) {
            best = closeness;
            nearest = i;
        }
    }
    return nearest;
}

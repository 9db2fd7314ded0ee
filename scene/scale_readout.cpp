// The readout's numbers come from the projection's geometry (projection_scale.h), for the Earth
// as it is turned now.
#include "scene/scale_readout.h"

#include "scene/angles.h"
#include "scene/projection_scale.h"
#include "scene/stereographic_projection.h"
#include "scene/tissot_circles.h"

#include <boost/format.hpp>

namespace {

constexpr unsigned radiusSamples = 720;  // half a degree apart: the extents to 4e-5 of the radius

bool HasImage(const D3DXVECTOR3& point)
{
    return point.y < projectionRadius;
}

// The orientation's matrix R carries a model vector m to m R.
D3DXVECTOR3 ToWorld(const D3DXVECTOR3& model, const D3DXMATRIX& rotation)
{
    D3DXVECTOR3 world;
    D3DXVec3TransformCoord(&world, &model, &rotation);
    return world;
}

std::wstring AngleText(const D3DXVECTOR3& point, const D3DXQUATERNION& orientation, const D3DXMATRIX& rotation)
{
    const std::optional<NorthEast> axes = NorthAndEast(ModelPoint(point, orientation));
    if (!axes || !HasImage(point))
        return {};
    const double angle = ImageAngleDegrees(point, ToWorld(axes->north, rotation), ToWorld(axes->east, rotation));
    return (boost::wformat(tissotTexts.angle) % angle).str();
}

}  // namespace

TissotTexts tissotTexts;

std::wstring ScaleText(const D3DXVECTOR3& point)
{
    if (!HasImage(point))
        return {};
    const ProjectionScale scale = ScaleAtHeight(point.y);
    return (boost::wformat(L" k=%.2f k\u00B2=%.2f") % scale.linear % scale.area).str();
}

std::wstring TissotText(const D3DXVECTOR3& point, const D3DXQUATERNION& orientation, const D3DXVECTOR3& circleCentre)
{
    D3DXMATRIX rotation;
    D3DXMatrixRotationQuaternion(&rotation, &orientation);
    const std::optional<ImageRadii> radii =
        CircleImageRadii(ToWorld(circleCentre, rotation), tissotRadiusDegrees * degreesToRadians, radiusSamples);
    std::wstring text;
    if (radii)
        text = (boost::wformat(tissotTexts.radii) % radii->radial % radii->across).str();
    const std::wstring angle = AngleText(point, orientation, rotation);
    if (!text.empty() && !angle.empty())
        text += tissotTexts.separator;
    return text + angle;
}

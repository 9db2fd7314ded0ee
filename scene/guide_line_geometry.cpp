// Guide-line placement matrices.
#include "scene/guide_line_geometry.h"

#include <cmath>

#include "scene/angles.h"
#include "scene/projection_geometry.h"

GuideLineWorlds BuildGuideLineWorlds(const D3DXMATRIX& earthRotation)
{
    D3DXMATRIX lift, aboveImage, mirror;
    D3DXMatrixScaling(&lift, sphereLineLift, sphereLineLift, sphereLineLift);
    D3DXMatrixTranslation(&aboveImage, 0.0f, imageLineLift, 0.0f);
    const D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 vertical(0.0f, 1.0f, 0.0f);
    D3DXPLANE equatorialPlane;
    D3DXPlaneFromPointNormal(&equatorialPlane, &origin, &vertical);
    D3DXMatrixReflect(&mirror, &equatorialPlane);

    GuideLineWorlds worlds;
    D3DXMatrixMultiply(&worlds.sphere, &earthRotation, &lift);
    D3DXMatrixMultiply(&worlds.plane, &earthRotation, &StereographicMatrix);
    D3DXMatrixMultiply(&worlds.plane, &worlds.plane, &aboveImage);
    D3DXMatrixMultiply(&worlds.sphereMirror, &mirror, &worlds.sphere);
    D3DXMatrixMultiply(&worlds.planeMirror, &mirror, &worlds.plane);
    return worlds;
}

float DegreesToRadians(double degrees)
{
    return static_cast<float>(degrees * drawnPi / 180.0);
}

D3DXMATRIX LatitudePlacement(int degrees)
{
    const double latitude = DegreesToRadians(degrees);
    const float radius = static_cast<float>(std::cos(latitude));
    const float height = static_cast<float>(std::sin(latitude));
    D3DXMATRIX scaling, translation;
    D3DXMatrixScaling(&scaling, radius, 1.0f, radius);
    D3DXMatrixTranslation(&translation, 0.0f, height, 0.0f);
    return scaling * translation;
}

D3DXMATRIX LongitudePlacement(int degrees)
{
    const D3DXVECTOR3 vertical(0.0f, 1.0f, 0.0f);
    D3DXMATRIX rotation;
    D3DXMatrixRotationAxis(&rotation, &vertical, DegreesToRadians(degrees));
    return rotation;
}

unsigned CircleStep(int intervalDegrees, unsigned limitDegrees)
{
    return intervalDegrees > 0 ? static_cast<unsigned>(intervalDegrees) : limitDegrees;
}

// The rays' line in world space, and their markers in screen space so that they keep their
// size however near or far the points are.
#include "scene/projection_rays.h"

#include "scene/camera.h"
#include "scene/screen_mapping.h"

namespace {

constexpr D3DCOLOR rayColor = 0xFFFFFF00;  // yellow
constexpr float crossArm = 4.0f;           // pixels from a cross's centre along each diagonal
constexpr float dotHalfSide = 2.5f;        // the dot at C is 5 x 5 pixels
// Just short of the far plane, so that the clipping there leaves the line's end standing.
constexpr float farthestDepth = cameraFarPlane * 0.999f;

struct WorldVertex {
    D3DXVECTOR3 position;
    D3DCOLOR color;
};
constexpr DWORD worldVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
};
constexpr DWORD screenVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

float ViewDepth(const D3DXMATRIX& view, const D3DXVECTOR3& point)
{
    D3DXVECTOR3 inView;
    D3DXVec3TransformCoord(&inView, &point, &view);
    return inView.z;
}

// P' when the camera draws it; otherwise where the line from C towards it reaches the far plane.
D3DXVECTOR3 LineEnd(const D3DXVECTOR3& image, const D3DXMATRIX& view)
{
    const D3DXVECTOR3 centre = ProjectionCentre();
    const float startDepth = ViewDepth(view, centre), endDepth = ViewDepth(view, image);
    if (endDepth <= farthestDepth)
        return image;
    return centre + (image - centre) * ((farthestDepth - startDepth) / (endDepth - startDepth));
}

void DrawLine(IDirect3DDevice9* device, const RayPoints& points, const D3DXMATRIX& view)
{
    const D3DXVECTOR3 end = points.onPlane ? LineEnd(*points.onPlane, view) : points.onSphere;
    const WorldVertex strip[] = {{ProjectionCentre(), rayColor}, {points.onSphere, rayColor}, {end, rayColor}};
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetFVF(worldVertexFvf);
    device->DrawPrimitiveUP(D3DPT_LINESTRIP, 2, strip, sizeof(WorldVertex));
}

ScreenVertex At(float x, float y)
{
    return ScreenVertex{x, y, 0.0f, 1.0f, rayColor};
}

// An x of two diagonals; each runs one pixel past its far end, which a line leaves out.
void DrawCross(IDirect3DDevice9* device, const ScreenPoint& centre)
{
    const float x = centre.x, y = centre.y, a = crossArm;
    const ScreenVertex lines[] = {At(x - a, y - a), At(x + a + 1.0f, y + a + 1.0f), At(x + a, y - a),
                                  At(x - a - 1.0f, y + a + 1.0f)};
    device->DrawPrimitiveUP(D3DPT_LINELIST, 2, lines, sizeof(ScreenVertex));
}

void DrawDot(IDirect3DDevice9* device, const ScreenPoint& centre)
{
    const float left = centre.x - dotHalfSide, right = centre.x + dotHalfSide;
    const float top = centre.y - dotHalfSide, bottom = centre.y + dotHalfSide;
    const ScreenVertex square[] = {At(left, top), At(right, top), At(left, bottom), At(right, bottom)};
    device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, square, sizeof(ScreenVertex));
}

// The markers are drawn over everything: C lies inside the Earth, and P on its surface.
void DrawMarkers(IDirect3DDevice9* device, const RayPoints& points, const D3DXMATRIX& view,
                 const D3DXMATRIX& projection, UINT width, UINT height)
{
    const D3DXMATRIX viewProjection = view * projection;
    device->SetFVF(screenVertexFvf);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    if (const auto centre = PixelOfWorldPoint(ProjectionCentre(), viewProjection, width, height))
        DrawDot(device, *centre);
    if (const auto onSphere = PixelOfWorldPoint(points.onSphere, viewProjection, width, height))
        DrawCross(device, *onSphere);
    if (points.onPlane && ViewDepth(view, *points.onPlane) <= farthestDepth) {
        if (const auto onPlane = PixelOfWorldPoint(*points.onPlane, viewProjection, width, height))
            DrawCross(device, *onPlane);
    }
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
}

}  // namespace

std::optional<RayPoints> PickUnderPointer(POINT pointer, const D3DXMATRIX& view, const D3DXMATRIX& projection,
                                          UINT width, UINT height, bool earthShown)
{
    const bool inside = pointer.x >= 0 && pointer.y >= 0 && pointer.x < static_cast<LONG>(width) &&
                        pointer.y < static_cast<LONG>(height);
    if (!inside)
        return std::nullopt;
    return PickRayPoints(EyeRayThroughPixel(view, projection, pointer.x, pointer.y, width, height), earthShown);
}

void DrawProjectionRay(IDirect3DDevice9* device, const RayPoints& points, const D3DXMATRIX& view,
                       const D3DXMATRIX& projection, UINT width, UINT height)
{
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetTexture(0, nullptr);
    DrawLine(device, points, view);
    DrawMarkers(device, points, view, projection, width, height);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

// Each circle's strip is made once, when it is drawn, in model space; a frame places it with the
// Earth's matrix twice: lifted off the Earth as the graticule is, and scaled onto the projection
// sphere of radius r and through StereographicMatrix onto the plane, where it is exactly
// stereographic. Its marks are computed from its geometry and drawn in screen space.
#include "scene/drawn_circles.h"

#include "graphics/com_reference.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "scene/angles.h"
#include "scene/camera.h"
#include "scene/guide_line_geometry.h"
#include "scene/line_material.h"
#include "scene/projection_geometry.h"
#include "scene/screen_mapping.h"
#include "scene/tissot_circles.h"

#include <boost/format.hpp>

#include <cmath>
#include <iterator>

namespace {

constexpr D3DCOLOR palette[] = {
    0xFF00FFFF, 0xFFFF5FA0, 0xFFA080FF, 0xFF80FF80, 0xFFFFC080, 0xFF40A0FF, 0xFF00C0A0, 0xFFC06040,
    0xFFE0E0A0, 0xFF8040C0, 0xFFA0FFE0, 0xFFFF8080, 0xFF80C0FF, 0xFFC0C0C0, 0xFF60A040, 0xFFC080C0,
};
static_assert(std::size(palette) == mostDrawnCircles, "a colour for each circle that can be shown");

constexpr float crossArm = 4.0f;     // pixels from a cross's centre along each diagonal
constexpr float dotHalfSide = 2.5f;  // a dot is 5 x 5 pixels

struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
};
constexpr DWORD screenVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

std::vector<CircleVertex> Strip(const SphereCircle& circle)
{
    std::vector<CircleVertex> strip;
    strip.reserve(drawnCircleSegments + 1);
    for (unsigned j = 0; j <= drawnCircleSegments; ++j) {
        const double turn = 360.0 * degreesToRadians * (j % drawnCircleSegments) / drawnCircleSegments;
        const D3DXVECTOR3 p = Narrow(PointOfCircle(circle, turn));
        strip.push_back(CircleVertex{p.x, p.y, p.z, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f});
    }
    return strip;
}

DoubleVector ToModel(const DoubleVector& world, const D3DXQUATERNION& orientation)
{
    return Widen(ModelPoint(Narrow(world), orientation));
}

DoubleVector ToWorld(const DoubleVector& model, const D3DXMATRIX& rotation)
{
    const auto column = [&](int j) { return DoubleVector{rotation.m[0][j], rotation.m[1][j], rotation.m[2][j]}; };
    return DoubleVector{Dot(model, column(0)), Dot(model, column(1)), Dot(model, column(2))};
}

// The circle of the drag for the pointer's ray, in the model; none when the ray misses the
// surface the drag began on, or meets it at the pressed point.
std::optional<SphereCircle> DragCircle(const CircleDrag& drag, const EyeRay& ray, const D3DXQUATERNION& orientation)
{
    if (!drag.onPlane) {
        const std::optional<D3DXVECTOR3> onEarth = HitEarth(ray);
        if (!onEarth)
            return std::nullopt;
        return CircleAbout(drag.earthCentre, ToModel(Widen(*onEarth), orientation));
    }
    const std::optional<D3DXVECTOR3> onPlane = HitProjectionPlane(ray);
    if (!onPlane)
        return std::nullopt;
    const double reach = std::hypot(onPlane->x - drag.planeCentre.x, onPlane->z - drag.planeCentre.z);
    const std::optional<SphereCircle> world = CircleOfImage(drag.planeCentre, reach);
    if (!world)
        return std::nullopt;
    return SphereCircle{ToModel(world->centre, orientation), world->radius};
}

ScreenVertex At(float x, float y, D3DCOLOR color)
{
    return ScreenVertex{x, y, 0.0f, 1.0f, color};
}

// A cross (two diagonals, each one pixel past its far end, which a line leaves out) and a dot.
void AddCross(std::vector<ScreenVertex>& lines, const ScreenPoint& c, D3DCOLOR color)
{
    const float a = crossArm;
    lines.insert(lines.end(), {At(c.x - a, c.y - a, color), At(c.x + a + 1.0f, c.y + a + 1.0f, color),
                               At(c.x + a, c.y - a, color), At(c.x - a - 1.0f, c.y + a + 1.0f, color)});
}

void AddDot(std::vector<ScreenVertex>& triangles, const ScreenPoint& c, D3DCOLOR color)
{
    const float l = c.x - dotHalfSide, r = c.x + dotHalfSide, t = c.y - dotHalfSide, b = c.y + dotHalfSide;
    triangles.insert(triangles.end(), {At(l, t, color), At(r, t, color), At(l, b, color), At(r, t, color),
                                       At(r, b, color), At(l, b, color)});
}

void DrawMarks(IDirect3DDevice9* device, const DrawnCircleList& list, const D3DXMATRIX& earthRotation,
               const D3DXMATRIX& viewProjection, UINT width, UINT height)
{
    std::vector<ScreenVertex> lines, triangles;
    const double planeHeight = -projectionRadius + imageLineLift;
    const auto pixel = [&](const PlanePoint& p) {
        const D3DXVECTOR3 world(static_cast<float>(p.x), static_cast<float>(planeHeight), static_cast<float>(p.z));
        return PixelOfWorldPoint(world, viewProjection, width, height);
    };
    for (const DrawnCircle& circle : list.circles) {
        const SphereCircle world{ToWorld(circle.model.centre, earthRotation), circle.model.radius};
        if (const std::optional<PlanePoint> centreImage = ImageOfDirection(world.centre)) {
            if (const auto at = pixel(*centreImage))
                AddDot(triangles, *at, circle.color);
        }
        const PlaneCurve image = ImageOfCircle(world);
        if (!image.isLine) {
            if (const auto at = pixel(image.centre))
                AddCross(lines, *at, circle.color);
        }
    }
    device->SetFVF(screenVertexFvf);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    if (!triangles.empty())
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(triangles.size() / 3), triangles.data(),
                                sizeof(ScreenVertex));
    if (!lines.empty())
        device->DrawPrimitiveUP(D3DPT_LINELIST, static_cast<UINT>(lines.size() / 2), lines.data(),
                                sizeof(ScreenVertex));
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
}

}  // namespace

std::wstring crossingAngleFormat = L"円%d と円%d の交角 地球上 %.1f\u00B0 像 %.1f\u00B0";

D3DCOLOR DrawnCircleColor(std::size_t index)
{
    return palette[index % std::size(palette)];
}

void AddDrawnCircle(DrawnCircleList& list, const SphereCircle& model)
{
    if (list.circles.size() >= mostDrawnCircles)
        list.circles.pop_front();
    list.circles.push_back(DrawnCircle{model, DrawnCircleColor(list.nextColor), Strip(model)});
    list.nextColor = (list.nextColor + 1) % std::size(palette);
}

void DeleteLastCircle(DrawnCircleList& list)
{
    if (list.circles.empty())
        return;
    list.circles.pop_back();
    list.nextColor = (list.nextColor + std::size(palette) - 1) % std::size(palette);
    list.drag.reset();
}

void ClearDrawnCircles(DrawnCircleList& list)
{
    list.circles.clear();
    list.nextColor = 0;
    list.drag.reset();
}

void BeginCircleDrag(DrawnCircleList& list, const EyeRay& ray, const D3DXQUATERNION& orientation, bool earthShown)
{
    list.drag.reset();
    if (earthShown) {
        if (const std::optional<D3DXVECTOR3> onEarth = HitEarth(ray)) {
            list.drag = CircleDrag{false, ToModel(Widen(*onEarth), orientation), {}, false};
            return;
        }
    }
    if (const std::optional<D3DXVECTOR3> onPlane = HitProjectionPlane(ray))
        list.drag = CircleDrag{true, {}, PlanePoint{onPlane->x, onPlane->z}, false};
}

bool FollowCircleDrag(DrawnCircleList& list, const EyeRay& ray, const D3DXQUATERNION& orientation)
{
    if (!list.drag)
        return false;
    const std::optional<SphereCircle> circle = DragCircle(*list.drag, ray, orientation);
    if (!circle)
        return false;
    if (!list.drag->drawn) {
        AddDrawnCircle(list, *circle);
        list.drag->drawn = true;
        return true;
    }
    DrawnCircle& last = list.circles.back();
    last.model = *circle;
    last.strip = Strip(*circle);
    return true;
}

void EndCircleDrag(DrawnCircleList& list)
{
    list.drag.reset();
}

std::optional<EyeRay> FrameRayThroughPixel(POINT pixel)
{
    CDrawDevice* drawDevice = SceneResources.drawDevice;
    ComReference<IDirect3DDevice9> device;
    D3DVIEWPORT9 viewport{};
    if (drawDevice == nullptr || !drawDevice->GetDevice(device.Out()) || FAILED(device->GetViewport(&viewport)))
        return std::nullopt;
    D3DXMATRIX view, projection;
    D3DXVECTOR3 eye;
    BuildViewMatrix(&view, &eye);
    BuildProjectionMatrix(drawDevice->GetAspectRatio(), &projection);
    return EyeRayThroughPixel(view, projection, pixel.x, pixel.y, viewport.Width, viewport.Height);
}

void DrawDrawnCircles(IDirect3DDevice9* device, const DrawnCircleList& list, const D3DXMATRIX& earthRotation,
                      const D3DXMATRIX& view, const D3DXMATRIX& projection, UINT width, UINT height)
{
    const GuideLineWorlds worlds = BuildGuideLineWorlds(earthRotation);
    D3DXMATRIX ontoProjectionSphere, plane;
    D3DXMatrixScaling(&ontoProjectionSphere, projectionRadius, projectionRadius, projectionRadius);
    D3DXMatrixMultiply(&plane, &ontoProjectionSphere, &worlds.plane);
    device->SetFVF(circleVertexFvf);
    device->SetTexture(0, nullptr);
    for (const DrawnCircle& circle : list.circles) {
        const D3DMATERIAL9 material = lineMaterial(ColorValueFromArgb(circle.color));
        device->SetMaterial(&material);
        device->SetTransform(D3DTS_WORLD, &plane);
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, drawnCircleSegments, circle.strip.data(), sizeof(CircleVertex));
        device->SetTransform(D3DTS_WORLD, &worlds.sphere);
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, drawnCircleSegments, circle.strip.data(), sizeof(CircleVertex));
    }
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    DrawMarks(device, list, earthRotation, view * projection, width, height);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
}

std::vector<std::wstring> CrossingAngleLines(const DrawnCircleList& list, const D3DXMATRIX& earthRotation,
                                             const std::wstring& format)
{
    const auto world = [&](std::size_t i) {
        const SphereCircle& model = list.circles[i].model;
        return SphereCircle{ToWorld(model.centre, earthRotation), model.radius};
    };
    std::vector<std::wstring> lines;
    for (std::size_t i = list.circles.size(); i-- > 1 && lines.size() < mostAngleLines;) {
        for (std::size_t j = i; j-- > 0 && lines.size() < mostAngleLines;) {
            const std::optional<CrossingAngles> angles = AnglesOfCrossing(world(i), world(j));
            if (angles)
                lines.push_back(
                    (boost::wformat(format) % (i + 1) % (j + 1) % angles->onSphere % angles->inImage).str());
        }
    }
    return lines;
}

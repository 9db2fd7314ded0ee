// The frame: fixed states once per reset, camera and light, then the image on the plane, the
// Earth, its rim, the guide lines, the drawn circles, Tissot's circles, the projection ray and the help overlay, and
// the present.
#include "scene/render_frame.h"

#include "app/settings.h"
#include "graphics/com_reference.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/mesh.h"
#include "scene/camera.h"
#include "scene/drawn_circles.h"
#include "scene/guide_lines.h"
#include "scene/help_overlay.h"
#include "scene/line_material.h"
#include "scene/projection_rays.h"
#include "scene/scale_readout.h"
#include "scene/session_state.h"
#include "scene/stereographic_projection.h"
#include "scene/tissot_circles.h"
#include "scene/tissot_lines.h"

#include <d3dx9.h>

#include <cstddef>
#include <optional>
#include <string>

namespace {

struct RenderStateValue {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

// Applied in this order after every reset; everything else keeps the device defaults
// (lighting stays on).
constexpr RenderStateValue fixedRenderStates[] = {
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},     {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ALPHABLENDENABLE, TRUE},          {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_ALPHATESTENABLE, TRUE},
    {D3DRS_ALPHAFUNC, D3DCMP_GREATER},       {D3DRS_ALPHAREF, 0},
};

constexpr D3DCOLOR background = 0xFF000000;
constexpr float outlineScale = 1.1f;
constexpr D3DCOLORVALUE outlineColor{1.0f, 1.0f, 1.0f, 1.0f};

void ApplyFixedRenderStates(IDirect3DDevice9* device)
{
    for (const RenderStateValue& entry : fixedRenderStates)
        device->SetRenderState(entry.state, entry.value);
}

struct Camera {
    D3DXMATRIX projection;
    D3DXMATRIX view;
    D3DXVECTOR3 eye;
};

Camera SetCamera(IDirect3DDevice9* device, float aspectRatio)
{
    Camera camera;
    BuildProjectionMatrix(aspectRatio, &camera.projection);
    device->SetTransform(D3DTS_PROJECTION, &camera.projection);
    BuildViewMatrix(&camera.view, &camera.eye);
    device->SetTransform(D3DTS_VIEW, &camera.view);
    return camera;
}

// White light from above, left and behind the default camera; its ambient part lights every
// surface fully, so the Earth shows its texture unshaded.
void SetLight(IDirect3DDevice9* device)
{
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    light.Specular = D3DCOLORVALUE{0.0f, 0.0f, 0.0f, 1.0f};
    light.Ambient = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    light.Direction = D3DVECTOR{1.0f, -1.0f, 1.0f};
    device->LightEnable(0, TRUE);
    device->SetLight(0, &light);
}

// The sphere through the stereographic matrix, on the plane under the Earth. It neither tests
// nor writes depth, so everything drawn later covers it.
void DrawEarthImage(IDirect3DDevice9* device, CDrawDevice* drawDevice, const Mesh& sphere,
                    const D3DXMATRIX& orientation)
{
    const D3DXMATRIX world = orientation * StereographicMatrix;
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    sphere.DrawTextured(drawDevice);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
}

// The Earth, and with showOutline the inside of a sphere 1.1 times its size: where the Earth
// does not hide it, a solid white rim.
void DrawEarth(IDirect3DDevice9* device, CDrawDevice* drawDevice, const Mesh& sphere, const D3DXMATRIX& orientation,
               BOOL showOutline)
{
    device->SetTransform(D3DTS_WORLD, &orientation);
    sphere.DrawTextured(drawDevice);
    if (!showOutline)
        return;
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, outlineScale, outlineScale, outlineScale);
    const D3DXMATRIX world = scaling * orientation;
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    sphere.DrawFlat(drawDevice, outlineColor);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
}

void DrawLines(IDirect3DDevice9* device, const D3DXMATRIX& orientation)
{
    const ViewerSettingsRecord& settings = ViewerSettings;
    DrawGuideLines(device, settings.showLatitudeLines, settings.latitudeLineInterval, settings.showLongitudeLines,
                   settings.longitudeLineInterval, settings.lineDensity, orientation,
                   ColorValueFromArgb(settings.latitudeLineColor), ColorValueFromArgb(settings.longitudeLineColor),
                   ColorValueFromArgb(settings.redLineColor));
}

// What the rays show under the pointer, when they are on and it points at something; viewport
// is the one it was picked in.
std::optional<RayPoints> PickRays(IDirect3DDevice9* device, const Camera& camera, BOOL earthShown,
                                  D3DVIEWPORT9& viewport)
{
    if (!ViewerSession.showProjectionRays || FAILED(device->GetViewport(&viewport)))
        return std::nullopt;
    return PickUnderPointer(ViewerSession.pointer, camera.view, camera.projection, viewport.Width, viewport.Height,
                            earthShown != FALSE);
}

// The help overlay's additions while Tissot's circles are on and the rays show a point.
struct DistortionReadout {
    std::wstring scale;   // on the place's line
    std::wstring tissot;  // on the line under it
};

// Tissot's circles, the one under the rays' point highlighted, and what the overlay says of them.
DistortionReadout DrawTissot(IDirect3DDevice9* device, const D3DXMATRIX& orientation,
                             const std::optional<RayPoints>& points)
{
    const ViewerSettingsRecord& settings = ViewerSettings;
    const TissotCircleSet& circles = TissotCirclesFor(settings.latitudeLineInterval, settings.longitudeLineInterval);
    std::optional<std::size_t> under;
    DistortionReadout readout;
    if (points) {
        under = TissotCircleAt(circles.centres, ModelPoint(points->onSphere, earthOrientation));
        readout.scale = ScaleText(points->onSphere);
        if (under)
            readout.tissot = TissotText(points->onSphere, earthOrientation, circles.centres[*under]);
    }
    DrawTissotCircles(device, circles, orientation, under);
    return readout;
}

void DrawScene(IDirect3DDevice9* device, CDrawDevice* drawDevice, const Mesh& sphere)
{
    const Camera camera = SetCamera(device, drawDevice->GetAspectRatio());
    SetLight(device);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, background, 1.0f, 0);

    D3DXMATRIX orientation;
    D3DXMatrixRotationQuaternion(&orientation, &earthOrientation);
    DrawEarthImage(device, drawDevice, sphere, orientation);
    const ViewerSettingsRecord& settings = ViewerSettings;
    if (settings.showEarth)
        DrawEarth(device, drawDevice, sphere, orientation, settings.showEarthOutline);
    if (settings.showLatitudeLines || settings.showLongitudeLines)
        DrawLines(device, orientation);
    const DrawnCircleList& circles = ViewerSession.circles;
    D3DVIEWPORT9 viewport{};
    if (!circles.circles.empty() && SUCCEEDED(device->GetViewport(&viewport)))
        DrawDrawnCircles(device, circles, orientation, camera.view, camera.projection, viewport.Width, viewport.Height);
    const std::optional<RayPoints> points = PickRays(device, camera, settings.showEarth, viewport);
    const DistortionReadout readout =
        ViewerSession.showTissotCircles ? DrawTissot(device, orientation, points) : DistortionReadout{};
    if (points)
        DrawProjectionRay(device, *points, camera.view, camera.projection, viewport.Width, viewport.Height);
    if (!settings.showHelp || SceneResources.font == nullptr)
        return;
    std::optional<LatitudeLongitude> place;
    if (points)
        place = PlaceOnEarth(points->onSphere, earthOrientation);
    DrawHelpOverlay(SceneResources.font, camera.eye, place, readout.scale, readout.tissot,
                    CrossingAngleLines(circles, orientation, crossingAngleFormat));
}

}  // namespace

void RenderFrame()
{
    CDrawDevice* drawDevice = SceneResources.drawDevice;
    if (drawDevice == nullptr || SceneResources.sphereMesh == nullptr || SceneResources.earthTexture == nullptr)
        return;
    ComReference<IDirect3DDevice9> device;
    if (!drawDevice->GetDevice(device.Out()))
        return;
    if (device->TestCooperativeLevel() == D3DERR_DEVICENOTRESET)
        drawDevice->Reset();
    if (drawDevice->statesDirty) {
        drawDevice->statesDirty = FALSE;
        ApplyFixedRenderStates(device.Get());
    }
    if (FAILED(device->BeginScene()))
        return;
    DrawScene(device.Get(), drawDevice, *SceneResources.sphereMesh);
    device->EndScene();
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

// The graticule drawn from one unit circle placed by world matrices; the image on the plane
// comes from the stereographic matrix inside the world matrix.
#include "scene/guide_lines.h"

#include "scene/circle_buffer.h"
#include "scene/guide_line_geometry.h"
#include "scene/line_material.h"
#include "scene/projected_guide_lines.h"

namespace {

void DrawCircle(IDirect3DDevice9* device, const CircleBuffer& circle, const D3DXMATRIX& placement,
                const D3DXMATRIX& world)
{
    const D3DXMATRIX combined = placement * world;
    device->SetTransform(D3DTS_WORLD, &combined);
    device->DrawPrimitiveUP(D3DPT_LINESTRIP, circle.SegmentCount(), circle.Vertices(), sizeof(CircleVertex));
}

// The equator and every latitude interval north of it, each mirrored to the south; every circle
// is drawn as its image first, then on the sphere. Only the equator uses the red-line colour.
void DrawLatitudeCircles(IDirect3DDevice9* device, CircleBuffer& circle, const GuideLineWorlds& worlds, int interval,
                         const D3DCOLORVALUE& latitudeColor, const D3DCOLORVALUE& redLineColor)
{
    const D3DMATERIAL9 latitudeMaterial = lineMaterial(latitudeColor);
    const D3DMATERIAL9 redLineMaterial = lineMaterial(redLineColor);
    device->SetMaterial(&latitudeMaterial);
    circle.Fill(D3DXVECTOR3(0.0f, 1.0f, 0.0f));

    const unsigned step = CircleStep(interval, latitudeLimitDegrees);
    for (unsigned degrees = 0; degrees < latitudeLimitDegrees; degrees += step) {
        const D3DXMATRIX placement = LatitudePlacement(static_cast<int>(degrees));
        if (degrees == 0)
            device->SetMaterial(&redLineMaterial);
        DrawCircle(device, circle, placement, worlds.plane);
        DrawCircle(device, circle, placement, worlds.sphere);
        if (degrees != 0) {
            DrawCircle(device, circle, placement, worlds.planeMirror);
            DrawCircle(device, circle, placement, worlds.sphereMirror);
        }
        if (degrees == 0)
            device->SetMaterial(&latitudeMaterial);
    }
}

// Great circles through both poles, every interval from 0 up to 180 degrees.
void DrawLongitudeCircles(IDirect3DDevice9* device, CircleBuffer& circle, const GuideLineWorlds& worlds, int interval,
                          const D3DCOLORVALUE& longitudeColor)
{
    const D3DMATERIAL9 longitudeMaterial = lineMaterial(longitudeColor);
    device->SetMaterial(&longitudeMaterial);
    device->SetTransform(D3DTS_WORLD, &worlds.plane);
    circle.Fill(D3DXVECTOR3(0.0f, 0.0f, 1.0f));

    const unsigned step = CircleStep(interval, longitudeLimitDegrees);
    for (unsigned degrees = 0; degrees < longitudeLimitDegrees; degrees += step) {
        const D3DXMATRIX placement = LongitudePlacement(static_cast<int>(degrees));
        DrawCircle(device, circle, placement, worlds.plane);
        DrawCircle(device, circle, placement, worlds.sphere);
    }
}

}  // namespace

void DrawGuideLines(IDirect3DDevice9* device, BOOL showLatitudeLines, int latitudeLineInterval, BOOL showLongitudeLines,
                    int longitudeLineInterval, int lineDensity, const D3DXMATRIX& earthRotation,
                    const D3DCOLORVALUE& latitudeColor, const D3DCOLORVALUE& longitudeColor,
                    const D3DCOLORVALUE& redLineColor)
{
    if (!showLatitudeLines && !showLongitudeLines)
        return;
    if (lineDensity == 0) {
        DrawProjectedGuideLines(device, showLatitudeLines, latitudeLineInterval, showLongitudeLines,
                                longitudeLineInterval, earthRotation, latitudeColor, longitudeColor, redLineColor);
        return;
    }

    CircleBuffer circle(CircleSegmentCount(lineDensity));
    if (circle.IsEmpty())
        return;

    device->SetFVF(circleVertexFvf);
    device->SetTexture(0, nullptr);
    const GuideLineWorlds worlds = BuildGuideLineWorlds(earthRotation);
    if (showLatitudeLines) {
        DrawLatitudeCircles(device, circle, worlds, latitudeLineInterval, latitudeColor, redLineColor);
    }
    if (showLongitudeLines) {
        DrawLongitudeCircles(device, circle, worlds, longitudeLineInterval, longitudeColor);
    }
}

// The circles are one line list in model space, made when the intervals change; a frame draws
// it twice, through the sphere's and the plane's world matrices of the graticule.
#include "scene/tissot_lines.h"

#include "scene/angles.h"
#include "scene/guide_line_geometry.h"
#include "scene/line_material.h"
#include "scene/tissot_circles.h"

namespace {

CircleVertex Vertex(const D3DXVECTOR3& p)
{
    return CircleVertex{p.x, p.y, p.z, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
}

void AppendCircle(std::vector<CircleVertex>& lines, const D3DXVECTOR3& centre)
{
    const double step = 2.0 * drawnPi / tissotSegments;
    D3DXVECTOR3 previous = TissotCirclePoint(centre, 0.0);
    for (unsigned j = 1; j <= tissotSegments; ++j) {
        const D3DXVECTOR3 next =
            j == tissotSegments ? TissotCirclePoint(centre, 0.0) : TissotCirclePoint(centre, j * step);
        lines.push_back(Vertex(previous));
        lines.push_back(Vertex(next));
        previous = next;
    }
}

void DrawRange(IDirect3DDevice9* device, const TissotCircleSet& circles, std::size_t first, std::size_t count,
               const GuideLineWorlds& worlds)
{
    const CircleVertex* start = circles.lines.data() + first * 2 * tissotSegments;
    const auto segments = static_cast<UINT>(count * tissotSegments);
    device->SetTransform(D3DTS_WORLD, &worlds.plane);
    device->DrawPrimitiveUP(D3DPT_LINELIST, segments, start, sizeof(CircleVertex));
    device->SetTransform(D3DTS_WORLD, &worlds.sphere);
    device->DrawPrimitiveUP(D3DPT_LINELIST, segments, start, sizeof(CircleVertex));
}

}  // namespace

const TissotCircleSet& TissotCirclesFor(int latitudeInterval, int longitudeInterval)
{
    static TissotCircleSet circles;
    if (!circles.centres.empty() && circles.latitudeInterval == latitudeInterval &&
        circles.longitudeInterval == longitudeInterval)
        return circles;
    circles.latitudeInterval = latitudeInterval;
    circles.longitudeInterval = longitudeInterval;
    circles.centres = TissotCentres(latitudeInterval, longitudeInterval);
    circles.lines.clear();
    circles.lines.reserve(circles.centres.size() * 2 * tissotSegments);
    for (const D3DXVECTOR3& centre : circles.centres)
        AppendCircle(circles.lines, centre);
    return circles;
}

void DrawTissotCircles(IDirect3DDevice9* device, const TissotCircleSet& circles, const D3DXMATRIX& earthRotation,
                       std::optional<std::size_t> highlighted)
{
    if (circles.centres.empty())
        return;
    device->SetFVF(circleVertexFvf);
    device->SetTexture(0, nullptr);
    const GuideLineWorlds worlds = BuildGuideLineWorlds(earthRotation);
    const D3DMATERIAL9 material = lineMaterial(ColorValueFromArgb(tissotCircleColor));
    device->SetMaterial(&material);
    DrawRange(device, circles, 0, circles.centres.size(), worlds);
    if (!highlighted || *highlighted >= circles.centres.size())
        return;
    const D3DMATERIAL9 highlight = lineMaterial(ColorValueFromArgb(tissotHighlightColor));
    device->SetMaterial(&highlight);
    DrawRange(device, circles, *highlighted, 1, worlds);
}

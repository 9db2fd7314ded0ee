// Screen-space strips for the images of the guide lines.
#include "scene/projected_guide_lines.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "scene/guide_line_geometry.h"
#include "scene/screen_mapping.h"
#include "scene/vector_helpers.h"

namespace {

// D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1, 32 bytes.
struct ScreenVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    D3DCOLOR specular;
    float u, v;
};
constexpr DWORD screenVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;
static_assert(sizeof(ScreenVertex) == 32, "screen vertices are 32 bytes");

constexpr int samplesPerCircle = 360;

D3DCOLOR PackColor(const D3DCOLORVALUE& color)
{
    const auto byte = [](float channel) {
        return static_cast<D3DCOLOR>(std::lround(std::clamp(channel, 0.0f, 1.0f) * 255.0f));
    };
    return (byte(color.a) << 24) | (byte(color.r) << 16) | (byte(color.g) << 8) | byte(color.b);
}

// Collects the kept samples of one circle and draws each unbroken run as a line strip.
class StripBuilder {
public:
    StripBuilder(IDirect3DDevice9* device, float minimumSquaredDistance)
        : device_(device), minimumSquaredDistance_(minimumSquaredDistance)
    {
    }

    // A visible sample, in normalised device coordinates (ndcX, ndcY) and as a screen vertex.
    void Add(float ndcX, float ndcY, const ScreenVertex& vertex)
    {
        const float dx = ndcX - lastX_, dy = ndcY - lastY_;
        if (count_ == 0 || dx * dx + dy * dy >= minimumSquaredDistance_) {
            strip_[count_++] = vertex;
            lastX_ = ndcX;
            lastY_ = ndcY;
            hasPending_ = false;
        } else {
            pending_ = vertex;  // kept only if the run ends here
            hasPending_ = true;
        }
    }

    // Ends the current run at its last visible sample and draws it.
    void Break()
    {
        if (hasPending_)
            strip_[count_++] = pending_;
        if (count_ >= 2) {
            device_->DrawPrimitiveUP(D3DPT_LINESTRIP, static_cast<UINT>(count_ - 1), strip_.data(),
                                     sizeof(ScreenVertex));
        }
        count_ = 0;
        hasPending_ = false;
    }

private:
    IDirect3DDevice9* device_;
    float minimumSquaredDistance_;
    std::array<ScreenVertex, samplesPerCircle + 1> strip_{};
    std::size_t count_ = 0;
    float lastX_ = 0.0f, lastY_ = 0.0f;
    ScreenVertex pending_{};
    bool hasPending_ = false;
};

struct Projection {
    D3DXMATRIX planeViewProjection;  // Wplane * view * projection
    D3DVIEWPORT9 viewport;
    float minimumSquaredDistance;
};

void DrawProjectedCircle(IDirect3DDevice9* device, const Projection& projection, const D3DXMATRIX& placement,
                         const D3DXVECTOR3& axis, D3DCOLOR color)
{
    const D3DXMATRIX toClip = placement * projection.planeViewProjection;
    const D3DVIEWPORT9& vp = projection.viewport;
    const D3DXVECTOR3 start(1.0f, 0.0f, 0.0f);
    StripBuilder strip(device, projection.minimumSquaredDistance);
    for (int degrees = 0; degrees <= samplesPerCircle; ++degrees) {
        D3DXVECTOR3 point;
        RotateAboutAxis(&start, &axis, DegreesToRadians(degrees), &point);
        D3DXVECTOR4 clip;
        D3DXVec3Transform(&clip, &point, &toClip);
        // The clipping the pipeline does for untransformed vertices: a sample must lie in front
        // of the camera (and not behind the projection centre, which turns w negative) between
        // the near and far planes.
        if (!(clip.w > 0.0f && clip.z >= 0.0f && clip.z <= clip.w)) {
            strip.Break();
            continue;
        }
        const float ndcX = clip.x / clip.w, ndcY = clip.y / clip.w, ndcZ = clip.z / clip.w;
        const ScreenPoint pixel = PixelOfDeviceCoordinates(ndcX, ndcY, vp);
        ScreenVertex vertex{};
        vertex.x = pixel.x;
        vertex.y = pixel.y;
        vertex.z = vp.MinZ + ndcZ * (vp.MaxZ - vp.MinZ);
        vertex.rhw = 1.0f / clip.w;
        vertex.diffuse = color;
        strip.Add(ndcX, ndcY, vertex);
    }
    strip.Break();
}

void DrawProjectedLatitudes(IDirect3DDevice9* device, const Projection& projection, int interval,
                            D3DCOLOR latitudeColor, D3DCOLOR redLineColor)
{
    const D3DXVECTOR3 vertical(0.0f, 1.0f, 0.0f);
    // From the southernmost multiple of the interval above -90 to the northernmost below 90;
    // a non-positive interval gives the equator alone.
    const int step = interval > 0 ? interval : static_cast<int>(latitudeLimitDegrees);
    for (int degrees = step * (-89 / step); degrees < static_cast<int>(latitudeLimitDegrees); degrees += step) {
        DrawProjectedCircle(device, projection, LatitudePlacement(degrees), vertical,
                            degrees == 0 ? redLineColor : latitudeColor);
    }
}

void DrawProjectedLongitudes(IDirect3DDevice9* device, const Projection& projection, int interval,
                             D3DCOLOR longitudeColor)
{
    const D3DXVECTOR3 polarAxisNormal(0.0f, 0.0f, 1.0f);
    const unsigned step = CircleStep(interval, longitudeLimitDegrees);
    for (unsigned degrees = 0; degrees < longitudeLimitDegrees; degrees += step) {
        DrawProjectedCircle(device, projection, LongitudePlacement(static_cast<int>(degrees)), polarAxisNormal,
                            longitudeColor);
    }
}

}  // namespace

void DrawProjectedGuideLines(IDirect3DDevice9* device, BOOL showLatitudeLines, int latitudeLineInterval,
                             BOOL showLongitudeLines, int longitudeLineInterval, const D3DXMATRIX& earthRotation,
                             const D3DCOLORVALUE& latitudeColor, const D3DCOLORVALUE& longitudeColor,
                             const D3DCOLORVALUE& redLineColor)
{
    Projection projection;
    D3DXMATRIX view, perspective;
    if (FAILED(device->GetViewport(&projection.viewport)) || FAILED(device->GetTransform(D3DTS_VIEW, &view)) ||
        FAILED(device->GetTransform(D3DTS_PROJECTION, &perspective))) {
        return;
    }
    const GuideLineWorlds worlds = BuildGuideLineWorlds(earthRotation);
    projection.planeViewProjection = worlds.plane * view * perspective;
    const DWORD largerSide = std::max<DWORD>(std::max(projection.viewport.Width, projection.viewport.Height), 1);
    projection.minimumSquaredDistance = 4.0f / static_cast<float>(largerSide);

    device->SetFVF(screenVertexFvf);
    device->SetTexture(0, nullptr);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_VIEW, &identity);
    device->SetTransform(D3DTS_PROJECTION, &identity);

    if (showLatitudeLines) {
        DrawProjectedLatitudes(device, projection, latitudeLineInterval, PackColor(latitudeColor),
                               PackColor(redLineColor));
    }
    if (showLongitudeLines) {
        DrawProjectedLongitudes(device, projection, longitudeLineInterval, PackColor(longitudeColor));
    }

    device->SetTransform(D3DTS_VIEW, &view);
    device->SetTransform(D3DTS_PROJECTION, &perspective);
}

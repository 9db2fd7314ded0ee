// Pixels and device coordinates, both ways.
#include "scene/screen_mapping.h"

ScreenPoint PixelOfDeviceCoordinates(float ndcX, float ndcY, const D3DVIEWPORT9& viewport)
{
    return ScreenPoint{viewport.X + (ndcX + 1.0f) * 0.5f * viewport.Width,
                       viewport.Y + (1.0f - ndcY) * 0.5f * viewport.Height};
}

ScreenPoint DeviceCoordinatesOfPixel(int x, int y, UINT width, UINT height)
{
    return ScreenPoint{2.0f * static_cast<float>(x) / static_cast<float>(width) - 1.0f,
                       1.0f - 2.0f * static_cast<float>(y) / static_cast<float>(height)};
}

std::optional<ScreenPoint> PixelOfWorldPoint(const D3DXVECTOR3& point, const D3DXMATRIX& viewProjection, UINT width,
                                             UINT height)
{
    D3DXVECTOR4 clip;
    D3DXVec3Transform(&clip, &point, &viewProjection);
    if (!(clip.w > 0.0f))
        return std::nullopt;
    const D3DVIEWPORT9 picture{0, 0, width, height, 0.0f, 1.0f};
    return PixelOfDeviceCoordinates(clip.x / clip.w, clip.y / clip.w, picture);
}

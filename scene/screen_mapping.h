// Between the picture's pixels and normalised device coordinates (x from -1 at the left edge to 1
// at the right, y from 1 at the top to -1 at the bottom), as Direct3D 9 maps them: pixel centres
// at whole coordinates, pixel (0, 0) the viewport's top-left corner.
#pragma once

#include <d3dx9.h>
#include <windows.h>

#include <optional>

struct ScreenPoint {
    float x, y;
};

// Where device coordinates fall in the viewport, in pixels.
ScreenPoint PixelOfDeviceCoordinates(float ndcX, float ndcY, const D3DVIEWPORT9& viewport);

// The device coordinates of pixel (x, y) of a width x height picture.
ScreenPoint DeviceCoordinatesOfPixel(int x, int y, UINT width, UINT height);

// Where a world point shows in a width x height picture seen through viewProjection, in pixels;
// none behind the eye.
std::optional<ScreenPoint> PixelOfWorldPoint(const D3DXVECTOR3& point, const D3DXMATRIX& viewProjection, UINT width,
                                             UINT height);

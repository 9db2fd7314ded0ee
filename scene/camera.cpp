// Camera and Earth orientation state and the drags that change it.
#include "scene/camera.h"

#include "scene/vector_helpers.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr float startDistance = 10.0f;
constexpr float fieldOfViewY = 1.0471967f;  // 60 degrees
constexpr float nearPlane = 1.0f;

// Pixels of mouse motion per radian of turn, for all four drag directions.
constexpr double pixelsPerRadian = 100.0;
constexpr float lowestElevation = 0.01f;
constexpr float highestElevation = 1.55f;  // 88.8 degrees: just short of straight above
constexpr double wheelNotch = 120.0;
constexpr double distanceRatioPerNotch = 1.2;
constexpr float nearestDistance = 2.1f;
constexpr float farthestDistance = 100.0f;

// earthOrientation followed by the turn by angle about axis.
void TurnEarth(const D3DXVECTOR3& axis, float angle)
{
    D3DXQUATERNION turn;
    D3DXQuaternionRotationAxis(&turn, &axis, angle);
    D3DXQuaternionMultiply(&earthOrientation, &earthOrientation, &turn);
}

}  // namespace

D3DXQUATERNION earthOrientation(0.0f, 0.0f, 0.0f, 1.0f);
float cameraAzimuth = 0.0f;
float cameraElevation = 0.0f;
float cameraDistance = startDistance;

void DragRotateEarth(int dx, int dy)
{
    D3DXVECTOR3 forward, right;
    CameraBasis(cameraAzimuth, &forward, &right);
    // Vertical motion first, about the camera's right axis (its elevation ignored) ...
    TurnEarth(right, static_cast<float>(dy / -pixelsPerRadian));
    // ... then horizontal motion about the world's vertical axis, the projection's axis.
    TurnEarth(D3DXVECTOR3(0.0f, 1.0f, 0.0f), static_cast<float>(dx / -pixelsPerRadian));
}

void DragOrbitCamera(int dx, int dy)
{
    cameraAzimuth = static_cast<float>(cameraAzimuth + dx / pixelsPerRadian);
    cameraElevation = static_cast<float>(cameraElevation + dy / pixelsPerRadian);
    if (cameraElevation > highestElevation)
        cameraElevation = highestElevation;
    if (cameraElevation < lowestElevation)
        cameraElevation = lowestElevation;
}

void MoveCameraByWheel(int delta)
{
    if (delta != 0) {
        const auto ratio = static_cast<float>(std::pow(distanceRatioPerNotch, std::abs(delta) / wheelNotch));
        cameraDistance = delta > 0 ? cameraDistance / ratio : ratio * cameraDistance;
    }
    if (cameraDistance > farthestDistance)
        cameraDistance = farthestDistance;
    if (cameraDistance < nearestDistance)
        cameraDistance = nearestDistance;
}

void BuildViewMatrix(D3DXMATRIX* view, D3DXVECTOR3* eye)
{
    D3DXVECTOR3 forward, right;
    CameraBasis(cameraAzimuth, &forward, &right);

    // Start level with the Earth's centre, then raise eye and up by the elevation about right.
    D3DXVECTOR3 position = forward * cameraDistance;
    const D3DXVECTOR3 vertical(0.0f, 1.0f, 0.0f);
    D3DXVECTOR3 up;
    RotateAboutAxis(&vertical, &right, cameraElevation, &up);
    RotateAboutAxis(&position, &right, cameraElevation, &position);

    const D3DXVECTOR3 origin(0.0f, 0.0f, 0.0f);
    D3DXMatrixLookAtLH(view, &position, &origin, &up);
    if (eye != nullptr)
        *eye = position;
}

void BuildProjectionMatrix(float aspectRatio, D3DXMATRIX* projection)
{
    D3DXMatrixPerspectiveFovLH(projection, fieldOfViewY, aspectRatio, nearPlane, cameraFarPlane);
}

void ResetEarthAndCamera()
{
    D3DXQuaternionIdentity(&earthOrientation);
    cameraAzimuth = 0.0f;
    cameraElevation = 0.0f;
    cameraDistance = startDistance;
}

// Drags and the wheel. Positions are the signed 16-bit words of lParam.
#include "app/mouse.h"

#include "app/main_window.h"
#include "app/settings.h"
#include "scene/camera.h"
#include "scene/session_state.h"

#include <optional>

BOOL leftDragging = FALSE;
BOOL rightDragging = FALSE;
BOOL drawingCircle = FALSE;
LONG lastMouseX = 0;
LONG lastMouseY = 0;

namespace {

LONG PositionX(LPARAM position)
{
    return static_cast<SHORT>(LOWORD(position));
}

LONG PositionY(LPARAM position)
{
    return static_cast<SHORT>(HIWORD(position));
}

// A drag that missed its button's release (the capture was taken away, the button went up
// outside the window) would otherwise go on turning while the mouse merely hovers.
void EndDragWithoutButton(BOOL& dragging, WPARAM keys, WPARAM button)
{
    if ((keys & button) == 0)
        EndDrag(dragging);
}

}  // namespace

void StartDrag(HWND hwnd, BOOL& dragging, LPARAM position)
{
    if (leftDragging || rightDragging)
        return;
    SetCapture(hwnd);
    dragging = TRUE;
    lastMouseX = PositionX(position);
    lastMouseY = PositionY(position);
}

void StartLeftDrag(HWND hwnd, WPARAM keys, LPARAM position)
{
    const bool idle = !leftDragging && !rightDragging;
    StartDrag(hwnd, leftDragging, position);
    if (!idle || !leftDragging || (keys & MK_CONTROL) == 0)
        return;
    drawingCircle = TRUE;
    if (const std::optional<EyeRay> ray = FrameRayThroughPixel(POINT{lastMouseX, lastMouseY}))
        BeginCircleDrag(ViewerSession.circles, *ray, earthOrientation, ViewerSettings.showEarth != FALSE);
}

void EndDrag(BOOL& dragging)
{
    if (!dragging)
        return;
    ReleaseCapture();
    dragging = FALSE;
    if (&dragging == &leftDragging && drawingCircle) {
        drawingCircle = FALSE;
        EndCircleDrag(ViewerSession.circles);
    }
}

void OnMouseMove(HWND hwnd, WPARAM keys, LPARAM position)
{
    const LONG dx = PositionX(position) - lastMouseX;
    const LONG dy = PositionY(position) - lastMouseY;
    lastMouseX = PositionX(position);
    lastMouseY = PositionY(position);
    EndDragWithoutButton(leftDragging, keys, MK_LBUTTON);
    EndDragWithoutButton(rightDragging, keys, MK_RBUTTON);
    if (leftDragging && drawingCircle) {
        const std::optional<EyeRay> ray = FrameRayThroughPixel(POINT{lastMouseX, lastMouseY});
        if (ray && FollowCircleDrag(ViewerSession.circles, *ray, earthOrientation))
            Invalidate(hwnd);
    } else if (leftDragging) {
        DragRotateEarth(dx, dy);
        Invalidate(hwnd);
    }
    if (rightDragging) {
        DragOrbitCamera(dx, dy);
        Invalidate(hwnd);
    }
    // The rays follow the pointer, with a button or without.
    ViewerSession.pointer = POINT{lastMouseX, lastMouseY};
    if (ViewerSession.showProjectionRays)
        Invalidate(hwnd);
}

void OnMouseWheel(HWND hwnd, WPARAM wParam)
{
    MoveCameraByWheel(GET_WHEEL_DELTA_WPARAM(wParam));
    Invalidate(hwnd);
}

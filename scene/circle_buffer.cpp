// The shared unit circle of the guide lines.
#include "scene/circle_buffer.h"

#include <new>

#include "scene/angles.h"
#include "scene/vector_helpers.h"

unsigned CircleSegmentCount(int lineDensity)
{
    if (lineDensity < minCircleSegments)
        return minCircleSegments;
    if (lineDensity > maxCircleSegments)
        return maxCircleSegments;
    return static_cast<unsigned>(lineDensity);
}

CircleBuffer::CircleBuffer(unsigned segments)
    : segments_(segments), vertices_(new (std::nothrow) CircleVertex[segments + 1]())
{
}

void CircleBuffer::Fill(const D3DXVECTOR3& axis)
{
    if (IsEmpty())
        return;
    const D3DXVECTOR3 start(1.0f, 0.0f, 0.0f);
    for (unsigned j = 0; j <= segments_; ++j) {
        const float angle = static_cast<float>(j * drawnPi * 2.0 / segments_);
        D3DXVECTOR3 point;
        RotateAboutAxis(&start, &axis, angle, &point);
        vertices_[j] = CircleVertex{point.x, point.y, point.z, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    }
}

// Comparisons of D3DX values to float rounding.
#pragma once

#include <gtest/gtest.h>

#include <d3dx9.h>

namespace quorvane::tests {

constexpr float mathTolerance = 1e-6f;

inline void ExpectMatrixNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual, float tolerance = mathTolerance)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            EXPECT_NEAR(expected.m[row][col], actual.m[row][col], tolerance)
                << "at row " << row + 1 << ", column " << col + 1;
}

inline void ExpectVectorNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual, float tolerance = mathTolerance)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

}  // namespace quorvane::tests

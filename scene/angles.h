// The two values of pi the scene uses. The graticule and every circle drawn like it take
// 3.14159, a float, as the drawing always has: their vertices depend on it to the last bit. The
// geometry computed for reading out (Tissot circles, scales, angles) takes pi to double precision.
#pragma once

#include <numbers>

// The drawn circles' pi, widened to double where it is used.
constexpr double drawnPi = static_cast<double>(3.14159f);

constexpr double degreesToRadians = std::numbers::pi / 180.0;
constexpr double radiansToDegrees = 180.0 / std::numbers::pi;

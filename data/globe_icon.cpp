// The globe: an orthographic view of the Earth image, shaded by one light, supersampled.
#include "globe_icon.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane::data {
namespace {

using std::numbers::pi;

struct Vector {
    double x, y, z;
};

Vector operator*(double s, const Vector& v)
{
    return {s * v.x, s * v.y, s * v.z};
}
Vector operator+(const Vector& a, const Vector& b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
double Dot(const Vector& a, const Vector& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The Earth's frame: x towards longitude 0 on the equator, y towards 90 degrees east, z north.
// The view's frame: `toward` points at the viewer from the centre of the disc, `east` to the
// right of the disc and `north` up it.
struct ViewFrame {
    Vector toward, east, north;
};

ViewFrame FrameOf(const GlobeView& view)
{
    const double lat = view.latitude * pi / 180, lon = view.longitude * pi / 180;
    return {{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)},
            {-std::sin(lon), std::cos(lon), 0},
            {-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)}};
}

// The light comes from the upper left, in front of the globe (view coordinates: right, up,
// towards the viewer).
const Vector light = [] {
    const Vector direction{-0.45, 0.55, 0.70};
    return (1 / std::sqrt(Dot(direction, direction))) * direction;
}();
constexpr double ambient = 0.30;
constexpr double diffuse = 0.85;

struct LinearColor {
    double r = 0, g = 0, b = 0;
};

// The Earth image in linear light, sampled bilinearly; longitude wraps, latitude is clamped.
class EarthSampler {
public:
    explicit EarthSampler(const RgbImage& earth) : earth_(earth)
    {
        for (int i = 0; i < 256; ++i)
            toLinear_[static_cast<std::size_t>(i)] = SrgbToLinear(static_cast<float>(i) / 255.0f);
    }

    LinearColor At(double latitude, double longitude) const
    {
        const double x = (longitude + pi) / (2 * pi) * earth_.width - 0.5;
        const double y = std::clamp((pi / 2 - latitude) / pi * earth_.height - 0.5, 0.0, earth_.height - 1.0);
        const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
        const double fx = x - x0, fy = y - y0;
        LinearColor sum;
        for (int dy = 0; dy < 2; ++dy) {
            for (int dx = 0; dx < 2; ++dx) {
                const double weight = (dx ? fx : 1 - fx) * (dy ? fy : 1 - fy);
                const int column = ((x0 + dx) % earth_.width + earth_.width) % earth_.width;
                const int row = std::min(y0 + dy, earth_.height - 1);
                const std::uint8_t* p = &earth_.rgb[(static_cast<std::size_t>(row) * earth_.width + column) * 3];
                sum.r += weight * toLinear_[p[0]];
                sum.g += weight * toLinear_[p[1]];
                sum.b += weight * toLinear_[p[2]];
            }
        }
        return sum;
    }

private:
    const RgbImage& earth_;
    float toLinear_[256];
};

std::uint8_t ToByte(double linear)
{
    const float srgb = LinearToSrgb(static_cast<float>(std::clamp(linear, 0.0, 1.0)));
    return static_cast<std::uint8_t>(std::lround(srgb * 255));
}

}  // namespace

RgbaImage RenderGlobe(const RgbImage& earth, int size, const GlobeView& view)
{
    const ViewFrame frame = FrameOf(view);
    const EarthSampler sampler(earth);
    const double radius = size / 2.0 - size / 32.0;
    // Enough samples per pixel for a smooth rim at 16 pixels, fewer where pixels are small.
    const int samples = std::clamp(128 / size, 3, 8);
    RgbaImage image;
    image.size = size;
    image.rgba.assign(static_cast<std::size_t>(size) * size * 4, 0);
    for (int py = 0; py < size; ++py) {
        for (int px = 0; px < size; ++px) {
            LinearColor sum;
            int inside = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    // Disc coordinates: right and up, the rim at 1.
                    const double u = (px + (sx + 0.5) / samples - size / 2.0) / radius;
                    const double v = (size / 2.0 - py - (sy + 0.5) / samples) / radius;
                    const double w2 = 1 - u * u - v * v;
                    if (w2 < 0)
                        continue;
                    const double w = std::sqrt(w2);
                    const Vector onEarth = w * frame.toward + u * frame.east + v * frame.north;
                    const LinearColor color =
                        sampler.At(std::asin(std::clamp(onEarth.z, -1.0, 1.0)), std::atan2(onEarth.y, onEarth.x));
                    const double shade = ambient + diffuse * std::max(0.0, Dot({u, v, w}, light));
                    sum.r += shade * color.r;
                    sum.g += shade * color.g;
                    sum.b += shade * color.b;
                    ++inside;
                }
            }
            if (inside == 0)
                continue;
            std::uint8_t* out = &image.rgba[(static_cast<std::size_t>(py) * size + px) * 4];
            out[0] = ToByte(sum.r / inside);
            out[1] = ToByte(sum.g / inside);
            out[2] = ToByte(sum.b / inside);
            out[3] = static_cast<std::uint8_t>(std::lround(255.0 * inside / (samples * samples)));
        }
    }
    return image;
}

}  // namespace quorvane::data

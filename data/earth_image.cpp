#include "earth_image.h"

#include <turbojpeg.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace quorvane::data {
namespace {

double Lanczos3(double x)
{
    using std::numbers::pi;
    x = std::fabs(x);
    if (x < 1e-9) {
        return 1;
    }
    if (x >= 3) {
        return 0;
    }
    return 3 * std::sin(pi * x) * std::sin(pi * x / 3) / (pi * pi * x * x);
}

// The taps of one output sample: source indices (already wrapped or clamped) and weights
// that sum to 1.
struct Taps {
    std::vector<int> index;
    std::vector<float> weight;
};

std::vector<Taps> MakeTaps(int sourceSize, int targetSize, bool wrap)
{
    const double scale = static_cast<double>(sourceSize) / targetSize;
    const double filterScale = std::max(1.0, scale);  // widen the kernel when shrinking
    const double support = 3 * filterScale;
    std::vector<Taps> all(static_cast<std::size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        const double centre = (t + 0.5) * scale - 0.5;  // pixel centres line up
        const int first = static_cast<int>(std::floor(centre - support)) + 1;
        const int last = static_cast<int>(std::ceil(centre + support)) - 1;
        Taps& taps = all[static_cast<std::size_t>(t)];
        double sum = 0;
        for (int s = first; s <= last; ++s) {
            const double w = Lanczos3((s - centre) / filterScale);
            if (w == 0) {
                continue;
            }
            const int index = wrap ? ((s % sourceSize) + sourceSize) % sourceSize : std::clamp(s, 0, sourceSize - 1);
            taps.index.push_back(index);
            taps.weight.push_back(static_cast<float>(w));
            sum += w;
        }
        for (float& w : taps.weight) {
            w = static_cast<float>(w / sum);
        }
    }
    return all;
}

}  // namespace

float SrgbToLinear(float c)
{
    return c <= 0.04045f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
}

float LinearToSrgb(float c)
{
    return c <= 0.0031308f ? c * 12.92f : 1.055f * std::pow(c, 1 / 2.4f) - 0.055f;
}

bool DecodeJpeg(const std::vector<std::uint8_t>& jpeg, RgbImage& image)
{
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    bool ok = handle != nullptr &&
              tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling, &colorspace) == 0;
    if (ok) {
        image.width = width;
        image.height = height;
        image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
        ok = tjDecompress2(handle, jpeg.data(), jpeg.size(), image.rgb.data(), width, 0, height, TJPF_RGB,
                           TJFLAG_ACCURATEDCT) == 0;
    }
    if (handle != nullptr) {
        tjDestroy(handle);
    }
    return ok;
}

RgbImage ResampleLanczos3(const RgbImage& source, int width, int height)
{
    std::array<float, 256> toLinear{};
    for (int i = 0; i < 256; ++i) {
        toLinear[static_cast<std::size_t>(i)] = SrgbToLinear(i / 255.0f);
    }
    // Horizontal pass into linear floats: width x source.height.
    const std::vector<Taps> columns = MakeTaps(source.width, width, true);
    std::vector<float> wide(static_cast<std::size_t>(width) * source.height * 3);
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* row = &source.rgb[static_cast<std::size_t>(y) * source.width * 3];
        float* out = &wide[static_cast<std::size_t>(y) * width * 3];
        for (int x = 0; x < width; ++x) {
            const Taps& taps = columns[static_cast<std::size_t>(x)];
            float sum[3] = {0, 0, 0};
            for (std::size_t k = 0; k < taps.index.size(); ++k) {
                const std::uint8_t* p = row + taps.index[k] * 3;
                for (int c = 0; c < 3; ++c) {
                    sum[c] += taps.weight[k] * toLinear[p[c]];
                }
            }
            std::copy(sum, sum + 3, out + x * 3);
        }
    }
    // Vertical pass, back to sRGB bytes; Lanczos overshoot is clamped.
    const std::vector<Taps> rows = MakeTaps(source.height, height, false);
    RgbImage target;
    target.width = width;
    target.height = height;
    target.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        const Taps& taps = rows[static_cast<std::size_t>(y)];
        for (int x = 0; x < width * 3; ++x) {
            float sum = 0;
            for (std::size_t k = 0; k < taps.index.size(); ++k) {
                sum += taps.weight[k] * wide[static_cast<std::size_t>(taps.index[k]) * width * 3 + x];
            }
            const float srgb = LinearToSrgb(std::clamp(sum, 0.0f, 1.0f));
            target.rgb[static_cast<std::size_t>(y) * width * 3 + x] =
                static_cast<std::uint8_t>(std::lround(srgb * 255));
        }
    }
    return target;
}

bool EncodeJpeg(const RgbImage& image, int quality, std::vector<std::uint8_t>& jpeg)
{
    tjhandle handle = tjInitCompress();
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool ok = handle != nullptr && tjCompress2(handle, image.rgb.data(), image.width, 0, image.height, TJPF_RGB,
                                                     &buffer, &size, TJSAMP_420, quality, TJFLAG_ACCURATEDCT) == 0;
    if (ok) {
        jpeg.assign(buffer, buffer + size);
    }
    tjFree(buffer);
    if (handle != nullptr) {
        tjDestroy(handle);
    }
    return ok;
}

}  // namespace quorvane::data

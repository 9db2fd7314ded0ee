#include "d3dx9/image/mipmap.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvane::d3dx9 {
namespace {

// Output pixels [first, end) of one row from the two source rows: each byte the rounded
// average of the four bytes below it. `rightStep` is 4 (the next pixel) or 0 (a 1-wide level).
void AverageRowScalar(const std::uint8_t* top, const std::uint8_t* bottom, std::size_t rightStep, std::uint32_t first,
                      std::uint32_t end, std::uint8_t* out)
{
    for (std::uint32_t x = first; x < end; ++x) {
        const std::size_t left = std::size_t{x} * 2 * rightStep;
        const std::size_t right = left + rightStep;
        for (int c = 0; c < 4; ++c) {
            const unsigned sum = top[left + c] + top[right + c] + bottom[left + c] + bottom[right + c];
            out[x * 4 + c] = static_cast<std::uint8_t>((sum + 2) / 4);
        }
    }
}

#if defined(__SSE2__)
// Four output pixels at a time: 16-bit sums of the two rows, then of neighbouring pixels.
std::uint32_t AverageRowSse2(const std::uint8_t* top, const std::uint8_t* bottom, std::uint32_t width,
                             std::uint8_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i two = _mm_set1_epi16(2);
    std::uint32_t x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m128i topA = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + x * 8));
        const __m128i topB = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + x * 8 + 16));
        const __m128i bottomA = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + x * 8));
        const __m128i bottomB = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + x * 8 + 16));
        // Each register: two source pixels' channels as 16-bit columns summed over both rows.
        const __m128i pair0 = _mm_add_epi16(_mm_unpacklo_epi8(topA, zero), _mm_unpacklo_epi8(bottomA, zero));
        const __m128i pair1 = _mm_add_epi16(_mm_unpackhi_epi8(topA, zero), _mm_unpackhi_epi8(bottomA, zero));
        const __m128i pair2 = _mm_add_epi16(_mm_unpacklo_epi8(topB, zero), _mm_unpacklo_epi8(bottomB, zero));
        const __m128i pair3 = _mm_add_epi16(_mm_unpackhi_epi8(topB, zero), _mm_unpackhi_epi8(bottomB, zero));
        // Left plus right pixel of each pair lands in the low half.
        const __m128i sum0 = _mm_add_epi16(pair0, _mm_srli_si128(pair0, 8));
        const __m128i sum1 = _mm_add_epi16(pair1, _mm_srli_si128(pair1, 8));
        const __m128i sum2 = _mm_add_epi16(pair2, _mm_srli_si128(pair2, 8));
        const __m128i sum3 = _mm_add_epi16(pair3, _mm_srli_si128(pair3, 8));
        const __m128i low = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(sum0, sum1), two), 2);
        const __m128i high = _mm_srli_epi16(_mm_add_epi16(_mm_unpacklo_epi64(sum2, sum3), two), 2);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x * 4), _mm_packus_epi16(low, high));
    }
    return x;
}
#endif

}  // namespace

std::uint32_t FullMipChainLength(std::uint32_t width, std::uint32_t height)
{
    std::uint32_t levels = 1;
    for (std::uint32_t side = std::max(width, height); side > 1; side /= 2) {
        ++levels;
    }
    return levels;
}

void DownsampleBox(const std::uint8_t* source, std::size_t sourcePitch, std::uint32_t width, std::uint32_t height,
                   std::uint8_t* target, std::size_t targetPitch)
{
    const std::uint32_t targetWidth = std::max<std::uint32_t>(1, width / 2);
    const std::uint32_t targetHeight = std::max<std::uint32_t>(1, height / 2);
    // With a side of 1 the "second" row or column is the first one again.
    const std::size_t rowStep = height > 1 ? sourcePitch : 0;
    const std::size_t rightStep = width > 1 ? 4 : 0;
    for (std::uint32_t y = 0; y < targetHeight; ++y) {
        const std::uint8_t* top = source + std::size_t{y} * 2 * rowStep;
        const std::uint8_t* bottom = top + rowStep;
        std::uint8_t* out = target + std::size_t{y} * targetPitch;
        std::uint32_t done = 0;
#if defined(__SSE2__)
        if (rightStep == 4) {
            done = AverageRowSse2(top, bottom, targetWidth, out);
        }
#endif
        AverageRowScalar(top, bottom, rightStep, done, targetWidth, out);
    }
}

}  // namespace quorvane::d3dx9

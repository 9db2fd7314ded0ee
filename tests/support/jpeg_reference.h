// TurboJPEG's own decode of a JPEG file: the oracle the platform's decoder and what is made from
// it are compared with, so that a test does not check the decoder with itself.
#pragma once

#include <turbojpeg.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace quorvane::tests {

struct JpegReference {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgrx;  // 4 bytes a pixel as D3DFMT_X8R8G8B8 lays them out, top row first

    // The pixels as 32-bit values 0xXXRRGGBB.
    std::vector<std::uint32_t> Pixels() const
    {
        std::vector<std::uint32_t> pixels(bgrx.size() / 4);
        std::memcpy(pixels.data(), bgrx.data(), pixels.size() * 4);
        return pixels;
    }
    // The red, green and blue of pixel (x, y) as 0x00RRGGBB.
    std::uint32_t At(int x, int y) const
    {
        const std::uint8_t* p = &bgrx[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
        return std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
    }
};

// Empty (width 0) when TurboJPEG refuses the bytes.
inline JpegReference DecodeWithTurboJpeg(const std::vector<std::uint8_t>& jpeg)
{
    JpegReference image;
    tjhandle handle = tjInitDecompress();
    int subsampling = 0;
    int colorspace = 0;
    if (handle != nullptr && tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &image.width, &image.height,
                                                 &subsampling, &colorspace) == 0) {
        image.bgrx.resize(std::size_t(image.width) * std::size_t(image.height) * 4);
        if (tjDecompress2(handle, jpeg.data(), jpeg.size(), image.bgrx.data(), image.width, 0, image.height, TJPF_BGRX,
                          0) != 0) {
            image = JpegReference{};
        }
    }
    if (handle != nullptr) {
        tjDestroy(handle);
    }
    return image;
}

}  // namespace quorvane::tests

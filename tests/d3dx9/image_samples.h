// Image files made on the spot for decoding tests: known pixels written by libpng, TurboJPEG
// or by hand as bitmaps.
#pragma once

#include <png.h>
#include <turbojpeg.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace quorvane::tests {

// R, G, B, A bytes with every channel varying differently, alpha included.
inline std::vector<std::uint8_t> PatternRgba(std::uint32_t width, std::uint32_t height)
{
    std::vector<std::uint8_t> rgba(std::size_t{width} * height * 4);
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint8_t* p = &rgba[(std::size_t{y} * width + x) * 4];
            p[0] = static_cast<std::uint8_t>(x * 37 + y * 11);
            p[1] = static_cast<std::uint8_t>(x * 5 + y * 67);
            p[2] = static_cast<std::uint8_t>(255 - x * 13 - y * 3);
            p[3] = static_cast<std::uint8_t>(x * 29 + y * 41 + 1);
        }
    }
    return rgba;
}

inline std::vector<std::uint8_t> EncodePng(const std::vector<std::uint8_t>& rgba, std::uint32_t width,
                                           std::uint32_t height, bool withAlpha)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    std::vector<std::uint8_t> source;
    if (withAlpha) {
        source = rgba;
    } else {
        for (std::size_t i = 0; i < rgba.size(); i += 4) {
            source.insert(source.end(), &rgba[i], &rgba[i] + 3);
        }
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, source.data(), 0, nullptr)) {
        throw std::runtime_error("png size");
    }
    std::vector<std::uint8_t> file(size);
    if (!png_image_write_to_memory(&image, file.data(), &size, 0, source.data(), 0, nullptr)) {
        throw std::runtime_error("png write");
    }
    file.resize(size);
    return file;
}

inline std::vector<std::uint8_t> EncodeJpeg(const std::vector<std::uint8_t>& rgba, std::uint32_t width,
                                            std::uint32_t height, int quality)
{
    tjhandle handle = tjInitCompress();
    unsigned char* jpeg = nullptr;
    unsigned long size = 0;
    const int result = tjCompress2(handle, rgba.data(), static_cast<int>(width), 0, static_cast<int>(height), TJPF_RGBA,
                                   &jpeg, &size, TJSAMP_420, quality, 0);
    tjDestroy(handle);
    if (result != 0) {
        tjFree(jpeg);
        throw std::runtime_error("jpeg write");
    }
    std::vector<std::uint8_t> file(jpeg, jpeg + size);
    tjFree(jpeg);
    return file;
}

namespace detail {
inline void PutU16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
}
inline void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
}
// File header and a BITMAPINFOHEADER-style header of `headerSize` bytes (fields beyond 40 zero).
inline std::vector<std::uint8_t> BmpHeaders(std::uint32_t headerSize, std::int32_t width, std::int32_t height,
                                            std::uint16_t bits, std::uint32_t compression, std::uint32_t extra,
                                            std::uint32_t pixelBytes)
{
    std::vector<std::uint8_t> out = {'B', 'M'};
    const std::uint32_t offset = 14 + headerSize + extra;
    PutU32(out, offset + pixelBytes);
    PutU32(out, 0);
    PutU32(out, offset);
    PutU32(out, headerSize);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));
    PutU16(out, 1);
    PutU16(out, bits);
    PutU32(out, compression);
    PutU32(out, pixelBytes);
    PutU32(out, 2835);
    PutU32(out, 2835);
    PutU32(out, 0);
    PutU32(out, 0);
    out.resize(14 + headerSize, 0);
    return out;
}
}  // namespace detail

// 24 bits per pixel, bottom-up rows padded to 4 bytes.
inline std::vector<std::uint8_t> EncodeBmp24(const std::vector<std::uint8_t>& rgba, std::uint32_t width,
                                             std::uint32_t height)
{
    const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> out = detail::BmpHeaders(40, static_cast<std::int32_t>(width),
                                                       static_cast<std::int32_t>(height), 24, 0, 0, rowBytes * height);
    for (std::uint32_t row = height; row-- > 0;) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint8_t* p = &rgba[(std::size_t{row} * width + x) * 4];
            out.insert(out.end(), {p[2], p[1], p[0]});
        }
        out.resize(out.size() + rowBytes - width * 3, 0);
    }
    return out;
}

// 32 bits with BI_BITFIELDS masks R 0x00FF0000, G 0x0000FF00, B 0x000000FF, A 0xFF000000 in a
// 124-byte header; top-down rows (negative height).
inline std::vector<std::uint8_t> EncodeBmp32WithAlpha(const std::vector<std::uint8_t>& rgba, std::uint32_t width,
                                                      std::uint32_t height)
{
    std::vector<std::uint8_t> out = detail::BmpHeaders(
        124, static_cast<std::int32_t>(width), -static_cast<std::int32_t>(height), 32, 3, 0, width * height * 4);
    const std::uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    std::memcpy(&out[14 + 40], masks, sizeof masks);
    for (std::size_t i = 0; i < std::size_t{width} * height; ++i) {
        const std::uint8_t* p = &rgba[i * 4];
        out.insert(out.end(), {p[2], p[1], p[0], p[3]});
    }
    return out;
}

// 4 bits per pixel with a 16-colour palette (colour i = B 10i, G 20i, R 30i); pixel x of
// every row uses colour x.
inline std::vector<std::uint8_t> EncodeBmp4Palette(std::uint32_t width, std::uint32_t height)
{
    const std::uint32_t rowBytes = (width * 4 + 31) / 32 * 4;
    std::vector<std::uint8_t> out = detail::BmpHeaders(
        40, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), 4, 0, 16 * 4, rowBytes * height);
    for (std::uint8_t i = 0; i < 16; ++i) {
        out.insert(out.end(), {std::uint8_t(10 * i), std::uint8_t(20 * i), std::uint8_t(30 * i), 0});
    }
    for (std::uint32_t row = 0; row < height; ++row) {
        std::vector<std::uint8_t> bytes(rowBytes, 0);
        for (std::uint32_t x = 0; x < width; ++x) {
            bytes[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? x << 4 : x);
        }
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    return out;
}

}  // namespace quorvane::tests

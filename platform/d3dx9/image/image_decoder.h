// Decoding of JPEG, PNG and BMP images from bytes in memory into 32-bit pixels.
//
// Decoding is split in two steps so that the caller can allocate the destination (a locked
// texture level, say) once the size is known, and the decoder writes straight into it:
// ReadImageInfo looks at the header only, DecodeImage fills the caller's rows.
// Pixels are written as bytes B, G, R, A: the memory order of D3DFMT_A8R8G8B8 and
// D3DFMT_X8R8G8B8. Images without alpha get A = 255.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane::image {

// Larger sides are refused: the bound keeps a forged header from asking for gigabytes.
constexpr std::uint32_t maxImageSide = 16384;

enum class ImageFileFormat {
    jpeg,
    png,
    bmp
};

struct ImageInfo {
    ImageFileFormat fileFormat = ImageFileFormat::jpeg;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool hasAlpha = false;  // the image carries an alpha channel (PNG with alpha or tRNS, BMP with an alpha mask)
};

// Reads the header. False for bytes that are no image of a known format, or whose sides are 0
// or above maxImageSide.
bool ReadImageInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info);

// Decodes the whole image into `pixels`: info.height rows of info.width 4-byte pixels, rows
// `pitch` bytes apart (pitch >= 4 * width, a multiple of 4). `info` must come from ReadImageInfo
// on the same bytes. False for corrupt or truncated data; the rows may then hold partial output.
bool DecodeImage(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
                 std::size_t pitch);

// Both steps into a tightly packed buffer (tests, tools and the fuzz target use this).
struct DecodedImage {
    ImageInfo info;
    std::vector<std::uint8_t> pixels;  // BGRA, width * 4 bytes per row
};
bool DecodeImageToBuffer(const std::uint8_t* bytes, std::size_t size, DecodedImage& image);

}  // namespace quorvane::image

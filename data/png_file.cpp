// Encodes through libpng's simplified interface, into memory, so the file is written atomically
// as the other data files are.
#include "png_file.h"

#include <png.h>

namespace quorvane::data {

std::vector<std::uint8_t> PngFile(const RgbaImage& image)
{
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.size);
    png.height = static_cast<png_uint_32>(image.size);
    png.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&png, nullptr, &size, 0, image.rgba.data(), 0, nullptr))
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (!png_image_write_to_memory(&png, bytes.data(), &size, 0, image.rgba.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

}  // namespace quorvane::data

// PNG through libpng's simplified API, which reads from memory and writes rows with a stride,
// so the pixels land directly in the caller's rows (B, G, R, A).
#include <png.h>

#include <climits>
#include <cstring>

#include "d3dx9/image/image_formats.h"

namespace quorvane::image {
namespace {

// Frees libpng's state on every path; png_image_free is safe on an image already freed.
class PngImage {
public:
    PngImage() { image_.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image_); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image* operator->() { return &image_; }
    png_image* get() { return &image_; }

private:
    png_image image_{};
};

// libpng stops reading after the last image row, so a file cut in its closing chunk would
// pass; a PNG file ends with the IEND chunk (length 0, type, fixed CRC), looked for from the end.
bool HasEndChunk(const std::uint8_t* bytes, std::size_t size)
{
    static constexpr std::uint8_t endChunk[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    for (std::size_t end = size; end >= sizeof endChunk; --end) {
        if (std::memcmp(bytes + end - sizeof endChunk, endChunk, sizeof endChunk) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool ReadPngInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info)
{
    // A file cut short is refused here already, before anything is allocated for its pixels.
    PngImage image;
    if (!HasEndChunk(bytes, size) || !png_image_begin_read_from_memory(image.get(), bytes, size)) {
        return false;
    }
    info.fileFormat = ImageFileFormat::png;
    info.width = image->width;
    info.height = image->height;
    info.hasAlpha = (image->format & PNG_FORMAT_FLAG_ALPHA) != 0;
    return true;
}

bool DecodePng(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
               std::size_t pitch)
{
    if (pitch > INT_MAX) {
        return false;
    }
    PngImage image;
    if (!HasEndChunk(bytes, size) || !png_image_begin_read_from_memory(image.get(), bytes, size) ||
        image->width != info.width || image->height != info.height) {
        return false;
    }
    // Without alpha in the file libpng fills A with 255. The stride counts 8-bit components.
    image->format = PNG_FORMAT_BGRA;
    return png_image_finish_read(image.get(), nullptr, pixels, static_cast<png_int_32>(pitch), nullptr) != 0;
}

}  // namespace quorvane::image

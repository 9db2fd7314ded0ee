// Picks the reader by the file's signature and checks the common limits.
#include "d3dx9/image/image_decoder.h"

#include <cstring>

#include "d3dx9/image/image_formats.h"

namespace quorvane::image {
namespace {

bool StartsWith(const std::uint8_t* bytes, std::size_t size, const char* signature, std::size_t length)
{
    return size >= length && std::memcmp(bytes, signature, length) == 0;
}

bool SidesAcceptable(const ImageInfo& info)
{
    return info.width > 0 && info.height > 0 && info.width <= maxImageSide && info.height <= maxImageSide;
}

}  // namespace

bool ReadImageInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info)
{
    info = ImageInfo{};
    if (bytes == nullptr) {
        return false;
    }
    bool known = false;
    if (StartsWith(bytes, size, "\xFF\xD8\xFF", 3)) {
        known = ReadJpegInfo(bytes, size, info);
    } else if (StartsWith(bytes, size, "\x89PNG\r\n\x1A\n", 8)) {
        known = ReadPngInfo(bytes, size, info);
    } else if (StartsWith(bytes, size, "BM", 2)) {
        known = ReadBmpInfo(bytes, size, info);
    }
    return known && SidesAcceptable(info);
}

bool DecodeImage(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
                 std::size_t pitch)
{
    if (bytes == nullptr || pixels == nullptr || !SidesAcceptable(info) || pitch < 4 * std::size_t{info.width} ||
        pitch % 4 != 0) {
        return false;
    }
    switch (info.fileFormat) {
    case ImageFileFormat::jpeg: return DecodeJpeg(bytes, size, info, pixels, pitch);
    case ImageFileFormat::png: return DecodePng(bytes, size, info, pixels, pitch);
    case ImageFileFormat::bmp: return DecodeBmp(bytes, size, info, pixels, pitch);
    }
    return false;
}

bool DecodeImageToBuffer(const std::uint8_t* bytes, std::size_t size, DecodedImage& image)
{
    image = DecodedImage{};
    ImageInfo info;
    if (!ReadImageInfo(bytes, size, info)) {
        return false;
    }
    const std::size_t pitch = 4 * std::size_t{info.width};
    std::vector<std::uint8_t> pixels(pitch * info.height);
    if (!DecodeImage(bytes, size, info, pixels.data(), pitch)) {
        return false;
    }
    image.info = info;
    image.pixels = std::move(pixels);
    return true;
}

}  // namespace quorvane::image

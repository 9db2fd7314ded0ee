// The .ico format: a directory of images, each a bitmap (BITMAPINFOHEADER with twice the height,
// 32-bit BGRA rows bottom up, then a 1-bit AND mask with rows padded to 32 bits).
#include "globe_icon.h"

namespace quorvane::data {
namespace {

constexpr std::size_t directoryHeaderBytes = 6;
constexpr std::size_t directoryEntryBytes = 16;
constexpr std::size_t bitmapHeaderBytes = 40;

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutDword(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutWord(out, value & 0xFFFF);
    PutWord(out, value >> 16);
}

std::size_t MaskRowBytes(int size)
{
    return (static_cast<std::size_t>(size) + 31) / 32 * 4;
}

std::size_t ImageBytes(const RgbaImage& image)
{
    const auto size = static_cast<std::size_t>(image.size);
    return bitmapHeaderBytes + size * size * 4 + MaskRowBytes(image.size) * size;
}

void PutImage(std::vector<std::uint8_t>& out, const RgbaImage& image)
{
    const int size = image.size;
    PutDword(out, bitmapHeaderBytes);
    PutDword(out, static_cast<std::uint32_t>(size));
    PutDword(out, static_cast<std::uint32_t>(size * 2));  // colours and mask
    PutWord(out, 1);                                      // planes
    PutWord(out, 32);                                     // bits per pixel
    PutDword(out, 0);                                     // no compression
    PutDword(out, static_cast<std::uint32_t>(ImageBytes(image) - bitmapHeaderBytes));
    for (int i = 0; i < 4; ++i)
        PutDword(out, 0);  // densities and palette counts
    for (int y = size - 1; y >= 0; --y) {
        const std::uint8_t* row = &image.rgba[static_cast<std::size_t>(y) * size * 4];
        for (int x = 0; x < size; ++x) {
            const std::uint8_t* p = row + x * 4;
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> mask(MaskRowBytes(size), 0);
        for (int x = 0; x < size; ++x) {
            if (image.rgba[(static_cast<std::size_t>(y) * size + x) * 4 + 3] == 0)
                mask[static_cast<std::size_t>(x) / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), mask.begin(), mask.end());
    }
}

}  // namespace

std::vector<std::uint8_t> IcoFile(const std::vector<RgbaImage>& images)
{
    std::vector<std::uint8_t> out;
    PutWord(out, 0);  // reserved
    PutWord(out, 1);  // an icon, not a cursor
    PutWord(out, static_cast<std::uint32_t>(images.size()));
    std::size_t offset = directoryHeaderBytes + directoryEntryBytes * images.size();
    for (const RgbaImage& image : images) {
        const auto side = static_cast<std::uint8_t>(image.size == 256 ? 0 : image.size);  // 0 means 256
        out.insert(out.end(), {side, side, 0, 0});  // width, height, no palette, reserved
        PutWord(out, 1);                            // planes
        PutWord(out, 32);                           // bits per pixel
        PutDword(out, static_cast<std::uint32_t>(ImageBytes(image)));
        PutDword(out, static_cast<std::uint32_t>(offset));
        offset += ImageBytes(image);
    }
    for (const RgbaImage& image : images)
        PutImage(out, image);
    return out;
}

}  // namespace quorvane::data

// Windows bitmaps: uncompressed 1, 4, 8 (palette), 16, 24 and 32 bits per pixel, with
// BI_BITFIELDS masks for 16 and 32 bits; bottom-up and top-down rows. RLE is refused.
#include <bit>
#include <cstring>

#include "d3dx9/image/image_formats.h"

namespace quorvane::image {
namespace {

constexpr std::uint32_t biRgb = 0;
constexpr std::uint32_t biBitfields = 3;
constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t coreHeaderSize = 12;
constexpr std::size_t infoHeaderSize = 40;

std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t ReadU32(const std::uint8_t* p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24;
}

// One channel's mask: its position and width, and the scale that takes it to 8 bits.
struct Channel {
    std::uint32_t mask = 0;
    unsigned shift = 0;
    std::uint64_t maxValue = 0;

    static bool FromMask(std::uint32_t mask, Channel& channel)
    {
        channel = Channel{};
        if (mask == 0) {
            return true;
        }
        channel.mask = mask;
        channel.shift = static_cast<unsigned>(std::countr_zero(mask));
        const std::uint32_t bits = mask >> channel.shift;
        if ((bits & (bits + 1)) != 0) {
            return false;  // not one contiguous run of ones
        }
        channel.maxValue = bits;
        return true;
    }

    std::uint8_t Extract(std::uint32_t value, std::uint8_t absent) const
    {
        if (mask == 0) {
            return absent;
        }
        const std::uint64_t raw = (value & mask) >> shift;
        return static_cast<std::uint8_t>((raw * 255 + maxValue / 2) / maxValue);
    }
};

// Everything the header says about the pixel data.
struct BmpLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool topDown = false;
    unsigned bitsPerPixel = 0;
    std::size_t pixelOffset = 0;
    std::size_t rowBytes = 0;
    const std::uint8_t* palette = nullptr;  // B, G, R entries paletteStride bytes apart
    std::size_t paletteStride = 4;
    std::uint32_t paletteCount = 0;
    Channel red, green, blue, alpha;
};

bool SetDefaultMasks(BmpLayout& layout)
{
    if (layout.bitsPerPixel == 16) {
        return Channel::FromMask(0x7C00, layout.red) && Channel::FromMask(0x03E0, layout.green) &&
               Channel::FromMask(0x001F, layout.blue);
    }
    if (layout.bitsPerPixel == 32) {
        return Channel::FromMask(0x00FF0000, layout.red) && Channel::FromMask(0x0000FF00, layout.green) &&
               Channel::FromMask(0x000000FF, layout.blue);
    }
    return true;
}

bool ParseLayout(const std::uint8_t* bytes, std::size_t size, BmpLayout& layout)
{
    if (size < fileHeaderSize + 4) {
        return false;
    }
    const std::uint8_t* dib = bytes + fileHeaderSize;
    const std::size_t headerSize = ReadU32(dib);
    const bool knownHeader = headerSize == coreHeaderSize || headerSize == infoHeaderSize || headerSize == 52 ||
                             headerSize == 56 || headerSize == 108 || headerSize == 124;
    if (!knownHeader || headerSize > size - fileHeaderSize) {
        return false;
    }
    layout.pixelOffset = ReadU32(bytes + 10);
    std::uint32_t compression = biRgb;
    std::uint32_t colorsUsed = 0;
    if (headerSize == coreHeaderSize) {
        layout.width = ReadU16(dib + 4);
        layout.height = ReadU16(dib + 6);
        layout.bitsPerPixel = ReadU16(dib + 10);
        layout.paletteStride = 3;
    } else {
        const auto width = static_cast<std::int32_t>(ReadU32(dib + 4));
        const auto height = static_cast<std::int32_t>(ReadU32(dib + 8));
        if (width <= 0 || height == 0 || height == INT32_MIN) {
            return false;
        }
        layout.width = static_cast<std::uint32_t>(width);
        layout.topDown = height < 0;
        layout.height = static_cast<std::uint32_t>(height < 0 ? -height : height);
        layout.bitsPerPixel = ReadU16(dib + 14);
        compression = ReadU32(dib + 16);
        colorsUsed = ReadU32(dib + 32);
    }
    if (layout.width == 0 || layout.height == 0 || layout.width > maxImageSide || layout.height > maxImageSide) {
        return false;
    }
    switch (layout.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (compression != biRgb) {
            return false;
        }
        break;
    case 16:
    case 32:
        if (compression != biRgb && compression != biBitfields) {
            return false;
        }
        break;
    default: return false;
    }

    // Masks follow a 40-byte header; larger headers carry them inside (and an alpha mask from 56 bytes on).
    const std::size_t dibEnd = fileHeaderSize + headerSize;
    if (compression == biBitfields) {
        if (headerSize == infoHeaderSize && dibEnd + 12 > size) {
            return false;
        }
        const std::uint8_t* masks = dib + infoHeaderSize;
        if (!Channel::FromMask(ReadU32(masks), layout.red) || !Channel::FromMask(ReadU32(masks + 4), layout.green) ||
            !Channel::FromMask(ReadU32(masks + 8), layout.blue)) {
            return false;
        }
        if (headerSize >= 56 && !Channel::FromMask(ReadU32(masks + 12), layout.alpha)) {
            return false;
        }
    } else if (!SetDefaultMasks(layout)) {
        return false;
    }

    if (layout.bitsPerPixel <= 8) {
        const std::uint32_t maxColors = 1u << layout.bitsPerPixel;
        layout.paletteCount = colorsUsed == 0 ? maxColors : colorsUsed;
        if (layout.paletteCount > maxColors) {
            return false;
        }
        const std::size_t paletteStart = dibEnd + (compression == biBitfields && headerSize == infoHeaderSize ? 12 : 0);
        if (paletteStart + layout.paletteCount * layout.paletteStride > size) {
            return false;
        }
        layout.palette = bytes + paletteStart;
    }

    layout.rowBytes = (std::size_t{layout.width} * layout.bitsPerPixel + 31) / 32 * 4;
    // 64-bit products: sides are at most 16384, so nothing here overflows.
    const std::uint64_t pixelBytes = std::uint64_t{layout.rowBytes} * layout.height;
    return layout.pixelOffset >= fileHeaderSize && layout.pixelOffset <= size &&
           pixelBytes <= size - layout.pixelOffset;
}

bool DecodeRow(const BmpLayout& layout, const std::uint8_t* source, std::uint8_t* destination)
{
    for (std::uint32_t x = 0; x < layout.width; ++x, destination += 4) {
        switch (layout.bitsPerPixel) {
        case 1:
        case 4:
        case 8: {
            const unsigned bits = layout.bitsPerPixel;
            const std::size_t bitOffset = std::size_t{x} * bits;
            const unsigned shift = 8 - bits - static_cast<unsigned>(bitOffset % 8);
            const unsigned index = (source[bitOffset / 8] >> shift) & ((1u << bits) - 1);
            if (index >= layout.paletteCount) {
                return false;
            }
            std::memcpy(destination, layout.palette + index * layout.paletteStride, 3);
            destination[3] = 255;
            break;
        }
        case 24:
            std::memcpy(destination, source + std::size_t{x} * 3, 3);
            destination[3] = 255;
            break;
        case 16:
        case 32: {
            const std::uint32_t value =
                layout.bitsPerPixel == 16 ? ReadU16(source + std::size_t{x} * 2) : ReadU32(source + std::size_t{x} * 4);
            destination[0] = layout.blue.Extract(value, 0);
            destination[1] = layout.green.Extract(value, 0);
            destination[2] = layout.red.Extract(value, 0);
            destination[3] = layout.alpha.Extract(value, 255);
            break;
        }
        default: return false;
        }
    }
    return true;
}

}  // namespace

bool ReadBmpInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info)
{
    BmpLayout layout;
    if (!ParseLayout(bytes, size, layout)) {
        return false;
    }
    info.fileFormat = ImageFileFormat::bmp;
    info.width = layout.width;
    info.height = layout.height;
    info.hasAlpha = layout.alpha.mask != 0;
    return true;
}

bool DecodeBmp(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
               std::size_t pitch)
{
    BmpLayout layout;
    if (!ParseLayout(bytes, size, layout) || layout.width != info.width || layout.height != info.height) {
        return false;
    }
    for (std::uint32_t row = 0; row < layout.height; ++row) {
        const std::uint32_t fileRow = layout.topDown ? row : layout.height - 1 - row;
        const std::uint8_t* source = bytes + layout.pixelOffset + std::size_t{fileRow} * layout.rowBytes;
        if (!DecodeRow(layout, source, pixels + std::size_t{row} * pitch)) {
            return false;
        }
    }
    return true;
}

}  // namespace quorvane::image

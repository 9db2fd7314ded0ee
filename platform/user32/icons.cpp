#include "user32/icons.h"

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "user32/resource_data.h"

namespace quorvane::user32 {

namespace {

struct GroupEntry {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    WORD id = 0;
};

constexpr unsigned char pngSignature[] = {0x89, 'P', 'N', 'G'};

std::map<HICON, display::Image>& Icons()
{
    static auto* icons = new std::map<HICON, display::Image>;  // never destroyed, like the windows
    return *icons;
}

HICON Keep(display::Image image)
{
    static ULONG_PTR next = 0x1C00000;
    HICON handle = reinterpret_cast<HICON>(next += 4);
    Icons().emplace(handle, std::move(image));
    return handle;
}

bool ReadGroup(const ResourceData& data, std::vector<GroupEntry>& entries)
{
    kernel32::ResourceReader reader = data.Reader();
    std::uint16_t reserved = 0, type = 0, count = 0;
    if (!reader.Word(reserved) || !reader.Word(type) || !reader.Word(count) || type != 1)
        return false;
    for (std::uint16_t i = 0; i < count; ++i) {
        std::uint8_t width = 0, height = 0, colors = 0, zero = 0;
        std::uint16_t planes = 0, bitCount = 0, id = 0;
        std::uint32_t bytes = 0;
        if (!reader.Byte(width) || !reader.Byte(height) || !reader.Byte(colors) || !reader.Byte(zero) ||
            !reader.Word(planes) || !reader.Word(bitCount) || !reader.Dword(bytes) || !reader.Word(id))
            return false;
        entries.push_back(GroupEntry{width ? width : 256, height ? height : 256, bitCount, id});
    }
    return true;
}

// How well an image of this size fits: an exact size first, then the nearest, a larger image
// (scaled down) before a smaller one (scaled up).
int Misfit(const GroupEntry& entry, int size)
{
    int difference = std::abs(entry.width - size) + std::abs(entry.height - size);
    return difference * 2 + (entry.width < size ? 1 : 0);
}

struct Dib {
    std::int32_t width = 0;
    std::int32_t height = 0;  // of the colour image (the header gives twice this: colours and mask)
    std::uint16_t bitCount = 0;
    std::vector<std::uint32_t> palette;
};

std::size_t RowBytes(std::int32_t width, int bitCount)
{
    return (std::size_t(width) * std::size_t(bitCount) + 31) / 32 * 4;
}

bool ReadDibHeader(kernel32::ResourceReader& reader, Dib& dib)
{
    std::uint32_t headerSize = 0, compression = 0, imageSize = 0, colorsUsed = 0, important = 0;
    std::uint32_t width = 0, height = 0, xDensity = 0, yDensity = 0;
    std::uint16_t planes = 0;
    if (!reader.Dword(headerSize) || headerSize < 40 || !reader.Dword(width) || !reader.Dword(height) ||
        !reader.Word(planes) || !reader.Word(dib.bitCount) || !reader.Dword(compression) || !reader.Dword(imageSize) ||
        !reader.Dword(xDensity) || !reader.Dword(yDensity) || !reader.Dword(colorsUsed) || !reader.Dword(important) ||
        !reader.Skip(headerSize - 40))
        return false;
    dib.width = std::int32_t(width);
    dib.height = std::int32_t(height) / 2;
    bool supportedDepth =
        dib.bitCount == 1 || dib.bitCount == 4 || dib.bitCount == 8 || dib.bitCount == 24 || dib.bitCount == 32;
    if (compression != 0 || !supportedDepth || dib.width <= 0 || dib.height <= 0 || dib.width > 1024 ||
        dib.height > 1024)
        return false;
    if (dib.bitCount <= 8) {
        std::uint32_t count = colorsUsed ? colorsUsed : 1u << dib.bitCount;
        if (count > 256)
            return false;
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t quad = 0;
            if (!reader.Dword(quad))
                return false;
            dib.palette.push_back(quad & 0xFFFFFF);
        }
    }
    return true;
}

std::uint32_t ColorAt(const Dib& dib, const unsigned char* row, std::int32_t x)
{
    switch (dib.bitCount) {
    case 32:
        return std::uint32_t(row[x * 4]) | std::uint32_t(row[x * 4 + 1]) << 8 | std::uint32_t(row[x * 4 + 2]) << 16 |
               std::uint32_t(row[x * 4 + 3]) << 24;
    case 24:
        return std::uint32_t(row[x * 3]) | std::uint32_t(row[x * 3 + 1]) << 8 | std::uint32_t(row[x * 3 + 2]) << 16;
    default: {
        int perByte = 8 / dib.bitCount;
        int shift = 8 - dib.bitCount * (x % perByte + 1);
        std::size_t index = (row[x / perByte] >> shift) & ((1u << dib.bitCount) - 1);
        return index < dib.palette.size() ? dib.palette[index] : 0;
    }
    }
}

// A BMP-style icon image: the colours bottom row first, then the 1-bit AND mask (1 = transparent).
// 32-bit images carry their own alpha unless it is all zero.
std::optional<display::Image> DecodeIconImage(const ResourceData& data)
{
    if (data.size >= 4 && std::equal(pngSignature, pngSignature + 4, data.bytes))
        return std::nullopt;  // PNG-compressed images (usually 256 x 256) are not decoded
    kernel32::ResourceReader reader = data.Reader();
    Dib dib;
    if (!ReadDibHeader(reader, dib))
        return std::nullopt;
    std::size_t colorRow = RowBytes(dib.width, dib.bitCount), maskRow = RowBytes(dib.width, 1);
    std::size_t colors = reader.At();
    if (data.size - colors < colorRow * std::size_t(dib.height))
        return std::nullopt;
    std::size_t mask = colors + colorRow * std::size_t(dib.height);
    bool hasMask = data.size - mask >= maskRow * std::size_t(dib.height);
    display::Image image{std::uint32_t(dib.width), std::uint32_t(dib.height), {}};
    image.pixels.resize(std::size_t(dib.width) * std::size_t(dib.height));
    bool anyAlpha = false;
    for (std::int32_t y = 0; y < dib.height; ++y) {
        const unsigned char* row = data.bytes + colors + colorRow * std::size_t(dib.height - 1 - y);
        for (std::int32_t x = 0; x < dib.width; ++x) {
            std::uint32_t color = ColorAt(dib, row, x);
            anyAlpha = anyAlpha || (dib.bitCount == 32 && (color >> 24) != 0);
            image.pixels[std::size_t(y) * std::size_t(dib.width) + std::size_t(x)] = color;
        }
    }
    for (std::int32_t y = 0; y < dib.height; ++y) {
        const unsigned char* row = data.bytes + mask + maskRow * std::size_t(dib.height - 1 - y);
        for (std::int32_t x = 0; x < dib.width; ++x) {
            std::uint32_t& pixel = image.pixels[std::size_t(y) * std::size_t(dib.width) + std::size_t(x)];
            if (anyAlpha)
                continue;
            bool transparent = hasMask && (row[x / 8] >> (7 - x % 8) & 1);
            pixel = (pixel & 0xFFFFFF) | (transparent ? 0 : 0xFF000000u);
        }
    }
    return image;
}

// Box-filtered when smaller, nearest pixel when larger.
display::Image Scaled(const display::Image& source, int size)
{
    if (int(source.width) == size && int(source.height) == size)
        return source;
    display::Image image{std::uint32_t(size), std::uint32_t(size),
                         std::vector<std::uint32_t>(std::size_t(size * size))};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t x0 = std::uint32_t(x) * source.width / std::uint32_t(size);
            std::uint32_t y0 = std::uint32_t(y) * source.height / std::uint32_t(size);
            std::uint32_t x1 = std::max(x0 + 1, std::uint32_t(x + 1) * source.width / std::uint32_t(size));
            std::uint32_t y1 = std::max(y0 + 1, std::uint32_t(y + 1) * source.height / std::uint32_t(size));
            std::uint64_t sums[4] = {};
            for (std::uint32_t sy = y0; sy < y1; ++sy) {
                for (std::uint32_t sx = x0; sx < x1; ++sx) {
                    std::uint32_t pixel = source.pixels[std::size_t(sy) * source.width + sx];
                    std::uint32_t alpha = pixel >> 24;
                    sums[3] += alpha;
                    for (int c = 0; c < 3; ++c)
                        sums[c] += ((pixel >> (8 * c)) & 0xFF) * alpha;
                }
            }
            std::uint64_t count = std::uint64_t(x1 - x0) * (y1 - y0);
            std::uint32_t result = std::uint32_t(sums[3] / count) << 24;
            for (int c = 0; c < 3; ++c)
                result |= std::uint32_t(sums[3] ? sums[c] / sums[3] : 0) << (8 * c);
            image.pixels[std::size_t(y * size + x)] = result;
        }
    }
    return image;
}

std::optional<display::Image> LoadGroup(HINSTANCE instance, LPCWSTR name, int size)
{
    ResourceData group;
    std::vector<GroupEntry> entries;
    if (!FindResourceData(instance, name, RT_GROUP_ICON, group) || !ReadGroup(group, entries))
        return std::nullopt;
    std::optional<display::Image> best;
    std::optional<std::pair<int, int>> bestScore;  // misfit, then fewer bits is worse
    for (const GroupEntry& entry : entries) {
        std::pair<int, int> score{Misfit(entry, size), -entry.bitCount};
        ResourceData data;
        if (bestScore && score >= *bestScore)
            continue;
        if (!FindResourceData(instance, MAKEINTRESOURCEW(entry.id), RT_ICON, data))
            continue;
        if (std::optional<display::Image> image = DecodeIconImage(data)) {
            best = std::move(image);
            bestScore = score;
        }
    }
    if (best)
        best = Scaled(*best, size);
    return best;
}

// The system's application icon: a small window with a blue caption.
display::Image ApplicationIcon(int size)
{
    display::Image image{std::uint32_t(size), std::uint32_t(size),
                         std::vector<std::uint32_t>(std::size_t(size * size), 0)};
    int margin = size / 8, caption = size / 4;
    for (int y = margin; y < size - margin; ++y) {
        for (int x = margin; x < size - margin; ++x) {
            bool edge = x == margin || y == margin || x == size - margin - 1 || y == size - margin - 1;
            std::uint32_t color = edge ? 0xFF3C3C3C : (y < margin + caption ? 0xFF2B79D0 : 0xFFFFFFFF);
            image.pixels[std::size_t(y * size + x)] = color;
        }
    }
    return image;
}

using IconKey = std::tuple<HINSTANCE, WORD, std::wstring, int>;

IconKey KeyOf(HINSTANCE instance, LPCWSTR name, int size)
{
    if (IS_INTRESOURCE(name))
        return {instance, LOWORD(reinterpret_cast<ULONG_PTR>(name)), std::wstring(), size};
    return {instance, 0, std::wstring(name), size};
}

}  // namespace

HICON LoadIconOfSize(HINSTANCE instance, LPCWSTR name, int size)
{
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    static auto& shared = *new std::map<IconKey, HICON>;  // never destroyed, like the icons
    IconKey key = KeyOf(instance, name, size);
    if (auto found = shared.find(key); found != shared.end() && Icons().count(found->second))
        return found->second;
    std::optional<display::Image> image;
    if (instance == nullptr && IS_INTRESOURCE(name) && name == IDI_APPLICATION)
        image = ApplicationIcon(size);
    else if (instance != nullptr)
        image = LoadGroup(instance, name, size);
    if (!image) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return shared[key] = Keep(std::move(*image));
}

const display::Image* IconImage(HICON icon)
{
    auto found = Icons().find(icon);
    return found == Icons().end() ? nullptr : &found->second;
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" HICON WINAPI LoadIconW(HINSTANCE instance, LPCWSTR name)
{
    return LoadIconOfSize(instance, name, iconSize);
}

// Shared icons (all that LoadIconW gives) are not destroyed, as on Windows; the call succeeds.
extern "C" BOOL WINAPI DestroyIcon(HICON icon)
{
    if (!IconImage(icon)) {
        SetLastError(ERROR_INVALID_ICON_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// The system's cursors: the display shows its own arrow, so a handle only names the shape.
extern "C" HCURSOR WINAPI LoadCursorW(HINSTANCE instance, LPCWSTR name)
{
    ULONG_PTR id = reinterpret_cast<ULONG_PTR>(name);
    bool standard = IS_INTRESOURCE(name) && id >= 32512 && id <= 32651;
    if (instance != nullptr || !standard) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(0xC0000 + id);
}

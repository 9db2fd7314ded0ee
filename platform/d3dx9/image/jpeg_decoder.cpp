// JPEG through libjpeg-turbo's TurboJPEG, decoded straight from the caller's bytes into the
// caller's rows (B, G, R, X order, X = 255).
#include <turbojpeg.h>

#include <climits>
#include <cstring>
#include <memory>

#include "d3dx9/image/image_formats.h"

namespace quorvane::image {
namespace {

struct TurboJpegHandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TurboJpegHandle = std::unique_ptr<void, TurboJpegHandleDeleter>;

// Warnings (a truncated stream, corrupt data that libjpeg would paint over in grey) stop the
// decode: a damaged file is refused rather than shown half grey. LIMITSCANS refuses
// progressive files with an absurd number of scans, which would otherwise take minutes.
constexpr int decodeFlags = TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS;

constexpr std::uint8_t markerPrefix = 0xFF;
constexpr std::uint8_t startOfImage = 0xD8;
constexpr std::uint8_t endOfImage = 0xD9;
constexpr std::uint8_t startOfScan = 0xDA;

bool IsStandaloneMarker(std::uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);  // TEM, RST0-RST7
}

// Where the first scan's entropy-coded data begins, found by walking the marker segments
// from the start of the image; 0 when the stream ends or breaks before a scan.
std::size_t FirstScanData(const std::uint8_t* bytes, std::size_t size)
{
    if (size < 2 || bytes[0] != markerPrefix || bytes[1] != startOfImage) {
        return 0;
    }
    std::size_t pos = 2;
    while (pos < size && bytes[pos] == markerPrefix) {
        while (pos < size && bytes[pos] == markerPrefix) {
            ++pos;  // fill bytes before a marker
        }
        if (pos >= size) {
            return 0;
        }
        const std::uint8_t marker = bytes[pos++];
        if (IsStandaloneMarker(marker)) {
            continue;
        }
        if (marker == endOfImage || size - pos < 2) {
            return 0;
        }
        const std::size_t length = (std::size_t{bytes[pos]} << 8) | bytes[pos + 1];
        if (length < 2 || length > size - pos) {
            return 0;
        }
        pos += length;
        if (marker == startOfScan) {
            return pos;
        }
    }
    return 0;
}

// A stream that was cut short lacks its end-of-image marker. Checking for it before the pixels
// are allocated refuses truncated files without allocating for them; inside entropy-coded data
// a 0xFF byte is always followed by 0x00 or a restart marker, so 0xFF 0xD9 there is the end.
bool EndsItsImage(const std::uint8_t* bytes, std::size_t size)
{
    std::size_t pos = FirstScanData(bytes, size);
    if (pos == 0) {
        return false;
    }
    while (pos + 1 < size) {
        const void* found = std::memchr(bytes + pos, markerPrefix, size - pos - 1);
        if (found == nullptr) {
            return false;
        }
        pos = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes);
        if (bytes[pos + 1] == endOfImage) {
            return true;
        }
        ++pos;
    }
    return false;
}

}  // namespace

bool ReadJpegInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info)
{
    if (size > ULONG_MAX || !EndsItsImage(bytes, size)) {
        return false;
    }
    TurboJpegHandle handle(tjInitDecompress());
    if (!handle) {
        return false;
    }
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(handle.get(), bytes, static_cast<unsigned long>(size), &width, &height, &subsampling,
                            &colorspace) != 0 ||
        width <= 0 || height <= 0) {
        return false;
    }
    info.fileFormat = ImageFileFormat::jpeg;
    info.width = static_cast<std::uint32_t>(width);
    info.height = static_cast<std::uint32_t>(height);
    info.hasAlpha = false;
    return true;
}

bool DecodeJpeg(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
                std::size_t pitch)
{
    if (size > ULONG_MAX || pitch > INT_MAX) {
        return false;
    }
    TurboJpegHandle handle(tjInitDecompress());
    if (!handle) {
        return false;
    }
    return tjDecompress2(handle.get(), bytes, static_cast<unsigned long>(size), pixels, static_cast<int>(info.width),
                         static_cast<int>(pitch), static_cast<int>(info.height), TJPF_BGRX, decodeFlags) == 0;
}

}  // namespace quorvane::image

// JPEG through libjpeg-turbo's TurboJPEG, decoded straight from the caller's bytes into the
// caller's rows (B, G, R, X order, X = 255).
#include <turbojpeg.h>

#include <climits>
#include <memory>

#include "d3dx9/image_formats.h"

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

}  // namespace

bool ReadJpegInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info)
{
    if (size > ULONG_MAX) {
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

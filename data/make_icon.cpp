// Makes the viewer's icons from the Earth image:
//   quorvane_make_icon OUTPUT_DIR EARTH_JPEG
// writes OUTPUT_DIR/quorvane.ico (16, 32, 48 and 256 pixels: the application's icon),
// OUTPUT_DIR/quorvane_small.ico (16 and 32 pixels: the small icon of captions and task bars) and,
// for the Linux desktop's icon theme, OUTPUT_DIR/quorvane-N.png at 16, 32, 48, 64, 128 and 256.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data_files.h"
#include "globe_icon.h"
#include "png_file.h"

namespace {

using namespace quorvane::data;

bool WriteIcon(const std::filesystem::path& path, const RgbImage& earth, const std::vector<int>& sizes)
{
    std::vector<RgbaImage> images;
    for (int size : sizes)
        images.push_back(RenderGlobe(earth, size));
    const std::vector<std::uint8_t> bytes = IcoFile(images);
    return WriteAtomically(path, bytes.data(), bytes.size());
}

bool WritePng(const std::filesystem::path& path, const RgbImage& earth, int size)
{
    const std::vector<std::uint8_t> bytes = PngFile(RenderGlobe(earth, size));
    return !bytes.empty() && WriteAtomically(path, bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR EARTH_JPEG\n", argv[0]);
        return 2;
    }
    const std::filesystem::path outputDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outputDir, error);

    std::vector<std::uint8_t> sourceBytes;
    RgbImage earth;
    if (!ReadFile(argv[2], sourceBytes) || !DecodeJpeg(sourceBytes, earth)) {
        std::fprintf(stderr, "%s: cannot read the Earth image %s (Debian package xplanet-images)\n", argv[0], argv[2]);
        return 1;
    }
    struct IconFile {
        const char* name;
        std::vector<int> sizes;
    };
    const IconFile icons[] = {{"quorvane.ico", {16, 32, 48, 256}}, {"quorvane_small.ico", {16, 32}}};
    for (const IconFile& icon : icons) {
        if (!WriteIcon(outputDir / icon.name, earth, icon.sizes)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (outputDir / icon.name).c_str());
            return 1;
        }
    }
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const std::filesystem::path png = outputDir / ("quorvane-" + std::to_string(size) + ".png");
        if (!WritePng(png, earth, size)) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], png.c_str());
            return 1;
        }
    }
    return 0;
}

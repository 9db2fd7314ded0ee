// Makes the viewer's data files:
//   quorvane_make_data OUTPUT_DIR EARTH_JPEG
// writes OUTPUT_DIR/sphere.x and the Earth image (QUORVANE_EARTH_IMAGE) beside it, each atomically.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "data_files.h"
#include "earth_image.h"
#include "sphere_x_writer.h"
#include "uv_sphere.h"

namespace {

namespace fs = std::filesystem;
using namespace quorvane::data;

// Measured with quorvane_sphere_density: at 256 x 128 the Earth image strays at most 0.23 px
// (camera at distance 10) and 0.41 px (distance 2.1) from the exact projection within twice
// the equator's image radius, at 1920 x 1080; 33151 vertices keep 16-bit indices.
constexpr int sphereSlices = 256;
constexpr int sphereStacks = 128;
constexpr int earthWidth = 2500;
constexpr int earthHeight = 1250;
constexpr int jpegQuality = 92;

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR EARTH_JPEG\n", argv[0]);
        return 2;
    }
    const fs::path outputDir = argv[1];
    std::error_code error;
    fs::create_directories(outputDir, error);

    const UvSphere sphere = MakeUvSphere(sphereSlices, sphereStacks);
    const std::string sphereText =
        WriteSphereX(sphere, QUORVANE_EARTH_IMAGE,
                     "UV sphere of radius 1 about the origin, poles on y, " + std::to_string(sphereSlices) +
                         " slices x " + std::to_string(sphereStacks) + " stacks; made by quorvane_make_data");
    if (!WriteAtomically(outputDir / "sphere.x", sphereText.data(), sphereText.size())) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (outputDir / "sphere.x").c_str());
        return 1;
    }

    std::vector<std::uint8_t> sourceBytes;
    RgbImage source;
    if (!ReadFile(argv[2], sourceBytes) || !DecodeJpeg(sourceBytes, source)) {
        std::fprintf(stderr, "%s: cannot read the Earth image %s (Debian package xplanet-images)\n", argv[0], argv[2]);
        return 1;
    }
    const RgbImage earth = ResampleLanczos3(source, earthWidth, earthHeight);
    std::vector<std::uint8_t> jpeg;
    if (!EncodeJpeg(earth, jpegQuality, jpeg) ||
        !WriteAtomically(outputDir / QUORVANE_EARTH_IMAGE, jpeg.data(), jpeg.size())) {
        std::fprintf(stderr, "%s: cannot write the Earth image\n", argv[0]);
        return 1;
    }
    return 0;
}

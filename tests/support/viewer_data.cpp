#include "viewer_data.h"

#include "earth_image.h"
#include "sphere_x_writer.h"
#include "uv_sphere.h"

#include <filesystem>
#include <fstream>

namespace quorvane::tests {

bool NearColor(DWORD pixel, DWORD expected, int tolerance)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference = int((pixel >> shift) & 0xFF) - int((expected >> shift) & 0xFF);
        if (difference > tolerance || difference < -tolerance)
            return false;
    }
    return true;
}

std::string SphereXFile(int slices, int stacks, const std::string& textureName)
{
    return data::WriteSphereX(data::MakeUvSphere(slices, stacks), textureName, "test sphere");
}

std::string StandInEarthImage()
{
    data::RgbImage image;
    image.width = 64;
    image.height = 32;
    image.rgb.resize(std::size_t{64} * 32 * 3);
    for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
        image.rgb[i] = static_cast<std::uint8_t>(standInEarthColor >> 16);
        image.rgb[i + 1] = static_cast<std::uint8_t>(standInEarthColor >> 8);
        image.rgb[i + 2] = static_cast<std::uint8_t>(standInEarthColor);
    }
    std::vector<std::uint8_t> jpeg;
    data::EncodeJpeg(image, 100, jpeg);
    return std::string(jpeg.begin(), jpeg.end());
}

void WriteDataFile(const std::string& directory, const std::string& relativePath, const std::string& bytes)
{
    const std::filesystem::path path = std::filesystem::path(directory) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

void WriteSmallViewerData(const std::string& directory)
{
    WriteDataFile(directory, "Data/mdl/sphere.x", SphereXFile(32, 16, QUORVANE_EARTH_IMAGE));
    WriteDataFile(directory, "Data/mdl/" QUORVANE_EARTH_IMAGE, StandInEarthImage());
}

}  // namespace quorvane::tests

// Data/ folders for tests: the viewer's two files made small (a coarse sphere naming its
// texture, a flat-coloured stand-in Earth image), or any X file and image bytes.
#pragma once

#include <windows.h>

#include <string>

namespace quorvane::tests {

// The stand-in Earth's one colour: every textured pixel of a frame shows it.
constexpr DWORD standInEarthColor = 0xFF2878C8;

// Whether each of red, green and blue of pixel is within tolerance of expected's (JPEG keeps a
// flat colour to within a step or two).
bool NearColor(DWORD pixel, DWORD expected, int tolerance = 4);

// A text X file of a UV sphere of radius 1 (poles on y) whose one material names textureName.
std::string SphereXFile(int slices, int stacks, const std::string& textureName);

// A 64 x 32 JPEG image of standInEarthColor.
std::string StandInEarthImage();

// Writes bytes to directory/relativePath, making the folders on the way.
void WriteDataFile(const std::string& directory, const std::string& relativePath, const std::string& bytes);

// directory/Data/mdl/sphere.x (32 x 16, naming the Earth image) and the stand-in image
// as directory/Data/mdl/QUORVANE_EARTH_IMAGE.
void WriteSmallViewerData(const std::string& directory);

}  // namespace quorvane::tests

// What must hold for any bytes given to the X-file parser and the image decoder, checked by
// the fuzz targets (fuzz/xfile_fuzz.cpp, fuzz/image_fuzz.cpp) and by the replay of their
// finds (tests/d3dx9/fuzz_regressions_test.cpp). Each check returns an empty string or what went wrong.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "d3dx9/image/image_decoder.h"
#include "d3dx9/xfile/xfile_parser.h"

namespace quorvane::tests {

// A parse either fails, leaving nothing, or gives a mesh whose indices, attributes and arrays
// fit together.
inline std::string CheckXFile(const std::uint8_t* bytes, std::size_t size)
{
    xfile::MeshDescription mesh;
    bool expectedFit = true;  // the faces told before the end: three indices per triangle, each in range
    const xfile::XFileError error = xfile::ParseXFile(
        bytes, size, mesh,
        [&](std::vector<std::uint32_t> indices, std::vector<std::uint32_t> attributes, std::size_t n) {
            expectedFit = indices.size() == attributes.size() * 3 &&
                          std::all_of(indices.begin(), indices.end(), [n](std::uint32_t i) { return i < n; });
        });
    if (!expectedFit) {
        return "the faces told before the end do not fit together";
    }
    if (error != xfile::XFileError::none) {
        return mesh.positions.empty() && mesh.indices.empty() ? "" : "a failed parse left data behind";
    }
    const std::size_t vertices = mesh.VertexCount();
    if (vertices == 0 || mesh.TriangleCount() == 0) {
        return "an empty mesh was accepted";
    }
    if (mesh.positions.size() != vertices * 3 || mesh.pointIds.size() != vertices ||
        mesh.normals.size() != (mesh.hasNormals ? vertices * 3 : 0) ||
        mesh.textureCoordinates.size() != (mesh.hasTextureCoordinates ? vertices * 2 : 0) ||
        mesh.indices.size() != mesh.TriangleCount() * 3) {
        return "array sizes disagree";
    }
    for (std::uint32_t index : mesh.indices) {
        if (index >= vertices) {
            return "index out of range";
        }
    }
    for (std::uint32_t attribute : mesh.attributes) {
        if (mesh.materials.empty() ? attribute != 0 : attribute >= mesh.materials.size()) {
            return "attribute without a material";
        }
    }
    for (float value : mesh.positions) {
        if (!std::isfinite(value)) {
            return "position not finite";
        }
    }
    return "";
}

// Images up to this many pixels are decoded in full; larger ones only have their header read
// (a side of up to 16384 is legal, and a gigabyte of pixels would only slow the fuzzer).
constexpr std::uint64_t maxDecodedPixels = 4096 * 4096;

inline std::string CheckImage(const std::uint8_t* bytes, std::size_t size)
{
    image::ImageInfo info;
    if (!image::ReadImageInfo(bytes, size, info)) {
        return "";
    }
    if (info.width == 0 || info.height == 0 || info.width > image::maxImageSide || info.height > image::maxImageSide) {
        return "header accepted outside the size bound";
    }
    if (std::uint64_t{info.width} * info.height > maxDecodedPixels) {
        return "";
    }
    image::DecodedImage decoded;
    if (!image::DecodeImageToBuffer(bytes, size, decoded)) {
        return decoded.pixels.empty() ? "" : "a failed decode left pixels behind";
    }
    if (decoded.pixels.size() != std::size_t{decoded.info.width} * decoded.info.height * 4) {
        return "pixel buffer of the wrong size";
    }
    return "";
}

}  // namespace quorvane::tests

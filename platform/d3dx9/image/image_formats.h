// One reader per image file format, behind image_decoder.h. Each pair has the contract of
// ReadImageInfo / DecodeImage for bytes already known to carry that format's signature.
#pragma once

#include "d3dx9/image/image_decoder.h"

namespace quorvane::image {

bool ReadJpegInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info);
bool DecodeJpeg(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
                std::size_t pitch);

bool ReadPngInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info);
bool DecodePng(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
               std::size_t pitch);

bool ReadBmpInfo(const std::uint8_t* bytes, std::size_t size, ImageInfo& info);
bool DecodeBmp(const std::uint8_t* bytes, std::size_t size, const ImageInfo& info, std::uint8_t* pixels,
               std::size_t pitch);

}  // namespace quorvane::image

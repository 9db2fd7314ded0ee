// Writing a picture as an 8-bit RGB PNG file, and reading one back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::snapshot {

// pixels are width * height values 0x..RRGGBB, top row first (the alpha byte is not written: a
// back buffer's X8R8G8B8 has none). False, with the reason in error, when the file cannot be
// written whole; what was written is then left for the caller to remove.
bool WriteRgbPng(const std::string& path, std::uint32_t width, std::uint32_t height,
                 const std::vector<std::uint32_t>& pixels, std::string& error);

// Reads any PNG file as width * height values 0x00RRGGBB, top row first (alpha dropped). False,
// with the reason in error, when it cannot be read.
bool ReadRgbPng(const std::string& path, std::uint32_t& width, std::uint32_t& height,
                std::vector<std::uint32_t>& pixels, std::string& error);

}  // namespace quorvane::snapshot

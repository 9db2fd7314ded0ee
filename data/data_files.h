// Reading and writing the files the data tools make and read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace quorvane::data {

// The whole file; false when it cannot be read.
bool ReadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes);

// Writes under a temporary name beside path and renames it into place, so an interrupted run
// never leaves half a file behind.
bool WriteAtomically(const std::filesystem::path& path, const void* data, std::size_t size);

}  // namespace quorvane::data

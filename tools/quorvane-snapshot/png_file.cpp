// The PNG writer and reader: libpng's simplified API, RGB rows to and from 32-bit pixels.
#include "png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace quorvane::snapshot {

bool WriteRgbPng(const std::string& path, std::uint32_t width, std::uint32_t height,
                 const std::vector<std::uint32_t>& pixels, std::string& error)
{
    if (width == 0 || height == 0 || pixels.size() != std::size_t{width} * height) {
        error = "no picture to write";
        return false;
    }
    std::vector<std::uint8_t> rgb(pixels.size() * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        rgb[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
        rgb[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
        rgb[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    const bool encoded = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
    const bool flushed = std::fflush(file) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!encoded)
        error = "cannot write " + path + ": " + image.message;
    else if (!flushed || !closed)
        error = "cannot write " + path + ": " + std::strerror(flushed ? errno : flushError);
    return encoded && flushed && closed;
}

bool ReadRgbPng(const std::string& path, std::uint32_t& width, std::uint32_t& height,
                std::vector<std::uint32_t>& pixels, std::string& error)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        error = "cannot read " + path + ": " + image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        error = "cannot decode " + path + ": " + image.message;
        return false;
    }
    width = image.width;
    height = image.height;
    pixels.resize(std::size_t{width} * height);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = std::uint32_t{rgb[3 * i]} << 16 | std::uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    return true;
}

}  // namespace quorvane::snapshot

#include "display/shared/png_writer.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace quorvane::display::shared {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// One image row as R, G, B, A bytes from pixels laid out 0xAARRGGBB.
void ToRgba(const std::uint32_t* pixels, std::uint32_t width, std::vector<png_byte>& row)
{
    for (std::uint32_t x = 0; x < width; ++x) {
        std::uint32_t p = pixels[x];
        row[4 * x + 0] = static_cast<png_byte>(p >> 16);
        row[4 * x + 1] = static_cast<png_byte>(p >> 8);
        row[4 * x + 2] = static_cast<png_byte>(p);
        row[4 * x + 3] = static_cast<png_byte>(p >> 24);
    }
}

}  // namespace

bool WritePng(const Image& image, const std::string& path)
{
    if (image.width == 0 || image.height == 0 || image.pixels.size() != size_t{image.width} * image.height)
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(size_t{image.width} * 4);
    volatile bool written = false;  // read after a longjmp from libpng
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file.get());
        png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (std::uint32_t y = 0; y < image.height; ++y) {
            ToRgba(&image.pixels[size_t{y} * image.width], image.width, row);
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return written && std::fflush(file.get()) == 0;
}

}  // namespace quorvane::display::shared

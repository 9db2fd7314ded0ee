#include "display/shared/gl_pixels.h"

#include <vector>

namespace quorvane::display::shared {

bool CurrentContextIsES()
{
    return !epoxy_is_desktop_gl();
}

const char* ShaderHeader()
{
    return CurrentContextIsES() ? "#version 300 es\nprecision highp float;\nprecision highp int;\n"
                                : "#version 330 core\n";
}

void SwapRedBlue(std::uint32_t* pixels, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t p = pixels[i];
        pixels[i] = (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
}

void ReadBgraPixels(GLint x, GLint y, GLsizei width, GLsizei height, std::uint32_t* pixels)
{
    if (!CurrentContextIsES()) {
        glReadPixels(x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    SwapRedBlue(pixels, std::size_t(width) * std::size_t(height));
}

void UploadBgraImage(GLsizei width, GLsizei height, const std::uint32_t* pixels)
{
    if (!CurrentContextIsES()) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
        return;
    }
    if (!pixels) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        return;
    }
    std::vector<std::uint32_t> swapped(pixels, pixels + std::size_t(width) * std::size_t(height));
    SwapRedBlue(swapped.data(), swapped.size());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, swapped.data());
}

bool ReadImageTopRowFirst(std::uint32_t width, std::uint32_t height, Image& image)
{
    image.width = width;
    image.height = height;
    image.pixels.resize(std::size_t{width} * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    for (std::uint32_t row = 0; row < height; ++row)
        ReadBgraPixels(0, GLint(height - 1 - row), GLsizei(width), 1, image.pixels.data() + std::size_t{row} * width);
    return glGetError() == GL_NO_ERROR;
}

}  // namespace quorvane::display::shared

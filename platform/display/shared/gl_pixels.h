// What the displays do alike in OpenGL 3.3 core and OpenGL ES 3.0: the first lines of their
// shaders, and moving 0xAARRGGBB pixels (B, G, R, A in memory) in and out of RGBA8 textures. ES
// knows no GL_BGRA: there the red and blue bytes are swapped on the processor.
#pragma once

#include <epoxy/gl.h>

#include "display/display.h"

#include <cstddef>
#include <cstdint>

namespace quorvane::display::shared {

// True when the current context is OpenGL ES.
bool CurrentContextIsES();

// "#version 330 core", or "#version 300 es" with the precision statements ES needs.
const char* ShaderHeader();

// Swaps the red and blue bytes of `count` pixels in place.
void SwapRedBlue(std::uint32_t* pixels, std::size_t count);

// glReadPixels of the bound read framebuffer into 0xAARRGGBB pixels (rows of `width`).
void ReadBgraPixels(GLint x, GLint y, GLsizei width, GLsizei height, std::uint32_t* pixels);

// The bound read framebuffer's `width` x `height` pixels as an image, top row first (GL's rows go
// up from the bottom). False on a GL error.
bool ReadImageTopRowFirst(std::uint32_t width, std::uint32_t height, Image& image);

// glTexImage2D of 0xAARRGGBB pixels (or none) into an RGBA8 texture level.
void UploadBgraImage(GLsizei width, GLsizei height, const std::uint32_t* pixels);

}  // namespace quorvane::display::shared

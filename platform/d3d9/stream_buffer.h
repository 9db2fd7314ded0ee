// One OpenGL buffer that data drawn from memory streams through (DrawPrimitiveUP and the like):
// each write goes after the previous one, so nothing a queued draw still reads is overwritten
// and OpenGL need not wait; when the buffer is full it gets fresh storage, twice as large when
// one write would not fit, and writing starts again at its beginning.
#pragma once

#include <epoxy/gl.h>

#include <cstddef>

namespace quorvane::d3d9 {

class StreamBuffer {
public:
    // With the device's context current.
    // `unsynchronized`: writes may map ranges unsynchronised (nothing queued reads them).
    // `target`: what the buffer holds, GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER.
    void Create(bool unsynchronized, GLenum target);
    void Destroy();

    // Copies `bytes` bytes into the buffer; returns where they start in it.
    std::size_t Write(const void* data, std::size_t bytes);
    GLuint Buffer() const { return buffer_; }

private:
    // A frame of the viewer streams about 180 KB (guide lines 150 KB, text 30 KB): the buffer
    // is replaced every third frame or so.
    static constexpr std::size_t initialCapacity = std::size_t{512} << 10;
    static constexpr std::size_t alignment = 16;

    GLuint buffer_ = 0;
    std::size_t capacity_ = 0;
    bool unsynchronized_ = true;
    std::size_t used_ = 0;
};

}  // namespace quorvane::d3d9

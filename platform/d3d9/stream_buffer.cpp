#include "d3d9/stream_buffer.h"

#include "d3d9/buffer_kind.h"

#include <cstring>

namespace quorvane::d3d9 {

void StreamBuffer::Create(bool unsynchronized, GLenum target)
{
    unsynchronized_ = unsynchronized;
    glGenBuffers(1, &buffer_);
    BindAsKindFirst(buffer_, target);
    capacity_ = used_ = 0;
}

void StreamBuffer::Destroy()
{
    glDeleteBuffers(1, &buffer_);
    buffer_ = 0;
    capacity_ = used_ = 0;
}

std::size_t StreamBuffer::Write(const void* data, std::size_t bytes)
{
    if (bytes == 0)
        return 0;
    // The copy-write target leaves the vertex array's element buffer alone.
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer_);
    std::size_t start = (used_ + alignment - 1) / alignment * alignment;
    if (start + bytes > capacity_) {
        while (capacity_ < bytes)
            capacity_ = capacity_ ? capacity_ * 2 : initialCapacity;
        // Fresh storage: what queued draws read stays with the old one.
        glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(capacity_), nullptr, GL_STREAM_DRAW);
        start = 0;
    }
    // Where the context's maps go no further than write-invalidate (ES as WebGL 2 offers it
    // through its emulation), the range is not unsynchronised: the driver may wait for draws
    // still reading the buffer.
    GLbitfield access = GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT;
    if (unsynchronized_)
        access |= GL_MAP_UNSYNCHRONIZED_BIT;
    void* target = glMapBufferRange(GL_COPY_WRITE_BUFFER, GLintptr(start), GLsizeiptr(bytes), access);
    if (target) {
        std::memcpy(target, data, bytes);
        glUnmapBuffer(GL_COPY_WRITE_BUFFER);
    } else {
        glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(start), GLsizeiptr(bytes), data);
    }
    used_ = start + bytes;
    return start;
}

}  // namespace quorvane::d3d9

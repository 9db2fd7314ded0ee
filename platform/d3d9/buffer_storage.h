// The bytes of a vertex or index buffer. Every buffer keeps them in memory, where Lock hands
// them out, and a copy in an OpenGL buffer that draws read: default-pool and managed buffers
// from their creation, system-memory buffers from their first draw. The copy is brought up to
// date when the last lock that may have written ends, and reused until then.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

#include <cstdint>
#include <vector>

namespace quorvane::d3d9 {

class Device;

class BufferStorage {
public:
    // `target`: what the buffer holds, GL_ARRAY_BUFFER or GL_ELEMENT_ARRAY_BUFFER.
    BufferStorage(Device* device, UINT length, GLenum target);
    ~BufferStorage();
    BufferStorage(const BufferStorage&) = delete;
    BufferStorage& operator=(const BufferStorage&) = delete;

    // False when the OpenGL buffer cannot be made.
    bool CreateGLBuffer();

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();

    UINT Length() const { return UINT(memory_.size()); }
    const BYTE* Bytes() const { return memory_.data(); }
    // The OpenGL buffer a draw reads, made now if the buffer has none yet (with the device's
    // context current).
    GLuint DrawingBuffer();
    // Moves on with every lock that may write.
    std::uint64_t Version() const { return version_; }

private:
    Device* device_;
    std::vector<BYTE> memory_;
    GLuint glBuffer_ = 0;
    GLenum target_;
    std::uint64_t version_ = 0;
    int lockCount_ = 0;
    bool dirty_ = false;
    UINT dirtyBegin_ = 0;
    UINT dirtyEnd_ = 0;
};

}  // namespace quorvane::d3d9

// The bytes of a vertex or index buffer. Every buffer keeps them in memory, where Lock hands
// them out; default-pool and managed buffers also have an OpenGL buffer, brought up to date
// when the last lock ends. System-memory buffers are streamed to OpenGL at each draw.
#pragma once

#include <d3d9.h>
#include <epoxy/gl.h>

#include <vector>

namespace quorvane::d3d9 {

class Device;

class BufferStorage {
public:
    BufferStorage(Device* device, UINT length);
    ~BufferStorage();
    BufferStorage(const BufferStorage&) = delete;
    BufferStorage& operator=(const BufferStorage&) = delete;

    // False when the OpenGL buffer cannot be made.
    bool CreateGLBuffer(GLenum target);

    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT Unlock();

    UINT Length() const { return UINT(memory_.size()); }
    const BYTE* Bytes() const { return memory_.data(); }
    GLuint GLBuffer() const { return glBuffer_; }

private:
    Device* device_;
    std::vector<BYTE> memory_;
    GLuint glBuffer_ = 0;
    GLenum target_ = GL_ARRAY_BUFFER;
    int lockCount_ = 0;
    bool dirty_ = false;
    UINT dirtyBegin_ = 0;
    UINT dirtyEnd_ = 0;
};

}  // namespace quorvane::d3d9

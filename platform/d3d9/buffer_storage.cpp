#include "d3d9/buffer_storage.h"

#include "d3d9/buffer_kind.h"

#include <algorithm>

#include "d3d9/device.h"
#include "d3d9/lock_region.h"

namespace quorvane::d3d9 {

BufferStorage::BufferStorage(Device* device, UINT length, GLenum target)
    : device_(device), memory_(length, 0), target_(target)
{
}

BufferStorage::~BufferStorage()
{
    if (glBuffer_ && device_->MakeCurrent())
        glDeleteBuffers(1, &glBuffer_);
}

bool BufferStorage::CreateGLBuffer()
{
    if (!device_->MakeCurrent())
        return false;
    while (glGetError() != GL_NO_ERROR) {
    }
    glGenBuffers(1, &glBuffer_);
    BindAsKindFirst(glBuffer_, target_);
    // The element-array binding belongs to a vertex array; the copy-write target does not.
    glBindBuffer(GL_COPY_WRITE_BUFFER, glBuffer_);
    glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(memory_.size()), memory_.data(), GL_DYNAMIC_DRAW);
    return glGetError() == GL_NO_ERROR;
}

GLuint BufferStorage::DrawingBuffer()
{
    if (!glBuffer_) {
        glGenBuffers(1, &glBuffer_);
        BindAsKindFirst(glBuffer_, target_);
        glBindBuffer(GL_COPY_WRITE_BUFFER, glBuffer_);
        glBufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(memory_.size()), memory_.data(), GL_STATIC_DRAW);
    }
    return glBuffer_;
}

HRESULT BufferStorage::Lock(UINT offset, UINT size, void** data, DWORD flags)
{
    if (data == nullptr)
        return D3DERR_INVALIDCALL;
    *data = nullptr;
    UINT length = Length();
    if (size == 0 && offset <= length)
        size = length - offset;  // zero locks the rest of the buffer
    if (!KnownLockFlags(flags) || offset > length || size > length - offset)
        return D3DERR_INVALIDCALL;
    ++lockCount_;
    if (!(flags & D3DLOCK_READONLY)) {
        ++version_;
        dirtyBegin_ = dirty_ ? std::min(dirtyBegin_, offset) : offset;
        dirtyEnd_ = dirty_ ? std::max(dirtyEnd_, offset + size) : offset + size;
        dirty_ = true;
    }
    *data = memory_.data() + offset;
    return D3D_OK;
}

HRESULT BufferStorage::Unlock()
{
    if (lockCount_ == 0)
        return D3DERR_INVALIDCALL;
    if (--lockCount_ > 0 || !dirty_)
        return D3D_OK;
    dirty_ = false;
    if (glBuffer_ && dirtyEnd_ > dirtyBegin_ && device_->MakeCurrent()) {
        glBindBuffer(GL_COPY_WRITE_BUFFER, glBuffer_);
        glBufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(dirtyBegin_), GLsizeiptr(dirtyEnd_ - dirtyBegin_),
                        memory_.data() + dirtyBegin_);
    }
    return D3D_OK;
}

}  // namespace quorvane::d3d9

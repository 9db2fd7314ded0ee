// A new OpenGL buffer told what it holds before it is first filled. WebGL 2 fixes a buffer's kind at
// its first binding and makes one first bound to the copy-write target (where the device fills
// buffers, so as not to touch a vertex array's element binding) a non-index buffer for good: an
// index buffer is bound as one first, and the element binding it displaced is put back.
#pragma once

#include <epoxy/gl.h>

namespace quorvane::d3d9 {

inline void BindAsKindFirst(GLuint buffer, GLenum target)
{
    if (target != GL_ELEMENT_ARRAY_BUFFER)
        return;
    GLint previous = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &previous);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLuint>(previous));
}

}  // namespace quorvane::d3d9

// <epoxy/gl.h> for the browser build: OpenGL ES 3.0 as WebGL 2 offers it, from Emscripten's
// <GLES3/gl3.h>, with the few desktop names the platform's desktop path mentions. The ES path
// never calls those (gl_capabilities records on ES only what ES 3.0 has), so each aborts with its
// name. Only the browser build has this folder on its include path; Linux uses libepoxy.
#pragma once

#include <GLES3/gl3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvane::gl_web {

[[noreturn]] inline void DesktopOnly(const char* name)
{
    std::fprintf(stderr, "%s: a desktop OpenGL function, not in WebGL 2\n", name);
    std::abort();
}

}  // namespace quorvane::gl_web

// Desktop OpenGL constants the platform's desktop path names, with their desktop values.
#define GL_BGRA 0x80E1
#define GL_TEXTURE_SWIZZLE_RGBA 0x8E46
#define GL_FIRST_VERTEX_CONVENTION 0x8E4D
#define GL_LAST_VERTEX_CONVENTION 0x8E4E
#define GL_LOWER_LEFT 0x8CA1
#define GL_NEGATIVE_ONE_TO_ONE 0x935E
#define GL_ZERO_TO_ONE 0x935F
#define GL_TEXTURE_BORDER_COLOR 0x1004
#define GL_TEXTURE_LOD_BIAS 0x8501
#define GL_CLAMP_TO_BORDER 0x812D
#define GL_POINT 0x1B00
#define GL_LINE 0x1B01
#define GL_FILL 0x1B02
#define GL_UNSIGNED_SHORT_1_5_5_5_REV 0x8366
#define GL_UNSIGNED_SHORT_4_4_4_4_REV 0x8365
#define GL_DEPTH_COMPONENT32 0x81A7

// Desktop OpenGL functions of that path.
inline void glClipControl(GLenum, GLenum)
{
    quorvane::gl_web::DesktopOnly("glClipControl");
}

inline void glProvokingVertex(GLenum)
{
    quorvane::gl_web::DesktopOnly("glProvokingVertex");
}

inline void glPolygonMode(GLenum, GLenum)
{
    quorvane::gl_web::DesktopOnly("glPolygonMode");
}

inline void glClearDepth(double)
{
    quorvane::gl_web::DesktopOnly("glClearDepth");
}

inline void glDrawElementsBaseVertex(GLenum, GLsizei, GLenum, const void*, GLint)
{
    quorvane::gl_web::DesktopOnly("glDrawElementsBaseVertex");
}

inline void glDepthRange(double, double)
{
    quorvane::gl_web::DesktopOnly("glDepthRange");
}

// WebGL 2 maps no buffer. Emscripten emulates a map of the whole buffer alone and complains on the
// console for a range; the device writes through glBufferSubData when the map gives nothing.
inline void* quorvane_web_glMapBufferRange(GLenum, GLintptr, GLsizeiptr, GLbitfield)
{
    return nullptr;
}

inline GLboolean quorvane_web_glUnmapBuffer(GLenum)
{
    return GL_FALSE;
}

#define glMapBufferRange quorvane_web_glMapBufferRange
#define glUnmapBuffer quorvane_web_glUnmapBuffer

// What libepoxy answers about the current context: ES 3.0, never desktop.
inline int epoxy_gl_version()
{
    return 30;
}

inline bool epoxy_is_desktop_gl()
{
    return false;
}

inline bool epoxy_has_gl_extension(const char* name)
{
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (extensions == nullptr || name == nullptr)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == '\0' || at[length] == ' ';
        if (starts && ends)
            return true;
    }
    return false;
}

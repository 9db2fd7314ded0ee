// Compiling and linking a GLSL program from its two sources, for the modules that draw with
// OpenGL (Direct3D's fixed-function pipeline and the SDL display's compositor). Header-only:
// it needs the caller's current context and nothing else of the platform.
#pragma once

#include <epoxy/gl.h>

namespace quorvane::gl {

// The shader of the given type, or 0 when it does not compile.
inline GLuint CompileShader(GLenum type, const char* source)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The linked program, or 0 when either shader fails to compile or the two fail to link. The
// shaders themselves are given back either way; the program keeps what it needs of them.
inline GLuint LinkProgram(const char* vertexSource, const char* fragmentSource)
{
    GLuint vertex = CompileShader(GL_VERTEX_SHADER, vertexSource);
    GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, fragmentSource);
    GLuint program = 0;
    if (vertex && fragment) {
        program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glLinkProgram(program);
        GLint linked = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (!linked) {
            glDeleteProgram(program);
            program = 0;
        }
    }
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    return program;
}

}  // namespace quorvane::gl

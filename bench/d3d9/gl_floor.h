// The floor of the viewer's frame: the same picture drawn in plain OpenGL 3.3 core on a context
// of the same headless display, with nothing between the program and GL: static vertex and
// index buffers, one minimal shader pair, the Earth texture at the same size, the guide lines
// as GL line strips, the help text as textured quads, and the copy Present makes. No
// Direct3D layer on this GL draws the frame faster.
#pragma once

#include <epoxy/gl.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "viewer_frame.h"

namespace quorvane::display {
struct GLContext;
}

namespace quorvane::bench {

class FloorFrame {
public:
    FloorFrame(HWND window, UINT width, UINT height, const FrameInputs& inputs);
    ~FloorFrame();
    FloorFrame(const FloorFrame&) = delete;
    FloorFrame& operator=(const FloorFrame&) = delete;

    bool Ready() const { return ready_; }
    // One frame, copied aside as Present copies the viewer's, and finished.
    void Draw();
    // The last frame's pixels, 0xAARRGGBB, top row first.
    std::vector<std::uint32_t> ReadPixels();

private:
    struct Uniforms {
        GLint transform, normalMatrix, toLight, emissive, diffuse, textured, texture;
    };
    struct Mesh {
        GLuint vertexArray = 0;
        GLuint vertices = 0;
        GLuint indices = 0;
        GLsizei count = 0;
        GLenum indexType = 0;  // 0: not indexed
    };

    bool Build();
    bool BuildProgram();
    void BuildSphere();
    void BuildCircles();
    void BuildText();
    void BuildTargets();
    Mesh MakeMesh(const void* vertices, size_t vertexBytes, const void* indices, size_t indexBytes, GLenum indexType);
    // World matrix, material colours and texture for the draws that follow.
    void SetDraw(const D3DXMATRIX& world, const D3DCOLORVALUE& emissive, const D3DCOLORVALUE& diffuse, bool textured);
    void SetScreenDraw(D3DCOLOR colour);
    void DrawSphere();
    void DrawLines();
    void DrawText();

    UINT width_;
    UINT height_;
    const FrameInputs& inputs_;
    display::GLContext* context_ = nullptr;
    bool ready_ = false;
    GLuint program_ = 0;
    Uniforms uniforms_{};
    Mesh sphere_;
    Mesh latitudeCircle_;
    Mesh longitudeCircle_;
    Mesh text_;
    std::vector<GLint> textFirsts_;  // first vertex of each of the eight text draws
    std::vector<GLsizei> textCounts_;
    GLuint earthTexture_ = 0;
    GLuint glyphTexture_ = 0;
    GLuint framebuffer_ = 0;
    GLuint colour_ = 0;
    GLuint depth_ = 0;
    GLuint shown_ = 0;  // where each frame is copied, as the window keeps the viewer's
};

}  // namespace quorvane::bench

#include "gl_floor.h"

#include <cwchar>

#include "d3d9/matrix_math.h"
#include "display/display.h"
#include "scene/circle_buffer.h"
#include "scene/guide_line_geometry.h"
#include "scene/line_material.h"
#include "scene/stereographic_projection.h"
#include "user32/window.h"

namespace quorvane::bench {

namespace {

// Direct3D's matrices arrive untransposed, so `matrix * vector` is the row-vector product;
// y flips because rows are stored top row first, as the device stores them.
const char* const vertexShader = R"glsl(
#version 330 core
layout(location = 0) in vec3 a_position;
layout(location = 1) in vec3 a_normal;
layout(location = 2) in vec2 a_texcoord;
uniform mat4 u_transform;
uniform mat3 u_normalMatrix;
uniform vec3 u_toLight;
uniform vec4 u_emissive;  // emissive plus ambient light
uniform vec4 u_diffuse;
out vec4 v_colour;
out vec2 v_texcoord;
void main()
{
    vec4 clip = u_transform * vec4(a_position, 1.0);
    gl_Position = vec4(clip.x, -clip.y, clip.z, clip.w);
    float lit = max(dot(u_normalMatrix * a_normal, u_toLight), 0.0);
    v_colour = clamp(vec4(u_emissive.rgb + u_diffuse.rgb * lit, u_diffuse.a), 0.0, 1.0);
    v_texcoord = a_texcoord;
}
)glsl";

const char* const fragmentShader = R"glsl(
#version 330 core
in vec4 v_colour;
in vec2 v_texcoord;
uniform sampler2D u_texture;
uniform bool u_textured;
out vec4 o_colour;
void main()
{
    vec4 colour = v_colour;
    if (u_textured)
        colour *= texture(u_texture, v_texcoord);
    o_colour = colour;
}
)glsl";

constexpr int latitudeInterval = 15;
constexpr int longitudeInterval = 15;
constexpr unsigned circleSegments = 100;
constexpr GLsizei glyphWidth = 16;
constexpr GLsizei glyphHeight = 24;
constexpr GLsizei glyphTextureSize = 512;  // the font's atlas

const wchar_t* const helpLines[] = {L"左ドラッグ：地球の回転", L"右ドラッグ：カメラ回転",
                                    L"マウスホイール：カメラ前後移動", L"ダブルクリック：フルスクリーン切り替え"};

GLuint Compile(GLenum type, const char* source)
{
    GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

struct TextVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

GLuint MakeTexture(GLsizei width, GLsizei height, const void* bgra)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return texture;
}

}  // namespace

FloorFrame::FloorFrame(HWND window, UINT width, UINT height, const FrameInputs& inputs)
    : width_(width), height_(height), inputs_(inputs)
{
    display::Driver& driver = display::CurrentDriver();
    context_ = driver.CreateGLContext(user32::DisplayWindowOf(window));
    if (context_ && driver.MakeCurrent(context_))
        ready_ = Build();
}

FloorFrame::~FloorFrame()
{
    if (context_)
        display::CurrentDriver().DestroyGLContext(context_);  // takes every GL object with it
}

bool FloorFrame::Build()
{
    if (!BuildProgram())
        return false;
    BuildSphere();
    BuildCircles();
    BuildText();
    BuildTargets();
    earthTexture_ = MakeTexture(GLsizei(inputs_.textureWidth), GLsizei(inputs_.textureHeight), inputs_.texels.data());
    std::vector<std::uint32_t> glyphs(size_t{glyphTextureSize} * glyphTextureSize);
    for (size_t i = 0; i < glyphs.size(); ++i)
        glyphs[i] = (i * 2654435761u) & 0x80000000u ? 0xFFFFFFFFu : 0x00FFFFFFu;  // glyph-like coverage
    glyphTexture_ = MakeTexture(glyphTextureSize, glyphTextureSize, glyphs.data());
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glFrontFace(GL_CCW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthFunc(GL_LEQUAL);
    shown_ = MakeTexture(GLsizei(width_), GLsizei(height_), nullptr);
    return glGetError() == GL_NO_ERROR;
}

bool FloorFrame::BuildProgram()
{
    GLuint vertex = Compile(GL_VERTEX_SHADER, vertexShader);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentShader);
    program_ = glCreateProgram();
    glAttachShader(program_, vertex);
    glAttachShader(program_, fragment);
    glLinkProgram(program_);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program_, GL_LINK_STATUS, &linked);
    auto at = [&](const char* name) { return glGetUniformLocation(program_, name); };
    uniforms_ = {at("u_transform"), at("u_normalMatrix"), at("u_toLight"), at("u_emissive"),
                 at("u_diffuse"),   at("u_textured"),     at("u_texture")};
    glUseProgram(program_);
    glUniform1i(uniforms_.texture, 0);
    return linked == GL_TRUE;
}

FloorFrame::Mesh FloorFrame::MakeMesh(const void* vertices, size_t vertexBytes, const void* indices, size_t indexBytes,
                                      GLenum indexType)
{
    Mesh mesh;
    glGenVertexArrays(1, &mesh.vertexArray);
    glBindVertexArray(mesh.vertexArray);
    glGenBuffers(1, &mesh.vertices);
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertices);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexBytes), vertices, GL_STATIC_DRAW);
    // Every vertex here is 32 bytes: position, normal, texture coordinate.
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 32, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 32, reinterpret_cast<const void*>(12));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 32, reinterpret_cast<const void*>(24));
    if (indices) {
        glGenBuffers(1, &mesh.indices);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.indices);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexBytes), indices, GL_STATIC_DRAW);
    }
    mesh.indexType = indexType;
    mesh.count = GLsizei(indices ? indexBytes / (indexType == GL_UNSIGNED_SHORT ? 2 : 4) : vertexBytes / 32);
    return mesh;
}

void FloorFrame::BuildSphere()
{
    // 16-bit indices where they reach every vertex, as the mesh has them.
    const std::vector<std::uint32_t>& wide = inputs_.indices;
    if (inputs_.vertexCount <= 0x10000) {
        std::vector<std::uint16_t> narrow(wide.begin(), wide.end());
        sphere_ = MakeMesh(inputs_.vertices.data(), inputs_.vertices.size(), narrow.data(), narrow.size() * 2,
                           GL_UNSIGNED_SHORT);
    } else {
        sphere_ =
            MakeMesh(inputs_.vertices.data(), inputs_.vertices.size(), wide.data(), wide.size() * 4, GL_UNSIGNED_INT);
    }
}

void FloorFrame::BuildCircles()
{
    CircleBuffer circle(circleSegments);
    circle.Fill(D3DXVECTOR3(0, 1, 0));
    latitudeCircle_ = MakeMesh(circle.Vertices(), (circleSegments + 1) * sizeof(CircleVertex), nullptr, 0, 0);
    circle.Fill(D3DXVECTOR3(0, 0, 1));
    longitudeCircle_ = MakeMesh(circle.Vertices(), (circleSegments + 1) * sizeof(CircleVertex), nullptr, 0, 0);
}

// The help lines as the font draws them: one quad per character, each line twice (the shadow
// one pixel to the right), in eight draws.
void FloorFrame::BuildText()
{
    std::vector<TextVertex> vertices;
    float top = 8;
    for (const wchar_t* line : helpLines) {
        for (float left : {9.0f, 8.0f}) {
            textFirsts_.push_back(GLint(vertices.size()));
            size_t length = std::wcslen(line);
            for (size_t i = 0; i < length; ++i) {
                float x0 = left + float(i * glyphWidth), y0 = top;
                float x1 = x0 + glyphWidth, y1 = y0 + glyphHeight;
                float u0 = float((i % 32) * glyphWidth) / glyphTextureSize;
                float v0 = float((i / 32) * glyphHeight) / glyphTextureSize;
                float u1 = u0 + float(glyphWidth) / glyphTextureSize, v1 = v0 + float(glyphHeight) / glyphTextureSize;
                TextVertex a{x0, y0, 0, 0, 0, 0, u0, v0}, b{x1, y0, 0, 0, 0, 0, u1, v0};
                TextVertex c{x0, y1, 0, 0, 0, 0, u0, v1}, d{x1, y1, 0, 0, 0, 0, u1, v1};
                vertices.insert(vertices.end(), {a, b, c, c, b, d});
            }
            textCounts_.push_back(GLsizei(vertices.size()) - textFirsts_.back());
        }
        top += 24;
    }
    text_ = MakeMesh(vertices.data(), vertices.size() * sizeof(TextVertex), nullptr, 0, 0);
}

void FloorFrame::BuildTargets()
{
    glGenTextures(1, &colour_);
    glBindTexture(GL_TEXTURE_2D, colour_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, GLsizei(width_), GLsizei(height_), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glGenRenderbuffers(1, &depth_);
    glBindRenderbuffer(GL_RENDERBUFFER, depth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, GLsizei(width_), GLsizei(height_));
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour_, 0);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth_);
}

void FloorFrame::SetDraw(const D3DXMATRIX& world, const D3DCOLORVALUE& emissive, const D3DCOLORVALUE& diffuse,
                         bool textured)
{
    D3DXMATRIX worldView = world * inputs_.view;
    D3DXMATRIX transform = worldView * inputs_.projection;
    d3d9::Matrix3 normalMatrix = d3d9::InverseTranspose3x3(d3d9::ToMatrix4(worldView));
    glUniformMatrix4fv(uniforms_.transform, 1, GL_FALSE, &transform._11);
    glUniformMatrix3fv(uniforms_.normalMatrix, 1, GL_FALSE, normalMatrix.m);
    glUniform4f(uniforms_.emissive, emissive.r, emissive.g, emissive.b, emissive.a);
    glUniform4f(uniforms_.diffuse, diffuse.r, diffuse.g, diffuse.b, diffuse.a);
    glUniform1i(uniforms_.textured, textured ? 1 : 0);
}

void FloorFrame::SetScreenDraw(D3DCOLOR colour)
{
    // Pixels to clip space: x from 0..width to -1..1, y from 0..height to 1..-1.
    const float transform[16] = {
        2.0f / float(width_), 0, 0, 0, 0, -2.0f / float(height_), 0, 0, 0, 0, 1, 0, -1, 1, 0, 1};
    glUniformMatrix4fv(uniforms_.transform, 1, GL_FALSE, transform);
    D3DCOLORVALUE value = ColorValueFromArgb(colour);
    glUniform4f(uniforms_.emissive, value.r, value.g, value.b, value.a);
    glUniform4f(uniforms_.diffuse, 0, 0, 0, value.a);
    glUniform1i(uniforms_.textured, 1);
}

void FloorFrame::DrawSphere()
{
    const D3DMATERIAL9& m = inputs_.material;
    const D3DCOLORVALUE& la = inputs_.light.Ambient;
    const D3DCOLORVALUE& ld = inputs_.light.Diffuse;
    D3DCOLORVALUE emissive{m.Emissive.r + m.Ambient.r * la.r, m.Emissive.g + m.Ambient.g * la.g,
                           m.Emissive.b + m.Ambient.b * la.b, 0};
    D3DCOLORVALUE diffuse{m.Diffuse.r * ld.r, m.Diffuse.g * ld.g, m.Diffuse.b * ld.b, m.Diffuse.a};
    glBindVertexArray(sphere_.vertexArray);
    glBindTexture(GL_TEXTURE_2D, earthTexture_);

    // The image on the plane: no culling, no depth.
    SetDraw(inputs_.rotation * StereographicMatrix, emissive, diffuse, true);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDrawElements(GL_TRIANGLES, sphere_.count, sphere_.indexType, nullptr);
    // The Earth.
    SetDraw(inputs_.rotation, emissive, diffuse, true);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDrawElements(GL_TRIANGLES, sphere_.count, sphere_.indexType, nullptr);
    // The rim: the inside of a sphere 1.1 times the size, in white.
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 1.1f, 1.1f, 1.1f);
    SetDraw(scaling * inputs_.rotation, {1, 1, 1, 1}, {0, 0, 0, 1}, false);
    glCullFace(GL_FRONT);
    glDrawElements(GL_TRIANGLES, sphere_.count, sphere_.indexType, nullptr);
    glCullFace(GL_BACK);
}

void FloorFrame::DrawLines()
{
    GuideLineWorlds worlds = BuildGuideLineWorlds(inputs_.rotation);
    auto strip = [&](const D3DXMATRIX& placement, const D3DXMATRIX& world, const D3DCOLORVALUE& colour) {
        SetDraw(placement * world, colour, {0, 0, 0, colour.a}, false);
        glDrawArrays(GL_LINE_STRIP, 0, GLsizei(circleSegments + 1));
    };
    D3DCOLORVALUE latitude = ColorValueFromArgb(0xFF00FF00);
    D3DCOLORVALUE longitude = ColorValueFromArgb(0xFF0000FF);
    D3DCOLORVALUE red = ColorValueFromArgb(0xFFFF0000);
    glBindVertexArray(latitudeCircle_.vertexArray);
    for (int degrees = 0; degrees < int(latitudeLimitDegrees); degrees += latitudeInterval) {
        D3DXMATRIX placement = LatitudePlacement(degrees);
        const D3DCOLORVALUE& colour = degrees == 0 ? red : latitude;
        strip(placement, worlds.plane, colour);
        strip(placement, worlds.sphere, colour);
        if (degrees != 0) {
            strip(placement, worlds.planeMirror, colour);
            strip(placement, worlds.sphereMirror, colour);
        }
    }
    glBindVertexArray(longitudeCircle_.vertexArray);
    for (int degrees = 0; degrees < int(longitudeLimitDegrees); degrees += longitudeInterval) {
        D3DXMATRIX placement = LongitudePlacement(degrees);
        strip(placement, worlds.plane, longitude);
        strip(placement, worlds.sphere, longitude);
    }
}

void FloorFrame::DrawText()
{
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBindVertexArray(text_.vertexArray);
    glBindTexture(GL_TEXTURE_2D, glyphTexture_);
    for (size_t i = 0; i < textFirsts_.size(); ++i) {
        SetScreenDraw(i % 2 == 0 ? 0xFF4F4F4F : 0xFFFFFFFF);
        glDrawArrays(GL_TRIANGLES, textFirsts_[i], textCounts_[i]);
    }
}

void FloorFrame::Draw()
{
    display::CurrentDriver().MakeCurrent(context_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glViewport(0, 0, GLsizei(width_), GLsizei(height_));
    glUseProgram(program_);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    d3d9::Vector3 direction =
        d3d9::Normalize(d3d9::TransformDirection(inputs_.light.Direction, d3d9::ToMatrix4(inputs_.view)));
    glUniform3f(uniforms_.toLight, -direction.x, -direction.y, -direction.z);

    DrawSphere();
    DrawLines();
    DrawText();

    // What Present does with a frame: copy it aside for the window, then the frame is finished.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindTexture(GL_TEXTURE_2D, shown_);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, GLsizei(width_), GLsizei(height_));
    glFinish();
}

std::vector<std::uint32_t> FloorFrame::ReadPixels()
{
    std::vector<std::uint32_t> pixels(size_t{width_} * height_);
    display::CurrentDriver().MakeCurrent(context_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, GLsizei(width_), GLsizei(height_), GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

}  // namespace quorvane::bench

#include "display/shared/compositor.h"

#include <string>

#include "display/shared/gl_pixels.h"
#include "gl/shader_program.h"

namespace quorvane::display::shared {

namespace {

// One rectangle of the surface (x, y, width, height in pixels, y down) as a triangle strip.
// The version line comes first, from the profile of the context (shared::ShaderHeader).
constexpr const char* vertexShader = R"(
uniform ivec4 rect;
uniform ivec2 surface;
void main()
{
    vec2 corner = vec2(gl_VertexID & 1, gl_VertexID >> 1);
    vec2 pixel = vec2(rect.xy) + corner * vec2(rect.zw);
    vec2 position = pixel / vec2(surface) * 2.0 - 1.0;
    gl_Position = vec4(position.x, -position.y, 0.0, 1.0);
}
)";

// Each surface pixel takes the image's texel at (pixel - corner) * imageSize / rectSize, in
// whole numbers: the frame's stretch, and the identity for a layer. A smooth stretch (the frame
// on a scaled screen) filters the image linearly at the pixel's centre instead. The frame is
// opaque. The surface's bottom-left pixel is at `origin` in the target.
constexpr const char* fragmentShader = R"(
uniform sampler2D image;
uniform ivec4 rect;
uniform ivec2 surface;
uniform ivec2 origin;
uniform ivec2 imageSize;
uniform bool opaque;
uniform bool filtered;
out vec4 color;
void main()
{
    ivec2 fragment = ivec2(gl_FragCoord.xy) - origin;
    ivec2 pixel = ivec2(fragment.x, surface.y - 1 - fragment.y);
    vec4 c;
    if (filtered)
        c = texture(image, (vec2(pixel - rect.xy) + 0.5) / vec2(rect.zw));
    else
        c = texelFetch(image, (pixel - rect.xy) * imageSize / rect.zw, 0);
    color = opaque ? vec4(c.rgb, 1.0) : c;
}
)";

}  // namespace

bool Compositor::Prepare()
{
    if (program_ != 0 || failed_)
        return !failed_;
    const std::string header = shared::ShaderHeader();
    program_ = gl::LinkProgram((header + vertexShader).c_str(), (header + fragmentShader).c_str());
    if (program_ == 0) {
        failed_ = true;
        return false;
    }
    glGenVertexArrays(1, &vertexArray_);
    rectUniform_ = glGetUniformLocation(program_, "rect");
    surfaceUniform_ = glGetUniformLocation(program_, "surface");
    originUniform_ = glGetUniformLocation(program_, "origin");
    imageSizeUniform_ = glGetUniformLocation(program_, "imageSize");
    opaqueUniform_ = glGetUniformLocation(program_, "opaque");
    filteredUniform_ = glGetUniformLocation(program_, "filtered");
    glGenSamplers(1, &linearSampler_);
    glSamplerParameteri(linearSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glSamplerParameteri(linearSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glSamplerParameteri(linearSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(linearSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glUseProgram(program_);
    glUniform1i(glGetUniformLocation(program_, "image"), 0);
    return true;
}

void Compositor::Draw(const Texture& texture, const Rect& rect, bool opaque, bool smooth)
{
    if (texture.name == 0 || rect.width == 0 || rect.height == 0)
        return;
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glBindSampler(0, smooth ? linearSampler_ : 0);
    glUniform1i(filteredUniform_, smooth ? 1 : 0);
    glUniform4i(rectUniform_, rect.x, rect.y, GLint(rect.width), GLint(rect.height));
    glUniform2i(imageSizeUniform_, GLint(texture.width), GLint(texture.height));
    glUniform1i(opaqueUniform_, opaque ? 1 : 0);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

bool Compositor::Compose(GLuint target, std::uint32_t surfaceWidth, std::uint32_t surfaceHeight, const Texture& frame,
                         const Rect& frameArea, const std::map<int, LayerTexture>& layers, const ScreenScale& scale)
{
    return ComposeAt(target, surfaceWidth, surfaceHeight, Rect{0, 0, surfaceWidth, surfaceHeight}, frame, frameArea,
                     layers, scale);
}

bool Compositor::ComposeAt(GLuint target, std::uint32_t targetWidth, std::uint32_t targetHeight, const Rect& place,
                           const Texture& frame, const Rect& frameArea, const std::map<int, LayerTexture>& layers,
                           const ScreenScale& scale)
{
    if (!Prepare())
        return false;
    if (place.width == 0 || place.height == 0)
        return true;
    // GL counts rows up from the bottom of the target.
    const GLint originX = place.x;
    const GLint originY = GLint(targetHeight) - place.y - GLint(place.height);
    const bool whole = place == Rect{0, 0, targetWidth, targetHeight};
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glViewport(originX, originY, GLsizei(place.width), GLsizei(place.height));
    if (!whole) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(originX, originY, GLsizei(place.width), GLsizei(place.height));
    }
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(program_);
    glBindVertexArray(vertexArray_);
    glActiveTexture(GL_TEXTURE0);
    glUniform2i(surfaceUniform_, GLint(place.width), GLint(place.height));
    glUniform2i(originUniform_, originX, originY);
    glDisable(GL_BLEND);
    Draw(frame, frameArea, true, scale.Scales());
    glEnable(GL_BLEND);
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    for (const auto& [order, layer] : layers)
        Draw(layer.image, Rect{scale.ToScreen(layer.x), scale.ToScreen(layer.y), layer.image.width, layer.image.height},
             false, false);
    glDisable(GL_BLEND);
    glDisable(GL_SCISSOR_TEST);
    glBindSampler(0, 0);
    return glGetError() == GL_NO_ERROR;
}

void Compositor::Upload(const Image& image, Texture& texture)
{
    if (texture.name == 0)
        glGenTextures(1, &texture.name);
    glBindTexture(GL_TEXTURE_2D, texture.name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    shared::UploadBgraImage(GLsizei(image.width), GLsizei(image.height), image.pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    texture.width = image.width;
    texture.height = image.height;
}

void Compositor::Delete(Texture& texture)
{
    if (texture.name != 0)
        glDeleteTextures(1, &texture.name);
    texture = Texture{};
}

void Compositor::Release()
{
    if (program_ != 0)
        glDeleteProgram(program_);
    if (vertexArray_ != 0)
        glDeleteVertexArrays(1, &vertexArray_);
    if (linearSampler_ != 0)
        glDeleteSamplers(1, &linearSampler_);
    program_ = 0;
    vertexArray_ = 0;
    linearSampler_ = 0;
}

}  // namespace quorvane::display::shared

#include "d3d9/pipeline.h"

#include <cmath>
#include <cstring>

#include "d3d9/gl_translation.h"

namespace quorvane::d3d9 {

namespace {

constexpr GLuint positionAttribute = 0;
constexpr GLuint normalAttribute = 1;
constexpr GLuint diffuseAttribute = 2;
constexpr GLuint specularAttribute = 3;
constexpr GLuint texcoordAttribute = 4;

// D3DCOLOR as R, G, B, A in [0, 1].
void BorderColor(D3DCOLOR border, float (&rgba)[4])
{
    rgba[0] = ((border >> 16) & 0xFF) / 255.0f;
    rgba[1] = ((border >> 8) & 0xFF) / 255.0f;
    rgba[2] = (border & 0xFF) / 255.0f;
    rgba[3] = ((border >> 24) & 0xFF) / 255.0f;
}

// The LOD bias is a float stored in the DWORD; anything but a finite number is no bias.
float LodBias(DWORD bits)
{
    float bias;
    static_assert(sizeof bias == sizeof(DWORD));
    std::memcpy(&bias, &bits, sizeof bias);
    return std::isfinite(bias) ? bias : 0.0f;
}

}  // namespace

bool Pipeline::Create(const GLCapabilities& caps)
{
    caps_ = caps;
    glGenVertexArrays(1, &vertexArray_);
    streamVertices_.Create(caps.unsynchronizedMap, GL_ARRAY_BUFFER);
    streamIndices_.Create(caps.unsynchronizedMap, GL_ELEMENT_ARRAY_BUFFER);
    glGenSamplers(1, &sampler_);
    samplerSet_ = false;
    ApplyContextState();
    return glGetError() == GL_NO_ERROR;
}

void Pipeline::ApplyContextState()
{
    glBindVertexArray(vertexArray_);
    // Direct3D's conventions that never change: depth in [0, 1] of clip w, flat shading from
    // the first vertex, and faces wound clockwise on screen are OpenGL's counter-clockwise ones
    // (rows are stored top row first, which mirrors the picture vertically). A context without
    // clip control or a provoking-vertex choice has them emulated by the shaders and the draws.
    if (caps_.clipControl)
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    if (caps_.provokingVertex)
        glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // What a vertex without a part reads (the current attribute values belong to the context,
    // and nothing else sets them): Direct3D's defaults.
    glVertexAttrib4f(normalAttribute, 0.0f, 0.0f, 0.0f, 1.0f);
    glVertexAttrib4f(diffuseAttribute, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(specularAttribute, 0.0f, 0.0f, 0.0f, 0.0f);
    glVertexAttrib4f(texcoordAttribute, 0.0f, 0.0f, 0.0f, 1.0f);
    contextStateSet_ = true;
}

void Pipeline::Destroy()
{
    programs_.Clear();
    glDeleteSamplers(1, &sampler_);
    streamIndices_.Destroy();
    streamVertices_.Destroy();
    glDeleteVertexArrays(1, &vertexArray_);
    sampler_ = vertexArray_ = 0;
}

bool Pipeline::Prepare(const DeviceState& state, const VertexLayout& layout, GLuint texture, const DrawTarget& target)
{
    if (!contextStateSet_)
        ApplyContextState();
    ProgramKey key = MakeProgramKey(state, layout, texture != 0);
    key.emulation = EmulationFor(caps_, key, state);
    FixedFunctionProgram* program = programs_.Find(key);
    if (!program)
        return false;
    glUseProgram(program->Id());
    constants_.Update(state, key);
    program->UploadConstants(constants_);
    ApplyRasterState(state, target);
    ApplySampler(state, key.TextureStageUsed() ? texture : 0);
    if (key.emulation & (borderAddressU | borderAddressV | shaderLodBias)) {
        const auto& s = state.samplerStates[0];
        float border[4];
        BorderColor(s[D3DSAMP_BORDERCOLOR], border);
        program->UploadSampling(border, LodBias(s[D3DSAMP_MIPMAPLODBIAS]));
    }
    return true;
}

void Pipeline::ApplyRasterState(const DeviceState& state, const DrawTarget& target)
{
    const auto& rs = state.renderStates;
    const D3DVIEWPORT9& vp = state.viewport;
    glViewport(GLint(vp.X), GLint(vp.Y), GLsizei(vp.Width), GLsizei(vp.Height));
    if (caps_.es)
        glDepthRangef(vp.MinZ, vp.MaxZ);
    else
        glDepthRange(vp.MinZ, vp.MaxZ);

    if (target.hasDepthBuffer && rs[D3DRS_ZENABLE] != D3DZB_FALSE) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(CompareFunction(rs[D3DRS_ZFUNC]));
        glDepthMask(rs[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }

    switch (rs[D3DRS_CULLMODE]) {
    case D3DCULL_CW:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        break;
    case D3DCULL_CCW:
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        break;
    default: glDisable(GL_CULL_FACE); break;
    }

    if (rs[D3DRS_ALPHABLENDENABLE]) {
        glEnable(GL_BLEND);
        BlendFactors color = TranslateBlend(rs[D3DRS_SRCBLEND], rs[D3DRS_DESTBLEND]);
        BlendFactors alpha = rs[D3DRS_SEPARATEALPHABLENDENABLE]
                                 ? TranslateBlend(rs[D3DRS_SRCBLENDALPHA], rs[D3DRS_DESTBLENDALPHA])
                                 : color;
        glBlendFuncSeparate(color.source, color.destination, alpha.source, alpha.destination);
        GLenum alphaOp = BlendEquation(rs[D3DRS_SEPARATEALPHABLENDENABLE] ? rs[D3DRS_BLENDOPALPHA] : rs[D3DRS_BLENDOP]);
        glBlendEquationSeparate(BlendEquation(rs[D3DRS_BLENDOP]), alphaOp);
    } else {
        glDisable(GL_BLEND);
    }

    DWORD mask = rs[D3DRS_COLORWRITEENABLE];
    glColorMask((mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, (mask & 8) != 0);
    // Without polygon modes the draw itself turns faces into lines or points (primitive_rewrite.h).
    if (caps_.polygonMode)
        glPolygonMode(GL_FRONT_AND_BACK, PolygonMode(rs[D3DRS_FILLMODE]));
}

void Pipeline::ApplySampler(const DeviceState& state, GLuint texture)
{
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBindSampler(0, sampler_);
    const auto& s = state.samplerStates[0];
    if (!texture || (samplerSet_ && s == samplerStates_))
        return;
    samplerStates_ = s;
    samplerSet_ = true;
    // Border addressing the sampler lacks is clamped to the edge here and completed by the shader.
    auto address = [&](DWORD mode) {
        return !caps_.borderClamp && mode == D3DTADDRESS_BORDER ? GL_CLAMP_TO_EDGE : AddressMode(mode);
    };
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, address(s[D3DSAMP_ADDRESSU]));
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, address(s[D3DSAMP_ADDRESSV]));
    glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, MagnificationFilter(s[D3DSAMP_MAGFILTER]));
    glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER,
                        MinificationFilter(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER]));
    glSamplerParameterf(sampler_, GL_TEXTURE_MIN_LOD, float(s[D3DSAMP_MAXMIPLEVEL]));
    if (caps_.lodBias)
        glSamplerParameterf(sampler_, GL_TEXTURE_LOD_BIAS, LodBias(s[D3DSAMP_MIPMAPLODBIAS]));
    if (caps_.borderClamp) {
        float borderColor[4];
        BorderColor(s[D3DSAMP_BORDERCOLOR], borderColor);
        glSamplerParameterfv(sampler_, GL_TEXTURE_BORDER_COLOR, borderColor);
    }
}

void Pipeline::BindVertices(const DeviceState& state, const VertexLayout& layout, GLuint buffer, size_t offset,
                            UINT stride)
{
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    auto attribute = [&](GLuint location, int byteOffset, GLint size, GLenum type, GLboolean normalized) {
        if (byteOffset < 0) {
            glDisableVertexAttribArray(location);
            return;
        }
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, size, type, normalized, GLsizei(stride),
                              reinterpret_cast<const void*>(offset + size_t(byteOffset)));
    };
    attribute(positionAttribute, 0, layout.positionComponents, GL_FLOAT, GL_FALSE);
    attribute(normalAttribute, layout.normalOffset, 3, GL_FLOAT, GL_FALSE);
    // Colours are B, G, R, A bytes: GL_BGRA fetches them in order, else the shader swizzles.
    GLint colorSize = caps_.bgraLayouts ? GL_BGRA : 4;
    attribute(diffuseAttribute, layout.diffuseOffset, colorSize, GL_UNSIGNED_BYTE, GL_TRUE);
    attribute(specularAttribute, layout.specularOffset, colorSize, GL_UNSIGNED_BYTE, GL_TRUE);
    UINT set = state.stageStates[0][D3DTSS_TEXCOORDINDEX] & 0xFFFF;
    if (set < layout.textureSets)
        attribute(texcoordAttribute, layout.textureOffsets[set], layout.textureComponents[set], GL_FLOAT, GL_FALSE);
    else
        attribute(texcoordAttribute, -1, 0, GL_FLOAT, GL_FALSE);
}

StreamedData Pipeline::StreamVertices(const void* data, size_t bytes)
{
    return {streamVertices_.Buffer(), streamVertices_.Write(data, bytes)};
}

StreamedData Pipeline::StreamIndices(const void* data, size_t bytes)
{
    StreamedData streamed{streamIndices_.Buffer(), streamIndices_.Write(data, bytes)};
    BindIndices(streamed.buffer);
    return streamed;
}

void Pipeline::BindIndices(GLuint buffer)
{
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
}

}  // namespace quorvane::d3d9

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

}  // namespace

bool Pipeline::Create()
{
    glGenVertexArrays(1, &vertexArray_);
    streamVertices_.Create();
    streamIndices_.Create();
    glGenSamplers(1, &sampler_);
    samplerSet_ = false;
    glBindVertexArray(vertexArray_);
    // Direct3D's conventions that never change: depth in [0, 1] of clip w, flat shading from
    // the first vertex, and faces wound clockwise on screen are OpenGL's counter-clockwise ones
    // (rows are stored top row first, which mirrors the picture vertically).
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // What a vertex without a part reads (the current attribute values belong to the context,
    // and nothing else sets them): Direct3D's defaults.
    glVertexAttrib3f(normalAttribute, 0.0f, 0.0f, 0.0f);
    glVertexAttrib4f(diffuseAttribute, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(specularAttribute, 0.0f, 0.0f, 0.0f, 0.0f);
    glVertexAttrib4f(texcoordAttribute, 0.0f, 0.0f, 0.0f, 1.0f);
    return glGetError() == GL_NO_ERROR;
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
    ProgramKey key = MakeProgramKey(state, layout, texture != 0);
    FixedFunctionProgram* program = programs_.Find(key);
    if (!program)
        return false;
    glUseProgram(program->Id());
    constants_.Update(state, key);
    program->UploadConstants(constants_);
    ApplyRasterState(state, target);
    ApplySampler(state, key.TextureStageUsed() ? texture : 0);
    return true;
}

void Pipeline::ApplyRasterState(const DeviceState& state, const DrawTarget& target)
{
    const auto& rs = state.renderStates;
    const D3DVIEWPORT9& vp = state.viewport;
    glViewport(GLint(vp.X), GLint(vp.Y), GLsizei(vp.Width), GLsizei(vp.Height));
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
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, AddressMode(s[D3DSAMP_ADDRESSU]));
    glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, AddressMode(s[D3DSAMP_ADDRESSV]));
    glSamplerParameteri(sampler_, GL_TEXTURE_MAG_FILTER, MagnificationFilter(s[D3DSAMP_MAGFILTER]));
    glSamplerParameteri(sampler_, GL_TEXTURE_MIN_FILTER,
                        MinificationFilter(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER]));
    glSamplerParameterf(sampler_, GL_TEXTURE_MIN_LOD, float(s[D3DSAMP_MAXMIPLEVEL]));
    float bias;
    static_assert(sizeof bias == sizeof(DWORD));
    std::memcpy(&bias, &s[D3DSAMP_MIPMAPLODBIAS], sizeof bias);
    glSamplerParameterf(sampler_, GL_TEXTURE_LOD_BIAS, std::isfinite(bias) ? bias : 0.0f);
    D3DCOLOR border = s[D3DSAMP_BORDERCOLOR];
    const float borderColor[4] = {((border >> 16) & 0xFF) / 255.0f, ((border >> 8) & 0xFF) / 255.0f,
                                  (border & 0xFF) / 255.0f, ((border >> 24) & 0xFF) / 255.0f};
    glSamplerParameterfv(sampler_, GL_TEXTURE_BORDER_COLOR, borderColor);
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
    attribute(diffuseAttribute, layout.diffuseOffset, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE);
    attribute(specularAttribute, layout.specularOffset, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE);
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

#include "d3d9/pipeline.h"

#include <cmath>
#include <cstring>
#include <string>

#include "d3d9/gl_translation.h"
#include "d3d9/matrix_math.h"
#include "d3d9/shader_source.h"

namespace quorvane::d3d9 {

namespace {

constexpr GLuint positionAttribute = 0;
constexpr GLuint normalAttribute = 1;
constexpr GLuint diffuseAttribute = 2;
constexpr GLuint specularAttribute = 3;
constexpr GLuint texcoordAttribute = 4;

GLuint CompileShader(GLenum type, const std::string& source)
{
    GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint LinkProgram(const std::string& defines)
{
    std::string header = "#version 330 core\n" + defines;
    GLuint vertex = CompileShader(GL_VERTEX_SHADER, header + fixedFunctionVertexShader);
    GLuint fragment = CompileShader(GL_FRAGMENT_SHADER, header + fixedFunctionFragmentShader);
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

void SetColor(GLint location, const D3DCOLORVALUE& c)
{
    glUniform4f(location, c.r, c.g, c.b, c.a);
}

void SetColor(GLint location, D3DCOLOR c)
{
    glUniform4f(location, ((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f,
                ((c >> 24) & 0xFF) / 255.0f);
}

}  // namespace

struct LightUniforms {
    GLint type, diffuse, specular, ambient, position, direction, attenuation, spot;
};

struct FixedFunctionProgram {
    GLuint id = 0;
    bool pretransformed = false;
    bool used = false;  // drawn with since the counts were last taken
    // Both variants.
    GLint hasDiffuse, hasSpecular;
    // Pretransformed vertices.
    GLint viewport, depthRange;
    // Transformed vertices.
    GLint worldViewProjection, worldView, normalMatrix, pixelAdjust;
    GLint lighting, hasNormal, normalizeNormals, colorVertex, specularEnableVertex, localViewer;
    GLint materialSource, materialDiffuse, materialAmbient, materialSpecular, materialEmissive, materialPower;
    GLint globalAmbient, lightCount;
    LightUniforms lights[maxActiveLights];
    // Pixels.
    GLint texture, textured, colorStage, alphaStage, textureFactor, specularEnable, alphaFunc, alphaRef;

    void Locate()
    {
        auto at = [&](const std::string& name) { return glGetUniformLocation(id, name.c_str()); };
        hasDiffuse = at("u_hasDiffuse");
        hasSpecular = at("u_hasSpecular");
        viewport = at("u_viewport");
        depthRange = at("u_depthRange");
        worldViewProjection = at("u_worldViewProjection");
        worldView = at("u_worldView");
        normalMatrix = at("u_normalMatrix");
        pixelAdjust = at("u_pixelAdjust");
        lighting = at("u_lighting");
        hasNormal = at("u_hasNormal");
        normalizeNormals = at("u_normalizeNormals");
        colorVertex = at("u_colorVertex");
        specularEnableVertex = at("u_specularEnable");
        localViewer = at("u_localViewer");
        materialSource = at("u_materialSource");
        materialDiffuse = at("u_materialDiffuse");
        materialAmbient = at("u_materialAmbient");
        materialSpecular = at("u_materialSpecular");
        materialEmissive = at("u_materialEmissive");
        materialPower = at("u_materialPower");
        globalAmbient = at("u_globalAmbient");
        lightCount = at("u_lightCount");
        for (DWORD i = 0; i < maxActiveLights; ++i) {
            std::string base = "u_lights[" + std::to_string(i) + "].";
            lights[i] = {at(base + "type"),     at(base + "diffuse"),   at(base + "specular"),    at(base + "ambient"),
                         at(base + "position"), at(base + "direction"), at(base + "attenuation"), at(base + "spot")};
        }
        texture = at("u_texture");
        textured = at("u_textured");
        colorStage = at("u_colorStage");
        alphaStage = at("u_alphaStage");
        textureFactor = at("u_textureFactor");
        specularEnable = at("u_specularEnable");
        alphaFunc = at("u_alphaFunc");
        alphaRef = at("u_alphaRef");
    }
};

Pipeline::Pipeline() = default;

Pipeline::~Pipeline()
{
    for (auto& [key, program] : programs_)
        delete program;
}

bool Pipeline::Create()
{
    glGenVertexArrays(1, &vertexArray_);
    glGenBuffers(1, &streamVertices_);
    glGenBuffers(1, &streamIndices_);
    glGenSamplers(1, &sampler_);
    glBindVertexArray(vertexArray_);
    // Direct3D's conventions that never change: depth in [0, 1] of clip w, flat shading from
    // the first vertex, and faces wound clockwise on screen are OpenGL's counter-clockwise ones
    // (rows are stored top row first, which mirrors the picture vertically).
    glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    glFrontFace(GL_CCW);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    return glGetError() == GL_NO_ERROR;
}

void Pipeline::Destroy()
{
    for (auto& [key, program] : programs_) {
        glDeleteProgram(program->id);
        delete program;
    }
    programs_.clear();
    glDeleteSamplers(1, &sampler_);
    glDeleteBuffers(1, &streamIndices_);
    glDeleteBuffers(1, &streamVertices_);
    glDeleteVertexArrays(1, &vertexArray_);
    sampler_ = streamIndices_ = streamVertices_ = vertexArray_ = 0;
}

FixedFunctionProgram* Pipeline::Program(bool pretransformed, bool flat)
{
    int key = (pretransformed ? 1 : 0) | (flat ? 2 : 0);
    auto found = programs_.find(key);
    if (found != programs_.end())
        return found->second;
    std::string defines;
    if (pretransformed)
        defines += "#define PRETRANSFORMED\n";
    defines += flat ? "#define SHADE flat\n" : "#define SHADE smooth\n";
    GLuint id = LinkProgram(defines);
    if (id == 0)
        return nullptr;
    auto* program = new FixedFunctionProgram;
    program->id = id;
    program->pretransformed = pretransformed;
    program->Locate();
    programs_[key] = program;
    ++compiled_;
    return program;
}

bool Pipeline::Prepare(const DeviceState& state, const VertexLayout& layout, GLuint texture, const DrawTarget& target)
{
    const auto& rs = state.renderStates;
    FixedFunctionProgram* program = Program(layout.pretransformed, rs[D3DRS_SHADEMODE] == D3DSHADE_FLAT);
    if (!program)
        return false;
    program->used = true;
    glUseProgram(program->id);
    ApplyRasterState(state, target);

    glUniform1i(program->hasDiffuse, layout.diffuseOffset >= 0);
    glUniform1i(program->hasSpecular, layout.specularOffset >= 0);
    if (layout.pretransformed) {
        const D3DVIEWPORT9& vp = state.viewport;
        glUniform4f(program->viewport, float(vp.X), float(vp.Y), float(vp.Width), float(vp.Height));
        glUniform2f(program->depthRange, vp.MinZ, vp.MaxZ);
    } else {
        SetTransformUniforms(*program, state);
        SetLightingUniforms(*program, state);
        glUniform1i(program->hasNormal, layout.normalOffset >= 0);
    }

    const auto& stage = state.stageStates[0];
    glUniform1i(program->texture, 0);
    glUniform1i(program->textured, texture != 0);
    glUniform3i(program->colorStage, GLint(stage[D3DTSS_COLOROP]), GLint(stage[D3DTSS_COLORARG1]),
                GLint(stage[D3DTSS_COLORARG2]));
    glUniform3i(program->alphaStage, GLint(stage[D3DTSS_ALPHAOP]), GLint(stage[D3DTSS_ALPHAARG1]),
                GLint(stage[D3DTSS_ALPHAARG2]));
    SetColor(program->textureFactor, D3DCOLOR(rs[D3DRS_TEXTUREFACTOR]));
    glUniform1i(program->specularEnable, rs[D3DRS_SPECULARENABLE] != FALSE);
    glUniform1i(program->alphaFunc, rs[D3DRS_ALPHATESTENABLE] ? GLint(rs[D3DRS_ALPHAFUNC]) : GLint(D3DCMP_ALWAYS));
    glUniform1f(program->alphaRef, float(rs[D3DRS_ALPHAREF] & 0xFF));
    ApplySampler(state, texture);
    return true;
}

void Pipeline::SetTransformUniforms(const FixedFunctionProgram& program, const DeviceState& state)
{
    Matrix4 worldView = Multiply(state.transforms[D3DTS_WORLD], state.transforms[D3DTS_VIEW]);
    Matrix4 worldViewProjection = Multiply(worldView, state.transforms[D3DTS_PROJECTION]);
    Matrix3 normalMatrix = InverseTranspose3x3(worldView);
    glUniformMatrix4fv(program.worldViewProjection, 1, GL_FALSE, worldViewProjection.m);
    glUniformMatrix4fv(program.worldView, 1, GL_FALSE, worldView.m);
    glUniformMatrix3fv(program.normalMatrix, 1, GL_FALSE, normalMatrix.m);
    glUniform2f(program.pixelAdjust, 1.0f / float(state.viewport.Width), 1.0f / float(state.viewport.Height));
}

void Pipeline::SetLightingUniforms(const FixedFunctionProgram& program, const DeviceState& state)
{
    const auto& rs = state.renderStates;
    glUniform1i(program.lighting, rs[D3DRS_LIGHTING] != FALSE);
    if (!rs[D3DRS_LIGHTING])
        return;
    glUniform1i(program.normalizeNormals, rs[D3DRS_NORMALIZENORMALS] != FALSE);
    glUniform1i(program.colorVertex, rs[D3DRS_COLORVERTEX] != FALSE);
    glUniform1i(program.specularEnableVertex, rs[D3DRS_SPECULARENABLE] != FALSE);
    glUniform1i(program.localViewer, rs[D3DRS_LOCALVIEWER] != FALSE);
    glUniform4i(program.materialSource, GLint(rs[D3DRS_DIFFUSEMATERIALSOURCE]), GLint(rs[D3DRS_AMBIENTMATERIALSOURCE]),
                GLint(rs[D3DRS_SPECULARMATERIALSOURCE]), GLint(rs[D3DRS_EMISSIVEMATERIALSOURCE]));
    SetColor(program.materialDiffuse, state.material.Diffuse);
    SetColor(program.materialAmbient, state.material.Ambient);
    SetColor(program.materialSpecular, state.material.Specular);
    SetColor(program.materialEmissive, state.material.Emissive);
    glUniform1f(program.materialPower, state.material.Power);
    SetColor(program.globalAmbient, D3DCOLOR(rs[D3DRS_AMBIENT]));

    // Lights work in view space: positions and directions go through the view matrix.
    Matrix4 view = ToMatrix4(state.transforms[D3DTS_VIEW]);
    GLint count = 0;
    for (const auto& [index, slot] : state.lights) {
        if (!slot.enabled || count == GLint(maxActiveLights))
            continue;
        const D3DLIGHT9& light = slot.light;
        const LightUniforms& u = program.lights[count++];
        Vector3 direction = Normalize(TransformDirection(light.Direction, view));
        Vector3 position = TransformPoint(light.Position, view);
        glUniform1i(u.type, GLint(light.Type));
        SetColor(u.diffuse, light.Diffuse);
        SetColor(u.specular, light.Specular);
        SetColor(u.ambient, light.Ambient);
        glUniform3f(u.position, position.x, position.y, position.z);
        glUniform3f(u.direction, direction.x, direction.y, direction.z);
        glUniform4f(u.attenuation, light.Range, light.Attenuation0, light.Attenuation1, light.Attenuation2);
        glUniform3f(u.spot, std::cos(light.Theta / 2.0f), std::cos(light.Phi / 2.0f), light.Falloff);
    }
    glUniform1i(program.lightCount, count);
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
    if (!texture)
        return;
    const auto& s = state.samplerStates[0];
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
    // Absent parts read as Direct3D's defaults.
    glVertexAttrib3f(normalAttribute, 0.0f, 0.0f, 0.0f);
    glVertexAttrib4f(diffuseAttribute, 1.0f, 1.0f, 1.0f, 1.0f);
    glVertexAttrib4f(specularAttribute, 0.0f, 0.0f, 0.0f, 0.0f);
    glVertexAttrib4f(texcoordAttribute, 0.0f, 0.0f, 0.0f, 1.0f);
}

GLuint Pipeline::StreamVertices(const void* data, size_t bytes)
{
    glBindBuffer(GL_ARRAY_BUFFER, streamVertices_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(bytes), data, GL_STREAM_DRAW);
    return streamVertices_;
}

GLuint Pipeline::StreamIndices(const void* data, size_t bytes)
{
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIndices_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(bytes), data, GL_STREAM_DRAW);
    return streamIndices_;
}

void Pipeline::BindIndices(GLuint buffer)
{
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer);
}

ProgramCounts Pipeline::TakeProgramCounts()
{
    ProgramCounts counts{UINT(programs_.size()), compiled_, 0};
    for (auto& [key, program] : programs_) {
        counts.used += program->used ? 1 : 0;
        program->used = false;
    }
    return counts;
}

}  // namespace quorvane::d3d9

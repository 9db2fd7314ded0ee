#include "d3d9/fixed_function_program.h"

#include <string>

#include "d3d9/shader_source.h"
#include "gl/shader_program.h"

namespace quorvane::d3d9 {

namespace {

void SetColor(GLint location, const D3DCOLORVALUE& c)
{
    glUniform4f(location, c.r, c.g, c.b, c.a);
}

}  // namespace

std::unique_ptr<FixedFunctionProgram> FixedFunctionProgram::Build(const ProgramKey& key)
{
    GLuint id = gl::LinkProgram(VertexShaderSource(key).c_str(), FragmentShaderSource(key).c_str());
    if (id == 0)
        return nullptr;
    std::unique_ptr<FixedFunctionProgram> program(new FixedFunctionProgram(key, id));
    program->Locate();
    return program;
}

FixedFunctionProgram::FixedFunctionProgram(const ProgramKey& key, GLuint id) : key_(key), id_(id)
{
}

void FixedFunctionProgram::DeleteGLProgram()
{
    glDeleteProgram(id_);
    id_ = 0;
}

void FixedFunctionProgram::Locate()
{
    auto at = [&](const std::string& name) { return glGetUniformLocation(id_, name.c_str()); };
    worldViewProjection_ = at("u_worldViewProjection");
    worldView_ = at("u_worldView");
    normalMatrix_ = at("u_normalMatrix");
    pixelAdjust_ = at("u_pixelAdjust");
    viewport_ = at("u_viewport");
    depthRange_ = at("u_depthRange");
    materialDiffuse_ = at("u_materialDiffuse");
    materialAmbient_ = at("u_materialAmbient");
    materialSpecular_ = at("u_materialSpecular");
    materialEmissive_ = at("u_materialEmissive");
    materialPower_ = at("u_materialPower");
    globalAmbient_ = at("u_globalAmbient");
    for (int i = 0; i < key_.lightCount; ++i) {
        std::string base = "u_lights[" + std::to_string(i) + "].";
        lights_[i] = {at(base + "diffuse"),   at(base + "specular"),    at(base + "ambient"), at(base + "position"),
                      at(base + "direction"), at(base + "attenuation"), at(base + "spot")};
    }
    textureFactor_ = at("u_textureFactor");
    alphaRef_ = at("u_alphaRef");
    borderColor_ = at("u_borderColor");
    lodBias_ = at("u_lodBias");
    // The sampler reads texture unit 0, for good.
    glUseProgram(id_);
    glUniform1i(at("u_texture"), 0);
}

bool FixedFunctionProgram::NeedsUpload(const DrawConstants& constants, ConstantGroup group)
{
    std::uint64_t current = constants.Version(group);
    std::uint64_t& held = held_[std::size_t(group)];
    if (held == current)
        return false;
    held = current;
    return true;
}

void FixedFunctionProgram::UploadConstants(const DrawConstants& constants)
{
    if (key_.pretransformed) {
        if (NeedsUpload(constants, ConstantGroup::viewport)) {
            const ViewportConstants& v = constants.Viewport();
            glUniform4fv(viewport_, 1, v.rectangle);
            glUniform2fv(depthRange_, 1, v.depthRange);
        }
    } else {
        if (NeedsUpload(constants, ConstantGroup::transform))
            UploadTransform(constants.Transform());
        if (key_.lighting && NeedsUpload(constants, ConstantGroup::material))
            UploadMaterial(constants.Material());
        if (key_.lighting && NeedsUpload(constants, ConstantGroup::lights))
            UploadLights(constants.Lights());
    }
    if ((key_.ReadsTextureFactor() || key_.TestsAlpha()) && NeedsUpload(constants, ConstantGroup::pixel)) {
        const PixelConstants& p = constants.Pixel();
        SetColor(textureFactor_, p.textureFactor);
        glUniform1f(alphaRef_, p.alphaRef);
    }
}

void FixedFunctionProgram::UploadSampling(const float borderColor[4], float lodBias)
{
    if (borderColor_ >= 0)
        glUniform4fv(borderColor_, 1, borderColor);
    if (lodBias_ >= 0)
        glUniform1f(lodBias_, lodBias);
}

void FixedFunctionProgram::UploadTransform(const TransformConstants& t)
{
    glUniformMatrix4fv(worldViewProjection_, 1, GL_FALSE, t.worldViewProjection.m);
    glUniform2fv(pixelAdjust_, 1, t.pixelAdjust);
    if (key_.lighting) {
        glUniformMatrix4fv(worldView_, 1, GL_FALSE, t.worldView.m);
        glUniformMatrix3fv(normalMatrix_, 1, GL_FALSE, t.normalMatrix.m);
    }
}

void FixedFunctionProgram::UploadMaterial(const MaterialConstants& m)
{
    SetColor(materialDiffuse_, m.material.Diffuse);
    SetColor(materialAmbient_, m.material.Ambient);
    SetColor(materialSpecular_, m.material.Specular);
    SetColor(materialEmissive_, m.material.Emissive);
    glUniform1f(materialPower_, m.material.Power);
    SetColor(globalAmbient_, m.globalAmbient);
}

void FixedFunctionProgram::UploadLights(const LightConstants* lights)
{
    for (int i = 0; i < key_.lightCount; ++i) {
        const LightConstants& light = lights[i];
        const LightLocations& u = lights_[i];
        SetColor(u.diffuse, light.diffuse);
        SetColor(u.specular, light.specular);
        SetColor(u.ambient, light.ambient);
        glUniform3f(u.position, light.position.x, light.position.y, light.position.z);
        glUniform3f(u.direction, light.direction.x, light.direction.y, light.direction.z);
        glUniform4fv(u.attenuation, 1, light.attenuation);
        glUniform3fv(u.spot, 1, light.spot);
    }
}

}  // namespace quorvane::d3d9

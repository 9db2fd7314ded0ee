// One linked fixed-function program, made for one program key: the locations of the uniforms its
// shaders declare, and the version of each constant group it holds, so that a draw uploads only
// what changed since this program last drew.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <cstdint>
#include <memory>

#include "d3d9/draw_constants.h"
#include "d3d9/program_key.h"

namespace quorvane::d3d9 {

class FixedFunctionProgram {
public:
    // Compiles and links the program of `key`; null when OpenGL refuses it.
    static std::unique_ptr<FixedFunctionProgram> Build(const ProgramKey& key);
    // The GL program outlives this object unless DeleteGLProgram is called, with the context
    // current (a device whose context cannot be made current lets it go with the context).
    ~FixedFunctionProgram() = default;
    void DeleteGLProgram();
    FixedFunctionProgram(const FixedFunctionProgram&) = delete;
    FixedFunctionProgram& operator=(const FixedFunctionProgram&) = delete;

    GLuint Id() const { return id_; }
    const ProgramKey& Key() const { return key_; }

    // With the program in use: uploads every group it reads whose values it does not hold yet.
    void UploadConstants(const DrawConstants& constants);
    // With the program in use: the sampler states the shader emulates (border colour as R, G, B,
    // A, LOD bias), where it reads them.
    void UploadSampling(const float borderColor[4], float lodBias);

    // For the cache: when the program last drew, and whether it drew since the counts were taken.
    std::uint64_t lastUse = 0;
    bool usedSinceCount = false;

private:
    struct LightLocations {
        GLint diffuse, specular, ambient, position, direction, attenuation, spot;
    };

    FixedFunctionProgram(const ProgramKey& key, GLuint id);
    void Locate();
    bool NeedsUpload(const DrawConstants& constants, ConstantGroup group);
    void UploadTransform(const TransformConstants& transform);
    void UploadMaterial(const MaterialConstants& material);
    void UploadLights(const LightConstants* lights);

    ProgramKey key_;
    GLuint id_;
    std::array<std::uint64_t, constantGroupCount> held_{};  // versions of the values uploaded
    GLint worldViewProjection_ = -1, worldView_ = -1, normalMatrix_ = -1, pixelAdjust_ = -1;
    GLint viewport_ = -1, depthRange_ = -1;
    GLint materialDiffuse_ = -1, materialAmbient_ = -1, materialSpecular_ = -1, materialEmissive_ = -1;
    GLint materialPower_ = -1, globalAmbient_ = -1;
    LightLocations lights_[maxActiveLights]{};
    GLint textureFactor_ = -1, alphaRef_ = -1;
    GLint borderColor_ = -1, lodBias_ = -1;
};

}  // namespace quorvane::d3d9

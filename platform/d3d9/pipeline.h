// The OpenGL side of drawing: the fixed-function programs, the vertex array, the buffers that
// stream vertices and indices from memory, and the sampler. For each draw it turns the device
// state into GL state and uniforms.
#pragma once

#include <epoxy/gl.h>

#include <map>

#include "d3d9/device_state.h"
#include "d3d9/vertex_layout.h"

namespace quorvane::d3d9 {

struct FixedFunctionProgram;

// How many programs the pipeline keeps, has compiled in all, and has used since the counts
// were last taken.
struct ProgramCounts {
    UINT cached = 0;
    UINT compiled = 0;
    UINT used = 0;
};

// What a draw reads besides the device state.
struct DrawTarget {
    bool hasDepthBuffer = false;
};

class Pipeline {
public:
    Pipeline();
    ~Pipeline();
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // With the device's context current.
    bool Create();
    void Destroy();

    // Program, uniforms and fixed GL state for a draw. `texture` is stage 0's GL texture or 0.
    // False when the program could not be built.
    bool Prepare(const DeviceState& state, const VertexLayout& layout, GLuint texture, const DrawTarget& target);

    // Points the vertex attributes at `buffer` (vertex 0 at byte `offset`).
    void BindVertices(const DeviceState& state, const VertexLayout& layout, GLuint buffer, size_t offset, UINT stride);

    // Copies data from memory into the streaming buffers; the data starts at offset 0.
    GLuint StreamVertices(const void* data, size_t bytes);
    GLuint StreamIndices(const void* data, size_t bytes);
    void BindIndices(GLuint buffer);

    ProgramCounts TakeProgramCounts();

private:
    FixedFunctionProgram* Program(bool pretransformed, bool flat);
    void ApplyRasterState(const DeviceState& state, const DrawTarget& target);
    void ApplySampler(const DeviceState& state, GLuint texture);
    void SetTransformUniforms(const FixedFunctionProgram& program, const DeviceState& state);
    void SetLightingUniforms(const FixedFunctionProgram& program, const DeviceState& state);

    std::map<int, FixedFunctionProgram*> programs_;
    UINT compiled_ = 0;
    GLuint vertexArray_ = 0;
    GLuint streamVertices_ = 0;
    GLuint streamIndices_ = 0;
    GLuint sampler_ = 0;
};

}  // namespace quorvane::d3d9

// The OpenGL side of drawing: the fixed-function programs (specialised to the state in use and
// cached), the uniforms they read, the vertex array, the buffers that stream vertices and
// indices from memory, and the sampler. For each draw it turns the device state into GL state.
#pragma once

#include <epoxy/gl.h>

#include <array>

#include "d3d9/device_state.h"
#include "d3d9/draw_constants.h"
#include "d3d9/gl_capabilities.h"
#include "d3d9/program_cache.h"
#include "d3d9/stream_buffer.h"
#include "d3d9/vertex_layout.h"

namespace quorvane::d3d9 {

// What a draw reads besides the device state.
struct DrawTarget {
    bool hasDepthBuffer = false;
};

// Data streamed from memory: the buffer and where in it the data starts.
struct StreamedData {
    GLuint buffer = 0;
    size_t offset = 0;
};

class Pipeline {
public:
    Pipeline() = default;
    Pipeline(const Pipeline&) = delete;
    Pipeline& operator=(const Pipeline&) = delete;

    // With the device's context current.
    bool Create(const GLCapabilities& caps);
    void Destroy();

    // Program, uniforms and fixed GL state for a draw. `texture` is stage 0's GL texture or 0.
    // False when the program could not be built.
    bool Prepare(const DeviceState& state, const VertexLayout& layout, GLuint texture, const DrawTarget& target);

    // Points the vertex attributes at `buffer` (vertex 0 at byte `offset`).
    void BindVertices(const DeviceState& state, const VertexLayout& layout, GLuint buffer, size_t offset, UINT stride);

    // Copies data from memory into the streaming buffers.
    StreamedData StreamVertices(const void* data, size_t bytes);
    // The indices are bound for the next draw.
    StreamedData StreamIndices(const void* data, size_t bytes);
    void BindIndices(GLuint buffer);

    ProgramCounts TakeProgramCounts() { return programs_.TakeCounts(); }

    // Another user of the context (a display composing in it) may have changed the context's
    // own state: the next Prepare sets it again.
    void ForgetContextState() { contextStateSet_ = false; }

private:
    void ApplyContextState();
    void ApplyRasterState(const DeviceState& state, const DrawTarget& target);
    void ApplySampler(const DeviceState& state, GLuint texture);

    GLCapabilities caps_;
    bool contextStateSet_ = false;
    ProgramCache programs_;
    DrawConstants constants_;
    GLuint vertexArray_ = 0;
    StreamBuffer streamVertices_;
    StreamBuffer streamIndices_;
    GLuint sampler_ = 0;
    // The sampler states the sampler object was last given; `samplerSet_` false until then.
    std::array<DWORD, samplerStateCount> samplerStates_{};
    bool samplerSet_ = false;
};

}  // namespace quorvane::d3d9

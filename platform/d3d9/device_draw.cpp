// Scenes, Clear and the draw calls: checks as Direct3D makes them, then the vertices and
// indices go to OpenGL (streamed from memory, or read from the buffer's GL copy) and the
// pipeline draws them.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "d3d9/device.h"
#include "d3d9/index_buffer.h"
#include "d3d9/primitive_rewrite.h"
#include "d3d9/texture.h"
#include "d3d9/vertex_buffer.h"

namespace quorvane::d3d9 {

namespace {

constexpr std::uint64_t maxVertices = std::uint64_t{1} << 24;

// Vertices (or indices) a primitive count needs; 0 for an unknown primitive type.
std::uint64_t VertexCount(D3DPRIMITIVETYPE type, UINT primitives)
{
    switch (type) {
    case D3DPT_POINTLIST: return primitives;
    case D3DPT_LINELIST: return std::uint64_t{primitives} * 2;
    case D3DPT_LINESTRIP: return std::uint64_t{primitives} + 1;
    case D3DPT_TRIANGLELIST: return std::uint64_t{primitives} * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return std::uint64_t{primitives} + 2;
    default: return 0;
    }
}

GLenum PrimitiveMode(D3DPRIMITIVETYPE type)
{
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

bool IsLine(D3DPRIMITIVETYPE type)
{
    return type == D3DPT_LINELIST || type == D3DPT_LINESTRIP;
}

// The index values of a range, widened to 32 bits.
std::vector<UINT> ReadIndices(const BYTE* data, UINT count, UINT indexSize)
{
    std::vector<UINT> indices(count);
    for (UINT i = 0; i < count; ++i)
        indices[i] = ReadIndex(data, i, indexSize);
    return indices;
}

// The vertices that end a line segment: the last of a strip, every second one of a list.
std::vector<UINT> LineEnds(D3DPRIMITIVETYPE type, const std::vector<UINT>& vertices)
{
    std::vector<UINT> ends;
    if (type == D3DPT_LINESTRIP) {
        ends.push_back(vertices.back());
    } else {
        for (size_t i = 1; i < vertices.size(); i += 2)
            ends.push_back(vertices[i]);
    }
    return ends;
}

std::vector<UINT> Sequence(UINT count)
{
    std::vector<UINT> values(count);
    for (UINT i = 0; i < count; ++i)
        values[i] = i;
    return values;
}

// Direct3D draws the last pixel of a line (D3DRS_LASTPIXEL, on by default); OpenGL leaves it
// out. The end vertices are drawn again as one-pixel points. `ends` index the bound vertices.
void DrawLineEnds(Pipeline& pipeline, const GLCapabilities& caps, std::vector<UINT> ends, GLint baseVertex)
{
    if (!caps.baseVertex) {
        for (UINT& end : ends)
            end = UINT(GLint(end) + baseVertex);
        baseVertex = 0;
    }
    StreamedData streamed = pipeline.StreamIndices(ends.data(), ends.size() * sizeof(UINT));
    if (baseVertex != 0)
        glDrawElementsBaseVertex(GL_POINTS, GLsizei(ends.size()), GL_UNSIGNED_INT,
                                 reinterpret_cast<const void*>(streamed.offset), baseVertex);
    else
        glDrawElements(GL_POINTS, GLsizei(ends.size()), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(streamed.offset));
}

}  // namespace

HRESULT Device::BeginScene()
{
    if (inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene()
{
    if (!inScene_)
        return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD)
{
    if ((count > 0) != (rects != nullptr))
        return D3DERR_INVALIDCALL;
    if (flags == 0 || (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)))
        return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_ZBUFFER) && !parameters_.EnableAutoDepthStencil)
        return D3DERR_INVALIDCALL;
    if ((flags & D3DCLEAR_STENCIL) &&
        !(parameters_.EnableAutoDepthStencil && parameters_.AutoDepthStencilFormat == D3DFMT_D24S8))
        return D3DERR_INVALIDCALL;
    if (!(z >= 0.0f && z <= 1.0f))
        return D3DERR_INVALIDCALL;
    if (cooperation_ != Cooperation::Operational || !MakeCurrent())
        return D3D_OK;  // a lost device draws nothing, without complaint

    glBindFramebuffer(GL_FRAMEBUFFER, target_.Framebuffer());
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f,
                 ((color >> 24) & 0xFF) / 255.0f);
    if (caps_.es)
        glClearDepthf(z);
    else
        glClearDepth(z);
    GLbitfield mask = ((flags & D3DCLEAR_TARGET) ? GL_COLOR_BUFFER_BIT : 0) |
                      ((flags & D3DCLEAR_ZBUFFER) ? GL_DEPTH_BUFFER_BIT : 0) |
                      ((flags & D3DCLEAR_STENCIL) ? GL_STENCIL_BUFFER_BIT : 0);
    // Clear works inside the viewport, and inside each rectangle when there are some.
    const D3DVIEWPORT9& vp = state_.viewport;
    D3DRECT viewport{LONG(vp.X), LONG(vp.Y), LONG(vp.X + vp.Width), LONG(vp.Y + vp.Height)};
    glEnable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < std::max<DWORD>(count, 1); ++i) {
        D3DRECT r = count ? rects[i] : viewport;
        LONG left = std::max(r.x1, viewport.x1), top = std::max(r.y1, viewport.y1);
        LONG right = std::min(r.x2, viewport.x2), bottom = std::min(r.y2, viewport.y2);
        if (left >= right || top >= bottom)
            continue;
        glScissor(left, top, right - left, bottom - top);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
    return D3D_OK;
}

HRESULT Device::CheckDrawable(D3DPRIMITIVETYPE type, UINT primitiveCount, VertexLayout& layout) const
{
    if (!inScene_ || VertexCount(type, 1) == 0)
        return D3DERR_INVALIDCALL;
    if (VertexCount(type, primitiveCount) > maxVertices)
        return D3DERR_INVALIDCALL;
    if (state_.fvf == 0 || !DecodeFvf(state_.fvf, layout))
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HRESULT Device::PrepareDraw(const VertexLayout& layout)
{
    if (cooperation_ != Cooperation::Operational || !target_.Framebuffer())
        return S_FALSE;  // a lost device draws nothing, without complaint
    if (!MakeCurrent())
        return D3DERR_DRIVERINTERNALERROR;
    glBindFramebuffer(GL_FRAMEBUFFER, target_.Framebuffer());
    Texture* texture = state_.textures[0];
    GLuint glTexture = texture ? texture->DrawingTexture() : 0;
    if (texture && !glTexture)
        return D3DERR_OUTOFVIDEOMEMORY;
    DrawTarget target{target_.HasDepth()};
    return pipeline_.Prepare(state_, layout, glTexture, target) ? S_OK : D3DERR_DRIVERINTERNALERROR;
}

void Device::IssueDraw(D3DPRIMITIVETYPE type, UINT vertexCount, GLenum indexType, size_t indexOffset, GLint baseVertex,
                       const void* indexMemory)
{
    DWORD fill = state_.renderStates[D3DRS_FILLMODE];
    bool flat = state_.renderStates[D3DRS_SHADEMODE] == D3DSHADE_FLAT;
    if (NeedsRewrite(caps_, type, fill, flat, indexType ? baseVertex : 0)) {
        std::vector<UINT> vertices = Sequence(vertexCount);
        if (indexType) {
            vertices =
                ReadIndices(static_cast<const BYTE*>(indexMemory), vertexCount, indexType == GL_UNSIGNED_SHORT ? 2 : 4);
            for (UINT& vertex : vertices)
                vertex = UINT(GLint(vertex) + baseVertex);
        }
        RewrittenDraw draw = RewriteDraw(type, vertices, fill, flat);
        StreamedData streamed = pipeline_.StreamIndices(draw.indices.data(), draw.indices.size() * sizeof(UINT));
        glDrawElements(draw.mode, GLsizei(draw.indices.size()), GL_UNSIGNED_INT,
                       reinterpret_cast<const void*>(streamed.offset));
        return;
    }
    GLenum mode = PrimitiveMode(type);
    if (indexType && baseVertex != 0)
        glDrawElementsBaseVertex(mode, GLsizei(vertexCount), indexType, reinterpret_cast<const void*>(indexOffset),
                                 baseVertex);
    else if (indexType)
        glDrawElements(mode, GLsizei(vertexCount), indexType, reinterpret_cast<const void*>(indexOffset));
    else
        glDrawArrays(mode, 0, GLsizei(vertexCount));
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData, UINT vertexStride)
{
    VertexLayout layout;
    if (vertexData == nullptr || vertexStride == 0)
        return D3DERR_INVALIDCALL;
    if (HRESULT hr = CheckDrawable(type, primitiveCount, layout); FAILED(hr))
        return hr;
    if (vertexStride < layout.size)
        return D3DERR_INVALIDCALL;
    // Drawing from memory unbinds stream 0, as Direct3D does.
    if (state_.streams[0].buffer)
        state_.streams[0].buffer->ReleasePrivateRef();
    state_.streams[0] = StreamSource{};
    UINT vertexCount = UINT(VertexCount(type, primitiveCount));
    if (primitiveCount == 0)
        return D3D_OK;
    if (HRESULT ready = PrepareDraw(layout); ready != S_OK)
        return SUCCEEDED(ready) ? D3D_OK : ready;
    StreamedData streamed = pipeline_.StreamVertices(vertexData, size_t(vertexCount) * vertexStride);
    pipeline_.BindVertices(state_, layout, streamed.buffer, streamed.offset, vertexStride);
    IssueDraw(type, vertexCount, 0, 0, 0);
    if (IsLine(type) && state_.renderStates[D3DRS_LASTPIXEL])
        DrawLineEnds(pipeline_, caps_, LineEnds(type, Sequence(vertexCount)), 0);
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount)
{
    VertexLayout layout;
    if (HRESULT hr = CheckDrawable(type, primitiveCount, layout); FAILED(hr))
        return hr;
    const StreamSource& stream = state_.streams[0];
    if (!stream.buffer || stream.stride < layout.size)
        return D3DERR_INVALIDCALL;
    std::uint64_t vertexCount = VertexCount(type, primitiveCount);
    std::uint64_t available = (stream.buffer->Storage().Length() - stream.offset) / stream.stride;
    if (std::uint64_t{startVertex} + vertexCount > available)
        return D3DERR_INVALIDCALL;
    if (primitiveCount == 0)
        return D3D_OK;
    if (HRESULT ready = PrepareDraw(layout); ready != S_OK)
        return SUCCEEDED(ready) ? D3D_OK : ready;
    VertexBuffer* vertexBuffer = stream.buffer;
    pipeline_.BindVertices(state_, layout, vertexBuffer->Storage().DrawingBuffer(),
                           stream.offset + size_t(startVertex) * stream.stride, stream.stride);
    IssueDraw(type, UINT(vertexCount), 0, 0, 0);
    if (IsLine(type) && state_.renderStates[D3DRS_LASTPIXEL])
        DrawLineEnds(pipeline_, caps_, LineEnds(type, Sequence(UINT(vertexCount))), 0);
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT, UINT numVertices,
                                     UINT startIndex, UINT primitiveCount)
{
    VertexLayout layout;
    if (HRESULT hr = CheckDrawable(type, primitiveCount, layout); FAILED(hr))
        return hr;
    const StreamSource& stream = state_.streams[0];
    IndexBuffer* indexBuffer = state_.indices;
    if (!stream.buffer || !indexBuffer || stream.stride < layout.size || numVertices == 0)
        return D3DERR_INVALIDCALL;
    std::uint64_t indexCount = VertexCount(type, primitiveCount);
    UINT indexSize = indexBuffer->IndexSize();
    const BufferStorage& indexStorage = indexBuffer->Storage();
    if ((std::uint64_t{startIndex} + indexCount) * indexSize > indexStorage.Length())
        return D3DERR_INVALIDCALL;
    if (primitiveCount == 0)
        return D3D_OK;

    // Every index must name a vertex inside the buffer: checked here rather than trusted.
    IndexBuffer::Range range = indexBuffer->IndexRange(startIndex, UINT(indexCount));
    std::int64_t first = std::int64_t{baseVertexIndex} + range.lowest;
    std::int64_t last = std::int64_t{baseVertexIndex} + range.highest;
    VertexBuffer* vertexBuffer = stream.buffer;
    std::int64_t available = (vertexBuffer->Storage().Length() - stream.offset) / stream.stride;
    if (first < 0 || last >= available)
        return D3DERR_INVALIDCALL;
    if (HRESULT ready = PrepareDraw(layout); ready != S_OK)
        return SUCCEEDED(ready) ? D3D_OK : ready;

    pipeline_.BindVertices(state_, layout, vertexBuffer->Storage().DrawingBuffer(), stream.offset, stream.stride);
    pipeline_.BindIndices(indexBuffer->Storage().DrawingBuffer());
    GLenum indexType = indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT;
    const BYTE* indices = indexStorage.Bytes() + size_t(startIndex) * indexSize;
    IssueDraw(type, UINT(indexCount), indexType, size_t(startIndex) * indexSize, baseVertexIndex, indices);
    if (IsLine(type) && state_.renderStates[D3DRS_LASTPIXEL]) {
        DrawLineEnds(pipeline_, caps_, LineEnds(type, ReadIndices(indices, UINT(indexCount), indexSize)),
                     baseVertexIndex);
    }
    return D3D_OK;
}

HRESULT Device::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices,
                                       UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat,
                                       const void* vertexData, UINT vertexStride)
{
    VertexLayout layout;
    if (!indexData || !vertexData || vertexStride == 0 || numVertices == 0 ||
        (indexFormat != D3DFMT_INDEX16 && indexFormat != D3DFMT_INDEX32))
        return D3DERR_INVALIDCALL;
    if (HRESULT hr = CheckDrawable(type, primitiveCount, layout); FAILED(hr))
        return hr;
    if (vertexStride < layout.size)
        return D3DERR_INVALIDCALL;
    UINT indexSize = indexFormat == D3DFMT_INDEX32 ? 4 : 2;
    UINT indexCount = UINT(VertexCount(type, primitiveCount));
    std::vector<UINT> indices = ReadIndices(static_cast<const BYTE*>(indexData), indexCount, indexSize);
    // The caller promises vertices [minVertexIndex, minVertexIndex + numVertices); indices
    // outside would read memory that is not there.
    std::uint64_t end = std::uint64_t{minVertexIndex} + numVertices;
    if (std::any_of(indices.begin(), indices.end(), [&](UINT i) { return i < minVertexIndex || i >= end; }))
        return D3DERR_INVALIDCALL;
    // Drawing from memory unbinds stream 0 and the indices, as Direct3D does.
    if (state_.streams[0].buffer)
        state_.streams[0].buffer->ReleasePrivateRef();
    state_.streams[0] = StreamSource{};
    if (state_.indices)
        state_.indices->ReleasePrivateRef();
    state_.indices = nullptr;
    if (primitiveCount == 0)
        return D3D_OK;
    if (HRESULT ready = PrepareDraw(layout); ready != S_OK)
        return SUCCEEDED(ready) ? D3D_OK : ready;
    const BYTE* vertices = static_cast<const BYTE*>(vertexData) + size_t(minVertexIndex) * vertexStride;
    StreamedData streamed = pipeline_.StreamVertices(vertices, size_t(numVertices) * vertexStride);
    pipeline_.BindVertices(state_, layout, streamed.buffer, streamed.offset, vertexStride);
    size_t indexOffset = pipeline_.StreamIndices(indexData, size_t(indexCount) * indexSize).offset;
    GLint baseVertex = -GLint(minVertexIndex);
    IssueDraw(type, indexCount, indexSize == 2 ? GL_UNSIGNED_SHORT : GL_UNSIGNED_INT, indexOffset, baseVertex,
              indexData);
    if (IsLine(type) && state_.renderStates[D3DRS_LASTPIXEL])
        DrawLineEnds(pipeline_, caps_, LineEnds(type, indices), baseVertex);
    return D3D_OK;
}

}  // namespace quorvane::d3d9

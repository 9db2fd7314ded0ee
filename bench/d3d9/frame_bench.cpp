// A frame like the viewer's at 1024 x 768 on the headless display (Mesa llvmpipe): two draws of
// the data tool's 7 920-triangle sphere, textured and lit, from system-memory buffers (as a D3DX
// mesh draws), and 46 line strips of 100 segments. Reports frames per second and the time per
// draw call.
#include <benchmark/benchmark.h>
#include <d3d9.h>

#include <cmath>
#include <vector>

#include "device_fixture.h"
#include "scene_helpers.h"

namespace {

using quorvane::tests::CopyToBuffer;
using quorvane::tests::DeviceFixture;
using quorvane::tests::Identity;
using quorvane::tests::LineVertex;
using quorvane::tests::MeshVertex;

constexpr UINT backBufferWidth = 1024;
constexpr UINT backBufferHeight = 768;
constexpr int slices = 40;
constexpr int stacks = 100;  // 2 x 40 x 99 = 7 920 triangles
constexpr int lineStrips = 46;
constexpr int segmentsPerStrip = 100;
constexpr int drawsPerFrame = 2 + lineStrips;

// Left-handed perspective projection, 60 degrees vertically, near 1, far 1000.
D3DMATRIX Projection()
{
    return quorvane::tests::Perspective(1.0471976f / 2.0f, backBufferWidth, backBufferHeight, 1.0f, 1000.0f);
}

class Scene {
public:
    Scene() : fixture_(backBufferWidth, backBufferHeight), device_(fixture_.device())
    {
        if (!device_)
            return;
        BuildSphere();
        BuildTexture();
        BuildLines();
    }

    ~Scene()
    {
        if (texture_)
            texture_->Release();
        if (vertices_)
            vertices_->Release();
        if (indices_)
            indices_->Release();
    }

    bool Ready() const { return device_ && texture_ && vertices_ && indices_; }

    void DrawSphere(const D3DMATRIX& world)
    {
        device_->SetTransform(D3DTS_WORLD, &world);
        device_->SetFVF(quorvane::tests::meshFvf);
        device_->SetTexture(0, texture_);
        device_->SetStreamSource(0, vertices_, 0, sizeof(MeshVertex));
        device_->SetIndices(indices_);
        device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount_, 0, triangleCount_);
    }

    void DrawLines()
    {
        D3DMATRIX world = Identity();
        device_->SetTransform(D3DTS_WORLD, &world);
        device_->SetTexture(0, nullptr);
        device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        for (int strip = 0; strip < lineStrips; ++strip)
            device_->DrawPrimitiveUP(D3DPT_LINESTRIP, segmentsPerStrip, &lines_[size_t(strip) * (segmentsPerStrip + 1)],
                                     sizeof(LineVertex));
    }

    void Frame()
    {
        device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device_->BeginScene();
        SetCamera();
        D3DMATRIX image = Identity();
        image._22 = 0.01f;  // flattened onto a plane below, as the stereographic image is
        image._42 = -1.5f;
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        DrawSphere(image);
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
        DrawSphere(Identity());
        DrawLines();
        device_->EndScene();
        device_->Present(nullptr, nullptr, nullptr, nullptr);
    }

    IDirect3DDevice9* Device() { return device_; }
    const LineVertex* Strip(int i) const { return &lines_[size_t(i) * (segmentsPerStrip + 1)]; }

    void SetCamera()
    {
        D3DMATRIX view = Identity();
        view._43 = 3.5f;  // the camera 3.5 units in front of the sphere
        D3DMATRIX projection = Projection();
        device_->SetTransform(D3DTS_VIEW, &view);
        device_->SetTransform(D3DTS_PROJECTION, &projection);
        D3DLIGHT9 light{};
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = {1, 1, 1, 1};
        light.Ambient = {1, 1, 1, 1};
        light.Direction = {1, -1, 1};
        device_->SetLight(0, &light);
        device_->LightEnable(0, TRUE);
        D3DMATERIAL9 material{};
        material.Diffuse = {1, 1, 1, 1};
        material.Ambient = {0.2f, 0.2f, 0.2f, 1};
        device_->SetMaterial(&material);
    }

private:
    void BuildSphere()
    {
        quorvane::tests::SphereMesh sphere = quorvane::tests::EarthSphere(slices, stacks);
        vertexCount_ = UINT(sphere.vertices.size());
        triangleCount_ = UINT(sphere.indices.size() / 3);
        if (device_->CreateVertexBuffer(UINT(sphere.vertices.size() * sizeof(MeshVertex)), 0, 0, D3DPOOL_SYSTEMMEM,
                                        &vertices_, nullptr) != D3D_OK ||
            device_->CreateIndexBuffer(UINT(sphere.indices.size() * sizeof(WORD)), 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM,
                                       &indices_, nullptr) != D3D_OK)
            return;
        CopyToBuffer(vertices_, sphere.vertices);
        CopyToBuffer(indices_, sphere.indices);
    }

    // A 512 x 512 checkerboard of 32-texel squares.
    void BuildTexture()
    {
        const UINT size = 512;
        std::vector<DWORD> texels(size * size);
        for (UINT i = 0; i < texels.size(); ++i) {
            texels[i] = ((i % size / 32 + i / size / 32) % 2) ? 0xFF2060C0 : 0xFF40A040;
        }
        texture_ = fixture_.MakeTexture(size, size, texels);
    }

    // Latitude circles around the sphere, slightly outside it.
    void BuildLines()
    {
        for (int strip = 0; strip < lineStrips; ++strip) {
            float theta = 3.14159f * float(strip + 1) / (lineStrips + 1);
            for (int i = 0; i <= segmentsPerStrip; ++i) {
                float phi = 2.0f * 3.14159f * float(i) / segmentsPerStrip;
                float r = 1.01f * std::sin(theta);
                lines_.push_back({r * std::cos(phi), 1.01f * std::cos(theta), r * std::sin(phi), 0xFFFFFF00});
            }
        }
    }

    DeviceFixture fixture_;
    IDirect3DDevice9* device_;
    IDirect3DTexture9* texture_ = nullptr;
    IDirect3DVertexBuffer9* vertices_ = nullptr;
    IDirect3DIndexBuffer9* indices_ = nullptr;
    UINT vertexCount_ = 0;
    UINT triangleCount_ = 0;
    std::vector<LineVertex> lines_;
};

// The whole frame, presented (Present reads the picture back, so each frame is finished).
void BM_Frame(benchmark::State& state)
{
    Scene scene;
    if (!scene.Ready()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    for (auto _ : state)
        scene.Frame();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["draws"] = drawsPerFrame;
    state.counters["per_draw"] = benchmark::Counter(double(state.iterations()) * drawsPerFrame,
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of one line-strip draw call as the program issues them: state, upload, submission.
// Every 46 calls the frame is finished outside the timing, so queued work does not pile up.
void BM_LineStripDrawCall(benchmark::State& state)
{
    Scene scene;
    if (!scene.Ready()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    IDirect3DDevice9* device = scene.Device();
    device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    device->BeginScene();
    scene.SetCamera();
    int strip = 0;
    for (auto _ : state) {
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, segmentsPerStrip, scene.Strip(strip), sizeof(LineVertex));
        if (++strip == lineStrips) {
            strip = 0;
            state.PauseTiming();
            device->EndScene();
            device->Present(nullptr, nullptr, nullptr, nullptr);
            device->BeginScene();
            state.ResumeTiming();
        }
    }
    device->EndScene();
}
BENCHMARK(BM_LineStripDrawCall)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

// A frame like the viewer's at 1024 x 768 on the headless display (Mesa llvmpipe): two draws of
// an 8 000-triangle textured, lit sphere from system-memory buffers (as a D3DX mesh draws), and
// 46 line strips of 100 segments. Reports frames per second and the time per draw call.
#include <benchmark/benchmark.h>
#include <d3d9.h>
#include <windows.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr UINT kWidth = 1024;
constexpr UINT kHeight = 768;
constexpr int kSlices = 40;
constexpr int kStacks = 100;  // 2 x 40 x 100 = 8 000 triangles
constexpr int kLineStrips = 46;
constexpr int kSegments = 100;
constexpr int kDrawsPerFrame = 2 + kLineStrips;

struct MeshVertex {
    float x, y, z, nx, ny, nz, u, v;
};
struct LineVertex {
    float x, y, z;
    D3DCOLOR color;
};

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

D3DMATRIX Identity()
{
    D3DMATRIX m{};
    m._11 = m._22 = m._33 = m._44 = 1.0f;
    return m;
}

// Left-handed perspective projection, 60 degrees vertically, near 1, far 1000.
D3DMATRIX Projection()
{
    float yScale = 1.0f / std::tan(1.0471976f / 2.0f), xScale = yScale * kHeight / kWidth;
    float zn = 1.0f, zf = 1000.0f;
    D3DMATRIX m{};
    m._11 = xScale;
    m._22 = yScale;
    m._33 = zf / (zf - zn);
    m._34 = 1.0f;
    m._43 = -zn * zf / (zf - zn);
    return m;
}

class Scene {
public:
    Scene()
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = BenchWindowProc;
        wc.lpszClassName = L"QuorvaneBench";
        RegisterClassExW(&wc);
        window_ = CreateWindowExW(0, L"QuorvaneBench", L"bench", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                  nullptr, nullptr);
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        D3DPRESENT_PARAMETERS pp{};
        pp.BackBufferWidth = kWidth;
        pp.BackBufferHeight = kHeight;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.BackBufferCount = 1;
        pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
        pp.hDeviceWindow = window_;
        pp.Windowed = TRUE;
        pp.EnableAutoDepthStencil = TRUE;
        pp.AutoDepthStencilFormat = D3DFMT_D16;
        if (!d3d_ || d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                        D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device_) != D3D_OK)
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
        if (device_)
            device_->Release();
        if (d3d_)
            d3d_->Release();
        DestroyWindow(window_);
    }

    bool Ready() const { return device_ && texture_ && vertices_ && indices_; }

    void DrawSphere(const D3DMATRIX& world)
    {
        device_->SetTransform(D3DTS_WORLD, &world);
        device_->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
        device_->SetTexture(0, texture_);
        device_->SetStreamSource(0, vertices_, 0, sizeof(MeshVertex));
        device_->SetIndices(indices_);
        device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, vertexCount_, 0, kSlices * kStacks * 2);
    }

    void DrawLines()
    {
        D3DMATRIX world = Identity();
        device_->SetTransform(D3DTS_WORLD, &world);
        device_->SetTexture(0, nullptr);
        device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
        for (int strip = 0; strip < kLineStrips; ++strip)
            device_->DrawPrimitiveUP(D3DPT_LINESTRIP, kSegments, &lines_[size_t(strip) * (kSegments + 1)],
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
    const LineVertex* Strip(int i) const { return &lines_[size_t(i) * (kSegments + 1)]; }

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
        std::vector<MeshVertex> vertices;
        for (int stack = 0; stack <= kStacks; ++stack) {
            float theta = 3.14159f * float(stack) / kStacks;
            for (int slice = 0; slice <= kSlices; ++slice) {
                float phi = 2.0f * 3.14159f * float(slice) / kSlices;
                float x = std::sin(theta) * std::cos(phi), y = std::cos(theta), z = std::sin(theta) * std::sin(phi);
                vertices.push_back({x, y, z, x, y, z, float(slice) / kSlices, float(stack) / kStacks});
            }
        }
        std::vector<WORD> indices;
        for (int stack = 0; stack < kStacks; ++stack) {
            for (int slice = 0; slice < kSlices; ++slice) {
                WORD a = WORD(stack * (kSlices + 1) + slice), b = WORD(a + 1);
                WORD c = WORD(a + kSlices + 1), d = WORD(c + 1);
                indices.insert(indices.end(), {a, b, c, c, b, d});
            }
        }
        vertexCount_ = UINT(vertices.size());
        void* data = nullptr;
        if (device_->CreateVertexBuffer(UINT(vertices.size() * sizeof(MeshVertex)), 0, 0, D3DPOOL_SYSTEMMEM, &vertices_,
                                        nullptr) != D3D_OK ||
            device_->CreateIndexBuffer(UINT(indices.size() * sizeof(WORD)), 0, D3DFMT_INDEX16, D3DPOOL_SYSTEMMEM,
                                       &indices_, nullptr) != D3D_OK)
            return;
        vertices_->Lock(0, 0, &data, 0);
        std::memcpy(data, vertices.data(), vertices.size() * sizeof(MeshVertex));
        vertices_->Unlock();
        indices_->Lock(0, 0, &data, 0);
        std::memcpy(data, indices.data(), indices.size() * sizeof(WORD));
        indices_->Unlock();
    }

    void BuildTexture()
    {
        const UINT size = 512;
        IDirect3DTexture9* source = nullptr;
        if (device_->CreateTexture(size, size, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr) != D3D_OK)
            return;
        D3DLOCKED_RECT locked{};
        source->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD);
        for (UINT y = 0; y < size; ++y)
            for (UINT x = 0; x < size; ++x)
                reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] =
                    ((x / 32 + y / 32) % 2) ? 0xFF2060C0 : 0xFF40A040;
        source->UnlockRect(0);
        device_->CreateTexture(size, size, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_DEFAULT, &texture_, nullptr);
        IDirect3DSurface9 *from = nullptr, *to = nullptr;
        source->GetSurfaceLevel(0, &from);
        texture_->GetSurfaceLevel(0, &to);
        device_->UpdateSurface(from, nullptr, to, nullptr);
        from->Release();
        to->Release();
        source->Release();
    }

    // Latitude circles around the sphere, slightly outside it.
    void BuildLines()
    {
        for (int strip = 0; strip < kLineStrips; ++strip) {
            float theta = 3.14159f * float(strip + 1) / (kLineStrips + 1);
            for (int i = 0; i <= kSegments; ++i) {
                float phi = 2.0f * 3.14159f * float(i) / kSegments;
                float r = 1.01f * std::sin(theta);
                lines_.push_back({r * std::cos(phi), 1.01f * std::cos(theta), r * std::sin(phi), 0xFFFFFF00});
            }
        }
    }

    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DTexture9* texture_ = nullptr;
    IDirect3DVertexBuffer9* vertices_ = nullptr;
    IDirect3DIndexBuffer9* indices_ = nullptr;
    UINT vertexCount_ = 0;
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
    state.counters["draws"] = kDrawsPerFrame;
    state.counters["per_draw"] = benchmark::Counter(double(state.iterations()) * kDrawsPerFrame,
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
        device->DrawPrimitiveUP(D3DPT_LINESTRIP, kSegments, scene.Strip(strip), sizeof(LineVertex));
        if (++strip == kLineStrips) {
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

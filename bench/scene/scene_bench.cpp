// The viewer's own frame and reset with the real data files on the headless display (Mesa
// llvmpipe): RenderFrame for the default view and an elevated orbit at 1024 x 768 and
// 1920 x 1080; a window-size reset (CDrawDevice::Reset with a new back-buffer size, then the
// viewport, as a resize does); and the Earth texture's upload alone (Texture::Restore).
#include <benchmark/benchmark.h>

#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/texture.h"
#include "scene/camera.h"
#include "scene/render_frame.h"
#include "viewer_scene.h"

#include <memory>
#include <string>

namespace {

using quorvane::tests::CountingReader;
using quorvane::tests::ViewerScene;

const wchar_t earthName[] = L"mdl\\" QUORVANE_EARTH_IMAGE;

RefPtr<CountingReader> DataReader()
{
    const std::string data = QUORVANE_DATA_DIR;
    return new CountingReader(std::wstring(data.begin(), data.end()).c_str());
}

// One scene per window size for the whole run: starting it costs far more than a frame.
ViewerScene& SceneOfSize(UINT width, UINT height, RefPtr<CountingReader>* reader = nullptr)
{
    static std::unique_ptr<ViewerScene> scene;
    static RefPtr<CountingReader> sceneReader;
    if (!scene || scene->Width() != width || scene->Height() != height) {
        scene.reset();
        scene = std::make_unique<ViewerScene>(width, height);
        sceneReader = DataReader();
        scene->Initialize(sceneReader);
    }
    if (reader != nullptr)
        *reader = sceneReader;
    return *scene;
}

void RenderFrames(benchmark::State& state, bool elevated)
{
    const auto width = static_cast<UINT>(state.range(0));
    const auto height = static_cast<UINT>(state.range(1));
    SceneOfSize(width, height);
    if (SceneResources.sphereMesh == nullptr) {
        state.SkipWithError("the scene did not start (run the quorvane_data target)");
        return;
    }
    quorvane::tests::RestoreStartupState();
    if (elevated)
        DragOrbitCamera(30, 80);
    RenderFrame();  // the first frame compiles what it needs
    for (auto _ : state)
        RenderFrame();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    quorvane::tests::RestoreStartupState();
}

void BM_RenderFrameDefaultView(benchmark::State& state)
{
    RenderFrames(state, false);
}
void BM_RenderFrameElevatedOrbit(benchmark::State& state)
{
    RenderFrames(state, true);
}
// Wall time (llvmpipe rasterises on threads of its own) and the CPU time of the whole process.
BENCHMARK(BM_RenderFrameDefaultView)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();
BENCHMARK(BM_RenderFrameElevatedOrbit)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// A resize by one pixel and back: every reset drops and remakes the default-pool copies, the
// font's device resources and the swap chain, and decodes nothing.
void BM_ResizeReset(benchmark::State& state)
{
    RefPtr<CountingReader> reader;
    SceneOfSize(1024, 768, &reader);
    CDrawDevice* drawDevice = SceneResources.drawDevice;
    if (drawDevice == nullptr) {
        state.SkipWithError("the scene did not start");
        return;
    }
    const int decodesBefore = reader->Opens(earthName);
    UINT width = 1024;
    for (auto _ : state) {
        width = width == 1024 ? 1023 : 1024;
        drawDevice->presentParameters.BackBufferWidth = width;
        drawDevice->Reset();
        D3DVIEWPORT9 viewport{0, 0, width, 768, 0.0f, 1.0f};
        drawDevice->device->SetViewport(&viewport);
    }
    state.counters["decodes"] = double(reader->Opens(earthName) - decodesBefore);
}
BENCHMARK(BM_ResizeReset)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// The Earth's default-pool copy made again from its system-memory source: one texture creation
// and one surface copy of 2500 x 1250 pixels.
void BM_EarthTextureUpload(benchmark::State& state)
{
    SceneOfSize(1024, 768);
    Texture* earth = SceneResources.earthTexture;
    if (earth == nullptr) {
        state.SkipWithError("the scene did not start");
        return;
    }
    for (auto _ : state)
        earth->Restore();
    state.SetBytesProcessed(int64_t(state.iterations()) * 2500 * 1250 * 4);
}
BENCHMARK(BM_EarthTextureUpload)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

}  // namespace

// Present of a viewer-sized back buffer (1024 x 768) into its window, with only a clear between
// frames, so that the figure is the cost of showing a frame; and the read-back of the window's
// image that tests ask for.
#include <benchmark/benchmark.h>
#include <d3d9.h>
#include <quorvane_testing.h>

#include <vector>

#include "device_fixture.h"

namespace {

using quorvane::tests::DeviceFixture;

constexpr UINT backBufferWidth = 1024;
constexpr UINT backBufferHeight = 768;

void ClearAndPresent(IDirect3DDevice9* device, benchmark::State& state)
{
    static D3DCOLOR color = 0xFF000000;
    color ^= 0x00102030;  // a different picture every frame
    device->Clear(0, nullptr, D3DCLEAR_TARGET, color, 1.0f, 0);
    if (device->Present(nullptr, nullptr, nullptr, nullptr) != D3D_OK)
        state.SkipWithError("Present failed");
}

void BM_Present(benchmark::State& state)
{
    DeviceFixture headless(backBufferWidth, backBufferHeight);
    if (!headless.device()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    for (auto _ : state)
        ClearAndPresent(headless.device(), state);
    // Every frame must have reached the window: reading its image waits for all of them.
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    quorvane::test_controls::ReadWindowImage(headless.window(), width, height, pixels);
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Present)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PresentAndReadWindowImage(benchmark::State& state)
{
    DeviceFixture headless(backBufferWidth, backBufferHeight);
    if (!headless.device()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    for (auto _ : state) {
        ClearAndPresent(headless.device(), state);
        quorvane::test_controls::ReadWindowImage(headless.window(), width, height, pixels);
    }
}
BENCHMARK(BM_PresentAndReadWindowImage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

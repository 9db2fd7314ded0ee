// The two loads of the program's start-up, measured through D3DX on the headless device:
// the Earth image (D3DXCreateTextureFromFileInMemoryEx against tjDecompress2 alone on the
// same bytes into a buffer allocated once; the ratio of the two is printed and must stay at
// or below 1.15) and the sphere (parse, clone to 0x112, optimise for the vertex cache).
#include <benchmark/benchmark.h>
#include <d3dx9.h>
#include <turbojpeg.h>

#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <string>

#include "d3dx9/xfile/xfile_parser.h"
#include "device_fixture.h"
#include "program_data.h"

namespace {

// One window with a device on the headless display for the whole run.
struct Bench {
    quorvane::tests::DeviceFixture fixture{320, 240};
    IDirect3DDevice9* device = fixture.device();
    std::vector<std::uint8_t> earth = quorvane::tests::ReadDataFile(QUORVANE_EARTH_IMAGE);
    std::vector<std::uint8_t> sphere = quorvane::tests::ReadDataFile("sphere.x");
};

Bench& Shared()
{
    static Bench bench;
    return bench;
}

bool Ready(benchmark::State& state)
{
    if (Shared().device == nullptr || Shared().earth.empty() || Shared().sphere.empty()) {
        state.SkipWithError("no device or no data files (build quorvane_data)");
        return false;
    }
    return true;
}

// As the program loads the Earth texture: sizes 0, a full mip chain, system memory.
void BM_EarthImageThroughD3DX(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    const std::vector<std::uint8_t>& jpeg = Shared().earth;
    for (auto _ : state) {
        IDirect3DTexture9* texture = nullptr;
        const HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(Shared().device, jpeg.data(), UINT(jpeg.size()), 0, 0, 0,
                                                               0, D3DFMT_UNKNOWN, D3DPOOL_SYSTEMMEM, D3DX_DEFAULT,
                                                               D3DX_DEFAULT, 0, nullptr, nullptr, &texture);
        if (FAILED(hr)) {
            state.SkipWithError("D3DXCreateTextureFromFileInMemoryEx failed");
            return;
        }
        texture->Release();
    }
}
BENCHMARK(BM_EarthImageThroughD3DX)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The decode alone, into a buffer allocated once, with the same flags the decoder uses.
void BM_EarthImageTjDecompress2(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    const std::vector<std::uint8_t>& jpeg = Shared().earth;
    tjhandle handle = tjInitDecompress();
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling, &colorspace);
    std::vector<unsigned char> pixels(std::size_t(width) * height * 4);
    for (auto _ : state) {
        tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling, &colorspace);
        if (tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), width, 0, height, TJPF_BGRX,
                          TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
            state.SkipWithError("tjDecompress2 failed");
            break;
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}
BENCHMARK(BM_EarthImageTjDecompress2)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Both decodes alternately in each iteration, so that a change in the machine's load hits both
// alike: the ratio printed at the end comes from here.
void BM_EarthImageRatio(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    using Clock = std::chrono::steady_clock;
    const std::vector<std::uint8_t>& jpeg = Shared().earth;
    tjhandle handle = tjInitDecompress();
    std::vector<unsigned char> pixels(2500 * 1250 * 4);
    double d3dxSeconds = 0, aloneSeconds = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        IDirect3DTexture9* texture = nullptr;
        D3DXCreateTextureFromFileInMemoryEx(Shared().device, jpeg.data(), UINT(jpeg.size()), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                            D3DPOOL_SYSTEMMEM, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr,
                                            &texture);
        if (texture == nullptr) {
            state.SkipWithError("D3DXCreateTextureFromFileInMemoryEx failed");
            break;
        }
        texture->Release();
        const Clock::time_point middle = Clock::now();
        int width = 0, height = 0, subsampling = 0, colorspace = 0;
        tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling, &colorspace);
        tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), width, 0, height, TJPF_BGRX,
                      TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS);
        benchmark::DoNotOptimize(pixels.data());
        const Clock::time_point end = Clock::now();
        d3dxSeconds += std::chrono::duration<double>(middle - start).count();
        aloneSeconds += std::chrono::duration<double>(end - middle).count();
    }
    tjDestroy(handle);
    if (aloneSeconds > 0) {
        state.counters["ratio"] = d3dxSeconds / aloneSeconds;
    }
}
BENCHMARK(BM_EarthImageRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The sphere as the program prepares it, with the clone it would make for another format.
void BM_SphereLoadCloneOptimize(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    const std::vector<std::uint8_t>& file = Shared().sphere;
    IDirect3DDevice9* device = Shared().device;
    for (auto _ : state) {
        ID3DXMesh* loaded = nullptr;
        ID3DXBuffer* adjacency = nullptr;
        ID3DXBuffer* materials = nullptr;
        DWORD materialCount = 0;
        ID3DXMesh* clone = nullptr;
        ID3DXMesh* optimized = nullptr;
        if (FAILED(D3DXLoadMeshFromXInMemory(file.data(), DWORD(file.size()), D3DXMESH_SYSTEMMEM, device, &adjacency,
                                             &materials, nullptr, &materialCount, &loaded)) ||
            FAILED(loaded->CloneMeshFVF(loaded->GetOptions(), 0x112, device, &clone)) ||
            FAILED(clone->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM,
                                   static_cast<const DWORD*>(adjacency->GetBufferPointer()), nullptr, nullptr, nullptr,
                                   &optimized))) {
            state.SkipWithError("loading the sphere failed");
            return;
        }
        optimized->Release();
        clone->Release();
        materials->Release();
        adjacency->Release();
        loaded->Release();
    }
    state.counters["bytes"] = double(file.size());
}
BENCHMARK(BM_SphereLoadCloneOptimize)->Unit(benchmark::kMillisecond);

// The sphere's steps one at a time, each on the result of the step before made once outside
// the loop, so that the note can give a figure per step.
struct LoadedSphere {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;

    LoadedSphere()
    {
        const std::vector<std::uint8_t>& file = Shared().sphere;
        DWORD materialCount = 0;
        D3DXLoadMeshFromXInMemory(file.data(), DWORD(file.size()), D3DXMESH_SYSTEMMEM, Shared().device, &adjacency,
                                  &materials, nullptr, &materialCount, &mesh);
    }
    ~LoadedSphere()
    {
        for (IUnknown* object : std::initializer_list<IUnknown*>{mesh, adjacency, materials}) {
            if (object != nullptr) {
                object->Release();
            }
        }
    }
    LoadedSphere(const LoadedSphere&) = delete;
    LoadedSphere& operator=(const LoadedSphere&) = delete;
};

// D3DXLoadMeshFromXInMemory as the program calls it: adjacency and materials.
void BM_SphereLoad(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    for (auto _ : state) {
        const LoadedSphere loaded;
        if (loaded.mesh == nullptr) {
            state.SkipWithError("loading the sphere failed");
            return;
        }
    }
}
BENCHMARK(BM_SphereLoad)->Unit(benchmark::kMillisecond);

void BM_SphereClone(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    const LoadedSphere loaded;
    for (auto _ : state) {
        ID3DXMesh* clone = nullptr;
        if (loaded.mesh == nullptr ||
            FAILED(loaded.mesh->CloneMeshFVF(loaded.mesh->GetOptions(), 0x112, Shared().device, &clone))) {
            state.SkipWithError("cloning the sphere failed");
            return;
        }
        clone->Release();
    }
}
BENCHMARK(BM_SphereClone)->Unit(benchmark::kMillisecond);

// Optimize as the program calls it, on the loaded mesh with its adjacency; the face order the
// load started in the background is ready after the first call.
void BM_SphereOptimize(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    const LoadedSphere loaded;
    for (auto _ : state) {
        ID3DXMesh* optimized = nullptr;
        if (loaded.mesh == nullptr ||
            FAILED(loaded.mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM,
                                         static_cast<const DWORD*>(loaded.adjacency->GetBufferPointer()), nullptr,
                                         nullptr, nullptr, &optimized))) {
            state.SkipWithError("optimising the sphere failed");
            return;
        }
        optimized->Release();
    }
}
BENCHMARK(BM_SphereOptimize)->Unit(benchmark::kMillisecond);

// The X-file parser alone on the same bytes.
void BM_SphereParseOnly(benchmark::State& state)
{
    if (!Ready(state)) {
        return;
    }
    const std::vector<std::uint8_t>& file = Shared().sphere;
    for (auto _ : state) {
        quorvane::xfile::MeshDescription mesh;
        benchmark::DoNotOptimize(quorvane::xfile::ParseXFile(file.data(), file.size(), mesh));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(file.size()));
}
BENCHMARK(BM_SphereParseOnly)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time (the mean when repeated) so that the ratio can be printed after
// the run.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || mean)) {
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
                if (const auto ratio = run.counters.find("ratio"); ratio != run.counters.end()) {
                    ratios[run.run_name.function_name] = ratio->second.value;
                }
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
    std::map<std::string, double> ratios;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto d3dx = reporter.times.find("BM_EarthImageThroughD3DX");
    const auto alone = reporter.times.find("BM_EarthImageTjDecompress2");
    if (d3dx != reporter.times.end() && alone != reporter.times.end() && alone->second > 0) {
        std::printf("Earth image, separate runs: D3DX %.2f ms, tjDecompress2 %.2f ms, ratio %.3f\n", d3dx->second,
                    alone->second, d3dx->second / alone->second);
    }
    if (const auto ratio = reporter.ratios.find("BM_EarthImageRatio"); ratio != reporter.ratios.end()) {
        std::printf("Earth image: D3DXCreateTextureFromFileInMemoryEx / tjDecompress2 = %.3f (limit 1.15)%s\n",
                    ratio->second, ratio->second <= 1.15 ? "" : "  EXCEEDED");
    }
    benchmark::Shutdown();
    return 0;
}

// A thousand device losses and resets with the scene loaded: nothing leaks (LeakSanitizer checks
// at exit in the sanitized suite), memory does not grow, and no file is read or decoded again.
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/texture.h"
#include "temp_directory.h"
#include "viewer_data.h"
#include "viewer_scene.h"

#include <quorvane_testing.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>

#include <malloc.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of bytes in live allocations (not every compiler ships its
// header).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace quorvane::tests {
namespace {

// Bytes the program holds in allocations: the sanitizer allocator's count, or glibc's for its
// main arena and its mapped blocks. A leak shows here exactly.
long long HeapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
#endif
}

#if !defined(__SANITIZE_ADDRESS__)
// The resident set. Allocators take pages in steps and keep them, so it settles rather than
// staying flat; under AddressSanitizer freed blocks stay resident in its quarantine.
long long Resident()
{
    long long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}
#endif

TEST(ResetCycles, AThousandLossesAndResetsKeepMemoryFlatAndDecodeNothingAgain)
{
    TempDirectory dir;
    WriteSmallViewerData(dir.Path());
    ViewerScene scene(64, 48);
    RefPtr<CountingReader> reader = new CountingReader(dir.WidePath("Data").c_str());
    ASSERT_EQ(scene.Initialize(reader), S_OK);
    IDirect3DDevice9* device = SceneResources.drawDevice->device;
    const auto cycles = [&](int count) {
        for (int i = 0; i < count; ++i) {
            test_controls::LoseDevice(device);
            test_controls::MakeDeviceResettable(device);
            scene.Frame();
            ASSERT_EQ(device->TestCooperativeLevel(), D3D_OK) << i;
        }
    };
    // The first half lets the allocators' and the driver's pools settle; in the second nothing
    // may be kept: a hundred bytes per cycle would show in the heap, and the resident set takes
    // at most a few allocator steps.
    cycles(500);
    const long long heap = HeapInUse();
#if !defined(__SANITIZE_ADDRESS__)
    const long long resident = Resident();
#endif
    cycles(500);
    EXPECT_LT(HeapInUse() - heap, 50 * 1024);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(Resident() - resident, 4 << 20);
#endif
    EXPECT_EQ(reader->Opens(L"mdl\\sphere.x"), 1);
    EXPECT_EQ(reader->Opens(L"mdl\\" QUORVANE_EARTH_IMAGE), 1);
    EXPECT_NE(SceneResources.earthTexture->videoTexture, nullptr);
}

}  // namespace
}  // namespace quorvane::tests

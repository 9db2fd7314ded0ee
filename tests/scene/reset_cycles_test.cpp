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

#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/allocator_interface.h>
#endif

namespace quorvane::tests {
namespace {

// Memory in use: the allocator's live bytes under AddressSanitizer (whose quarantine keeps
// freed blocks resident for a while), the resident set otherwise.
long long MemoryInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#else
    long long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * 4096;
#endif
}

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
    // The first half lets the allocators' and the driver's pools settle (they grow in steps);
    // the second must not need more: a kilobyte kept per cycle would show.
    cycles(500);
    const long long settled = MemoryInUse();
    cycles(500);
    EXPECT_LT(MemoryInUse() - settled, 500 * 1024);
    EXPECT_EQ(reader->Opens(L"mdl\\sphere.x"), 1);
    EXPECT_EQ(reader->Opens(L"mdl\\EarthMap_2500x1250.jpg"), 1);
    EXPECT_NE(SceneResources.earthTexture->videoTexture, nullptr);
}

}  // namespace
}  // namespace quorvane::tests

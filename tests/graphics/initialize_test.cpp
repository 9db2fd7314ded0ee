// The start-up of the picture (CDrawDevice::Initialize) and the release of the scene, at run
// time and at process exit.
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/mesh.h"
#include "resources/texture.h"
#include "resources/texture_registry.h"
#include "temp_directory.h"
#include "viewer_data.h"
#include "viewer_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::tests {
namespace {

const std::wstring earthName = L"mdl\\" QUORVANE_EARTH_IMAGE;

ULONG References(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

// What a window shows before any frame: even a sphere without its texture would draw the
// Earth's image in white.
bool AllBlack(const std::vector<DWORD>& pixels)
{
    return !pixels.empty() && std::all_of(pixels.begin(), pixels.end(), [](DWORD p) { return p == 0xFF000000; });
}

class InitializeTest : public testing::Test {
protected:
    // The start-up's traces are read: they are written when asked for.
    void SetUp() override
    {
        setenv("QUORVANE_TRACE", "1", 1);
        WriteSmallViewerData(dir.Path());
    }
    void TearDown() override { unsetenv("QUORVANE_TRACE"); }
    RefPtr<CountingReader> Reader() const { return new CountingReader(dir.WidePath("Data").c_str()); }

    TempDirectory dir;
    ViewerScene scene{64, 48};
};

TEST_F(InitializeTest, RecordsTheDrawDeviceFontWhiteTextureSphereAndSharedEarthTexture)
{
    RefPtr<CountingReader> reader = Reader();
    testing::internal::CaptureStderr();
    ASSERT_EQ(scene.Initialize(reader), S_OK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDrawDevice::Initialize()\r\nSet Font\r\n");

    const SceneResourcesRecord& record = SceneResources;
    ASSERT_NE(record.drawDevice, nullptr);
    EXPECT_NE(record.font, nullptr);
    ASSERT_NE(record.whiteTexture, nullptr);
    EXPECT_TRUE(record.whiteTexture->key == TextureKey(1));
    EXPECT_EQ(record.whiteTexture->refCount, 1);
    ASSERT_NE(record.sphereMesh, nullptr);
    EXPECT_EQ(record.sphereMesh->refCount, 1);
    ASSERT_NE(record.earthTexture, nullptr);
    EXPECT_EQ(record.sphereMesh->textures, std::vector<Texture*>{record.earthTexture});
    EXPECT_EQ(record.earthTexture->refCount, 2);  // the record's and the sphere material's
    EXPECT_EQ(reader->Opens(earthName), 1);

    ReleaseSceneResources();
    EXPECT_EQ(record.drawDevice, nullptr);
    EXPECT_EQ(record.font, nullptr);
    EXPECT_EQ(record.earthTexture, nullptr);
    EXPECT_EQ(References(scene.Direct3D()), 1u);  // the device is gone
    ReleaseSceneResources();                      // an empty record: nothing to do
}

TEST_F(InitializeTest, TwiceLeavesOneOfEverything)
{
    ASSERT_EQ(scene.Initialize(Reader()), S_OK);
    const ULONG direct3DReferences = References(scene.Direct3D());
    const ULONG deviceReferences = References(SceneResources.drawDevice->device);
    ASSERT_EQ(scene.Initialize(Reader()), S_OK);

    const SceneResourcesRecord& record = SceneResources;
    EXPECT_EQ(References(scene.Direct3D()), direct3DReferences);         // one device
    EXPECT_EQ(References(record.drawDevice->device), deviceReferences);  // one font, one of each texture
    EXPECT_EQ(record.sphereMesh->refCount, 1);
    EXPECT_EQ(record.earthTexture->refCount, 2);
    EXPECT_EQ(record.whiteTexture->refCount, 1);
    EXPECT_EQ(record.drawDevice->FindTextureRegistry(L"default")->Textures().size(), 2u);
}

TEST_F(InitializeTest, WithoutTheEarthImageTheRestStaysAndNothingIsDrawn)
{
    std::filesystem::remove(dir.Path("Data/mdl/" QUORVANE_EARTH_IMAGE));
    EXPECT_EQ(scene.Initialize(Reader()), E_FAIL);
    const SceneResourcesRecord& record = SceneResources;
    EXPECT_NE(record.drawDevice, nullptr);
    EXPECT_NE(record.font, nullptr);
    EXPECT_NE(record.whiteTexture, nullptr);
    ASSERT_NE(record.sphereMesh, nullptr);
    EXPECT_EQ(record.earthTexture, nullptr);
    EXPECT_EQ(record.sphereMesh->textures, std::vector<Texture*>{nullptr});
    EXPECT_TRUE(AllBlack(scene.Frame()));
}

TEST_F(InitializeTest, WithoutTheSphereNeitherSphereNorEarthIsLoaded)
{
    std::filesystem::remove(dir.Path("Data/mdl/sphere.x"));
    RefPtr<CountingReader> reader = Reader();
    EXPECT_EQ(scene.Initialize(reader), E_FAIL);
    EXPECT_NE(SceneResources.whiteTexture, nullptr);
    EXPECT_EQ(SceneResources.sphereMesh, nullptr);
    EXPECT_EQ(SceneResources.earthTexture, nullptr);
    EXPECT_EQ(reader->Opens(earthName), 0);
    EXPECT_TRUE(AllBlack(scene.Frame()));
}

TEST_F(InitializeTest, ADeviceThatCannotBeCreatedLeavesNothing)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(CDrawDevice::Initialize(scene.Window(), WindowPresentParameters(scene.Window()), Reader(), nullptr, false,
                                      false),
              E_INVALIDARG);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "CDrawDevice::Initialize()\r\n");
    EXPECT_EQ(SceneResources.drawDevice, nullptr);
    EXPECT_EQ(SceneResources.font, nullptr);
}

// Which steps a start-up reports done, and which failed, with one data file missing or none.
TEST_F(InitializeTest, ReportsEveryStepDoneAndTheOneThatFailed)
{
    using enum StartupStep;
    const struct {
        const char* missing;
        std::vector<StartupStep> done;
        std::optional<StartupStep> failed;
    } cases[] = {
        {nullptr, {Device, Font, WhiteTexture, Sphere, EarthTexture}, std::nullopt},
        {"Data/mdl/" QUORVANE_EARTH_IMAGE, {Device, Font, WhiteTexture, Sphere}, EarthTexture},
        {"Data/mdl/sphere.x", {Device, Font, WhiteTexture}, Sphere},
    };
    for (const auto& c : cases) {
        if (c.missing != nullptr)
            std::filesystem::remove(dir.Path(c.missing));
        std::vector<StartupStep> done;
        StartupProgress progress{[&done](StartupStep step) { done.push_back(step); }, std::nullopt};
        EXPECT_EQ(SUCCEEDED(scene.Initialize(Reader(), &progress)), !c.failed.has_value());
        EXPECT_EQ(done, c.done) << (c.missing ? c.missing : "none missing");
        EXPECT_EQ(progress.failed, c.failed) << (c.missing ? c.missing : "none missing");
    }
    StartupProgress progress;
    EXPECT_EQ(CDrawDevice::Initialize(scene.Window(), WindowPresentParameters(scene.Window()), Reader(), nullptr, false,
                                      false, &progress),
              E_INVALIDARG);
    EXPECT_EQ(progress.failed, Device);
}

// The scene still loaded when the process exits is released by the record's destructor, after
// the platform's own singletons would have gone: the driver, the device list and the font
// library must still answer then.
TEST(SceneAtExit, IsReleasedCleanlyByTheRecordsDestructor)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TempDirectory dir;
            WriteSmallViewerData(dir.Path());
            TestWindow window(32, 32);
            IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
            const HRESULT hr =
                CDrawDevice::Initialize(window.Handle(), WindowPresentParameters(window.Handle()),
                                        new CFileReader4(dir.WidePath("Data").c_str()), direct3D, false, false);
            std::filesystem::remove_all(dir.Path());
            direct3D->Release();  // the device keeps its own reference
            std::exit(hr == S_OK && SceneResources.font != nullptr ? 3 : 4);
        },
        testing::ExitedWithCode(3), "");
}

}  // namespace
}  // namespace quorvane::tests

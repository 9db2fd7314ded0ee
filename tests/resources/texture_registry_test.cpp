// Textures: shared by key, decoded once, deleted at the last release, and a default-pool copy
// that is dropped on device loss and made again after the reset.
#include "graphics/scene_resources.h"
#include "resources/texture_registry.h"
#include "temp_directory.h"
#include "viewer_data.h"
#include "viewer_scene.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::tests {
namespace {

class TextureRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteDataFile(dir.Path(), "Data/a.jpg", StandInEarthImage());
        WriteDataFile(dir.Path(), "Data/b.jpg", StandInEarthImage());
        WriteDataFile(dir.Path(), "Data/A.jpg", StandInEarthImage());
        WriteDataFile(dir.Path(), "Data/notimage.jpg", "this is text, not an image");
        WriteDataFile(dir.Path(), "Data/empty.jpg", "");
        ASSERT_EQ(device.openResult, S_OK);
        ASSERT_NE(registry, nullptr);
    }

    TempDirectory dir;
    RefPtr<CountingReader> reader = new CountingReader(dir.WidePath("Data").c_str());
    OpenDrawDevice device{32, 32, reader};
    TextureRegistry* registry = device.drawDevice.FindTextureRegistry(L"default");
};

TEST_F(TextureRegistryTest, ATextureIsSharedByFileNameDecodedOnceAndDeletedAtTheLastRelease)
{
    Texture* first = nullptr;
    Texture* second = nullptr;
    ASSERT_TRUE(registry->Get(L"a.jpg", &first));
    ASSERT_TRUE(registry->Get(L"a.jpg", &second));
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->refCount, 2);
    EXPECT_EQ(reader->Opens(L"a.jpg"), 1);

    first->Release();
    EXPECT_EQ(registry->Textures().count(std::wstring(L"a.jpg")), 1u);
    second->Release();
    EXPECT_TRUE(registry->Textures().empty());
}

TEST_F(TextureRegistryTest, FileNamesThatDifferInCaseAreDifferentTextures)
{
    Texture* lower = nullptr;
    Texture* upper = nullptr;
    ASSERT_TRUE(registry->Get(L"a.jpg", &lower));
    ASSERT_TRUE(registry->Get(L"A.jpg", &upper));
    EXPECT_NE(lower, upper);
    EXPECT_EQ(device.drawDevice.GetTexture(L"Default", L"a.jpg", &lower), 0);  // set names too
}

TEST_F(TextureRegistryTest, FilesThatCannotBeHadOrDecodedMakeNoTexture)
{
    for (const wchar_t* name : {L"missing.jpg", L"notimage.jpg", L"empty.jpg"}) {
        Texture* texture = nullptr;
        EXPECT_FALSE(registry->Get(name, &texture)) << name;
        EXPECT_EQ(texture, nullptr);
    }
    EXPECT_TRUE(registry->Textures().empty());
    EXPECT_FALSE(registry->Get(L"a.jpg", nullptr));
}

TEST_F(TextureRegistryTest, WhiteTexturesAreNumberedInOrderAfterEveryFileTexture)
{
    Texture* white1 = nullptr;
    Texture* white2 = nullptr;
    Texture* file = nullptr;
    ASSERT_TRUE(CreateDefaultTexture(&device.drawDevice, &white1));
    ASSERT_TRUE(registry->Get(L"b.jpg", &file));
    ASSERT_TRUE(CreateDefaultTexture(&device.drawDevice, &white2));
    ASSERT_TRUE(registry->Get(L"a.jpg", &file));
    EXPECT_NE(white1, white2);

    std::vector<TextureKey> keys;
    for (const auto& entry : registry->Textures())
        keys.push_back(entry.first);
    const std::vector<TextureKey> expected{std::wstring(L"a.jpg"), std::wstring(L"b.jpg"), 1, 2};
    EXPECT_TRUE(keys == expected);
    EXPECT_TRUE(white1->key == TextureKey(1));
    EXPECT_TRUE(white2->key == TextureKey(2));

    D3DSURFACE_DESC desc{};
    ASSERT_EQ(white1->sourceTexture->GetLevelDesc(0, &desc), D3D_OK);
    EXPECT_EQ(desc.Width, 1u);
    EXPECT_EQ(desc.Height, 1u);
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(white1->sourceTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<const DWORD*>(locked.pBits), 0xFFFFFFFFu);
    white1->sourceTexture->UnlockRect(0);
}

TEST_F(TextureRegistryTest, LossDropsTheDefaultPoolCopyAndTheResetMakesItAgainWithoutDecoding)
{
    Texture* texture = nullptr;
    ASSERT_TRUE(registry->Get(L"a.jpg", &texture));
    ASSERT_NE(texture->videoTexture, nullptr);
    EXPECT_EQ(texture->DrawTexture(), texture->videoTexture);

    registry->OnLostDevice();
    EXPECT_EQ(texture->videoTexture, nullptr);
    EXPECT_EQ(texture->DrawTexture(), texture->sourceTexture);
    registry->OnLostDevice();  // again, without a copy: harmless
    EXPECT_EQ(device.drawDevice.device->Reset(&device.drawDevice.presentParameters), D3D_OK);

    registry->OnResetDevice();
    ASSERT_NE(texture->videoTexture, nullptr);
    D3DSURFACE_DESC source{};
    D3DSURFACE_DESC video{};
    texture->sourceTexture->GetLevelDesc(0, &source);
    texture->videoTexture->GetLevelDesc(0, &video);
    EXPECT_EQ(video.Width, source.Width);
    EXPECT_EQ(video.Height, source.Height);
    EXPECT_EQ(video.Format, source.Format);
    EXPECT_EQ(video.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(texture->videoTexture->GetLevelCount(), 1u);
    EXPECT_EQ(reader->Opens(L"a.jpg"), 1);
}

TEST_F(TextureRegistryTest, ADefaultPoolSourceIsRefused)
{
    IDirect3DDevice9* d3dDevice = device.drawDevice.device;
    IDirect3DTexture9* video = nullptr;
    ASSERT_EQ(d3dDevice->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &video, nullptr), D3D_OK);
    Texture* texture = nullptr;
    EXPECT_EQ(Texture::Create(video, registry, &texture, 7), E_FAIL);
    EXPECT_EQ(texture, nullptr);
    video->Release();

    IDirect3DTexture9* source = nullptr;
    ASSERT_EQ(d3dDevice->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr), D3D_OK);
    EXPECT_EQ(Texture::Create(source, registry, &texture, 7), S_FALSE);
    EXPECT_EQ(Texture::Create(nullptr, registry, &texture, 8), E_INVALIDARG);
    source->Release();
    ASSERT_NE(texture, nullptr);
    EXPECT_NE(texture->videoTexture, nullptr);
    ASSERT_TRUE(registry->Insert(texture));
    EXPECT_FALSE(registry->Insert(texture));  // the key is taken
}

}  // namespace
}  // namespace quorvane::tests

// Meshes: loaded from X files into the drawn format, shared by name, their textures taken from
// the texture registry of the same set, and deleted at the last release.
#include "resources/mesh_registry.h"
#include "resources/texture.h"
#include "resources/texture_registry.h"
#include "temp_directory.h"
#include "viewer_data.h"
#include "viewer_scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace quorvane::tests {
namespace {

// A square of two triangles without normals, materials or texture coordinates.
const char squareWithoutNormals[] = R"(xof 0302txt 0032
Mesh {
 4;
 -1.0;-1.0;0.0;, -1.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;-1.0;0.0;;
 2;
 3;0,1,2;, 3;0,2,3;;
}
)";

// The same square with one material per triangle, naming textures that cannot be had: a file
// that does not exist and one that is not an image.
const char squareWithUnusableTextures[] = R"(xof 0302txt 0032
Mesh {
 4;
 -1.0;-1.0;0.0;, -1.0;1.0;0.0;, 1.0;1.0;0.0;, 1.0;-1.0;0.0;;
 2;
 3;0,1,2;, 3;0,2,3;;
 MeshMaterialList {
  2; 2; 0, 1;;
  Material { 1.0;0.5;0.25;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "missing.jpg"; } }
  Material { 0.5;0.5;0.5;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; TextureFilename { "notimage.jpg"; } }
 }
}
)";

class MeshRegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteSmallViewerData(dir.Path());
        WriteDataFile(dir.Path(), "Data/plain.x", squareWithoutNormals);
        WriteDataFile(dir.Path(), "Data/mdl/unusable.x", squareWithUnusableTextures);
        WriteDataFile(dir.Path(), "Data/mdl/notimage.jpg", "not an image");
        WriteDataFile(dir.Path(), "Data/rootsphere.x", SphereXFile(8, 4, "root.jpg"));
        WriteDataFile(dir.Path(), "Data/root.jpg", StandInEarthImage());
        WriteDataFile(dir.Path(), "Data/garbage.x", "xof 0302txt 0032 Mesh { 4; nonsense");
        ASSERT_EQ(device.openResult, S_OK);
    }

    MeshRegistry* meshes() { return device.drawDevice.FindMeshRegistry(L"default"); }
    TextureRegistry* textures() { return device.drawDevice.FindTextureRegistry(L"default"); }

    TempDirectory dir;
    RefPtr<CountingReader> reader = new CountingReader(dir.WidePath("Data").c_str());
    OpenDrawDevice device{32, 32, reader};
};

TEST_F(MeshRegistryTest, AMeshIsSharedByNameAndDeletedAtTheLastRelease)
{
    Mesh* first = nullptr;
    Mesh* second = nullptr;
    ASSERT_TRUE(device.drawDevice.GetSphereMesh(L"default", &first));
    ASSERT_TRUE(device.drawDevice.GetSphereMesh(L"default", &second));
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->refCount, 2);
    EXPECT_EQ(reader->Opens(L"mdl\\sphere.x"), 1);
    EXPECT_FALSE(device.drawDevice.GetSphereMesh(L"Default", &first));

    first->Release();
    Texture* earth = nullptr;
    ASSERT_TRUE(device.drawDevice.GetTexture(L"default", L"mdl\\" QUORVANE_EARTH_IMAGE, &earth));
    EXPECT_EQ(earth->refCount, 2);
    second->Release();
    EXPECT_EQ(earth->refCount, 1);  // the mesh gave back its one reference; the texture stays
    EXPECT_EQ(textures()->Textures().size(), 1u);
    earth->Release();
    EXPECT_TRUE(textures()->Textures().empty());
}

TEST_F(MeshRegistryTest, TheSphereLoadsInTheDrawnFormatAndSharesTheEarthTexture)
{
    Mesh* sphere = nullptr;
    ASSERT_TRUE(device.drawDevice.GetSphereMesh(L"default", &sphere));
    ASSERT_NE(sphere->drawMesh, nullptr);
    EXPECT_EQ(sphere->drawMesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(sphere->drawMesh->GetOptions() & D3DXMESH_SYSTEMMEM, DWORD(D3DXMESH_SYSTEMMEM));
    ASSERT_EQ(sphere->materialCount, 1u);
    EXPECT_EQ(sphere->textureNames[0], QUORVANE_EARTH_IMAGE);
    ASSERT_EQ(sphere->textures.size(), 1u);

    Texture* earth = nullptr;
    ASSERT_TRUE(device.drawDevice.GetTexture(L"default", L"mdl\\" QUORVANE_EARTH_IMAGE, &earth));
    EXPECT_EQ(sphere->textures[0], earth);
    EXPECT_EQ(reader->Opens(L"mdl\\" QUORVANE_EARTH_IMAGE), 1);
    EXPECT_EQ(sphere->DrawTextured(&device.drawDevice), S_OK);
    EXPECT_EQ(sphere->DrawTextured(nullptr), E_INVALIDARG);
}

TEST_F(MeshRegistryTest, ANameWithoutABackslashFindsItsTexturesByTheirBareNames)
{
    Mesh* mesh = nullptr;
    ASSERT_TRUE(meshes()->Get(L"rootsphere.x", &mesh));
    ASSERT_EQ(mesh->textures.size(), 1u);
    ASSERT_NE(mesh->textures[0], nullptr);
    EXPECT_TRUE(mesh->textures[0]->key == TextureKey(std::wstring(L"root.jpg")));
}

TEST_F(MeshRegistryTest, TexturesThatCannotBeHadLeaveEmptySlotsAndTheMeshDraws)
{
    Mesh* mesh = nullptr;
    ASSERT_TRUE(meshes()->Get(L"mdl\\unusable.x", &mesh));
    ASSERT_EQ(mesh->materialCount, 2u);
    EXPECT_EQ(mesh->textures, (std::vector<Texture*>{nullptr, nullptr}));
    EXPECT_TRUE(textures()->Textures().empty());
    EXPECT_EQ(reader->Opens(L"mdl\\notimage.jpg"), 1);
    // Ambient is drawn equal to diffuse.
    EXPECT_FLOAT_EQ(mesh->materials[0].Ambient.g, 0.5f);
    EXPECT_FLOAT_EQ(mesh->materials[0].Ambient.b, 0.25f);
    EXPECT_EQ(mesh->DrawTextured(&device.drawDevice), S_OK);
    EXPECT_EQ(mesh->DrawFlat(&device.drawDevice, D3DCOLORVALUE{1, 1, 1, 1}), S_OK);
}

TEST_F(MeshRegistryTest, AFileWithoutNormalsOrMaterialsGetsComputedNormalsAndDrawsNothing)
{
    Mesh* mesh = nullptr;
    ASSERT_TRUE(meshes()->Get(L"plain.x", &mesh));
    EXPECT_EQ(mesh->materialCount, 0u);
    EXPECT_TRUE(mesh->textures.empty());
    ASSERT_EQ(mesh->drawMesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    struct Vertex {
        float position[3], normal[3], uv[2];
    };
    void* data = nullptr;
    ASSERT_EQ(mesh->drawMesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    const auto* vertices = static_cast<const Vertex*>(data);
    for (DWORD i = 0; i < mesh->drawMesh->GetNumVertices(); ++i) {
        // The square lies in z = 0: its normals are +z or -z, of unit length.
        EXPECT_NEAR(std::fabs(vertices[i].normal[2]), 1.0f, 1e-5f) << i;
    }
    mesh->drawMesh->UnlockVertexBuffer();
    EXPECT_EQ(mesh->DrawTextured(&device.drawDevice), S_OK);
}

TEST_F(MeshRegistryTest, FilesThatCannotBeLoadedMakeNoMesh)
{
    for (const wchar_t* name : {L"missing.x", L"garbage.x", L"mdl\\notimage.jpg"}) {
        Mesh* mesh = nullptr;
        EXPECT_FALSE(meshes()->Get(name, &mesh)) << name;
        EXPECT_EQ(mesh, nullptr);
    }
    EXPECT_TRUE(meshes()->Meshes().empty());
}

// A name of 260 units is refused, even where its first 259 units name a file that loads.
TEST(MeshRegistryNames, NamesOfMaxPathUnitsOrMoreAreRefusedNotTruncated)
{
    TempDirectory dir;
    std::string name(100, 'a');
    name += '/' + std::string(100, 'b') + '/' + std::string(57, 'c');
    ASSERT_EQ(name.size(), 259u);
    WriteDataFile(dir.Path(), name, SphereXFile(8, 4, "none.jpg"));
    std::wstring wide(name.begin(), name.end());
    wide[100] = L'\\';
    wide[201] = L'\\';

    CurrentDirectoryScope inside(dir.Path());
    OpenDrawDevice device{32, 32, nullptr};  // no reader: names are paths from here
    ASSERT_EQ(device.openResult, S_OK);
    MeshRegistry* registry = device.drawDevice.FindMeshRegistry(L"default");
    Mesh* mesh = nullptr;
    EXPECT_TRUE(registry->Get(wide.c_str(), &mesh));
    Mesh* longer = nullptr;
    EXPECT_FALSE(registry->Get((wide + L"d").c_str(), &longer));
    EXPECT_EQ(longer, nullptr);
}

}  // namespace
}  // namespace quorvane::tests

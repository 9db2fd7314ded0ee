// D3DXLoadMeshFromXInMemory, ID3DXMesh and D3DXComputeNormals on the headless device.
#include <d3dx9.h>
#include <d3dx9xof.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>

#include "device_test.h"
#include "sphere_x_writer.h"
#include "uv_sphere.h"
#include "xfile_writer.h"

namespace quorvane::tests {
namespace {

struct Vertex112 {
    float position[3];
    float normal[3];
    float uv[2];
};
static_assert(sizeof(Vertex112) == 32);

// Out values of one load, released with the fixture.
struct Loaded {
    ID3DXMesh* mesh = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD materialCount = 0;

    ~Loaded()
    {
        for (IUnknown* object :
             {static_cast<IUnknown*>(mesh), static_cast<IUnknown*>(adjacency), static_cast<IUnknown*>(materials)}) {
            if (object != nullptr) {
                object->Release();
            }
        }
    }
    const D3DXMATERIAL& Material(DWORD i) const
    {
        return static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer())[i];
    }
};

// A square pyramid: four side triangles and a square base written as one quad, two materials
// (sides inline with a texture, base by reference), optionally with one normal per face.
std::vector<std::uint8_t> Pyramid(XEncoding encoding, bool withNormals)
{
    XFileWriter x(encoding);
    x.Begin("Material", "Base").Floats({0.2f, 0.4f, 0.6f, 1}).Floats({16}).Floats({0.5f, 0.5f, 0.5f}).Floats({0, 0, 0});
    x.End();
    x.Begin("Mesh", "Pyramid");
    x.Dwords({5}).Floats({-1, 0, -1, 1, 0, -1, 1, 0, 1, -1, 0, 1, 0, 1, 0});
    // Clockwise seen from outside (left-handed).
    x.Dwords({5}).Dwords({3, 4, 1, 0}).Dwords({3, 4, 2, 1}).Dwords({3, 4, 3, 2}).Dwords({3, 4, 0, 3});
    x.Dwords({4, 0, 1, 2, 3});
    if (withNormals) {
        const float s = std::sqrt(0.5f);
        x.Begin("MeshNormals").Dwords({5}).Floats({0, s, -s, s, s, 0, 0, s, s, -s, s, 0, 0, -1, 0});
        x.Dwords({5}).Dwords({3, 0, 0, 0}).Dwords({3, 1, 1, 1}).Dwords({3, 2, 2, 2}).Dwords({3, 3, 3, 3});
        x.Dwords({4, 4, 4, 4, 4}).End();
    }
    x.Begin("MeshTextureCoords").Dwords({5}).Floats({0, 0, 1, 0, 1, 1, 0, 1, 0.5f, 0.5f}).End();
    x.Begin("MeshMaterialList").Dwords({2}).Dwords({5}).Dwords({0, 0, 0, 0, 1});
    x.Begin("Material", "Sides")
        .Floats({1, 0.5f, 0.25f, 0.75f})
        .Floats({8})
        .Floats({0.1f, 0.2f, 0.3f})
        .Floats({0.4f, 0.5f, 0.6f});
    x.Begin("TextureFilename").String("sides.jpg").End();
    x.End();
    x.Reference("Base");
    x.End();
    x.End();
    return x.bytes();
}

class MeshTest : public DeviceTest {
protected:
    HRESULT Load(const std::vector<std::uint8_t>& bytes, Loaded& out)
    {
        return D3DXLoadMeshFromXInMemory(bytes.data(), DWORD(bytes.size()), D3DXMESH_SYSTEMMEM, device(),
                                         &out.adjacency, &out.materials, nullptr, &out.materialCount, &out.mesh);
    }

    template <typename T>
    static std::vector<T> Vertices(ID3DXBaseMesh* mesh)
    {
        void* data = nullptr;
        EXPECT_EQ(mesh->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        const auto* first = static_cast<const T*>(data);
        std::vector<T> vertices(first, first + mesh->GetNumVertices());
        mesh->UnlockVertexBuffer();
        return vertices;
    }

    static std::vector<std::uint32_t> Indices(ID3DXBaseMesh* mesh)
    {
        void* data = nullptr;
        EXPECT_EQ(mesh->LockIndexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        std::vector<std::uint32_t> indices(mesh->GetNumFaces() * 3);
        if (mesh->GetOptions() & D3DXMESH_32BIT) {
            std::memcpy(indices.data(), data, indices.size() * 4);
        } else {
            const auto* narrow = static_cast<const std::uint16_t*>(data);
            std::copy(narrow, narrow + indices.size(), indices.begin());
        }
        mesh->UnlockIndexBuffer();
        return indices;
    }

    static std::vector<DWORD> Attributes(ID3DXMesh* mesh)
    {
        DWORD* data = nullptr;
        EXPECT_EQ(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &data), D3D_OK);
        std::vector<DWORD> attributes(data, data + mesh->GetNumFaces());
        mesh->UnlockAttributeBuffer();
        return attributes;
    }

    // Each triangle as its three positions, for comparing meshes whose numbering differs.
    static std::multiset<std::vector<float>> Triangles(ID3DXMesh* mesh)
    {
        const std::vector<Vertex112> vertices = Vertices<Vertex112>(mesh);
        const std::vector<std::uint32_t> indices = Indices(mesh);
        std::multiset<std::vector<float>> triangles;
        for (std::size_t f = 0; f < indices.size(); f += 3) {
            std::vector<float> corners;
            for (int c = 0; c < 3; ++c) {
                const Vertex112& v = vertices[indices[f + c]];
                corners.insert(corners.end(), {v.position[0], v.position[1], v.position[2], v.uv[0], v.uv[1]});
            }
            triangles.insert(corners);
        }
        return triangles;
    }
};

TEST_F(MeshTest, TextAndBinaryFilesGiveTheSameMesh)
{
    Loaded text;
    ASSERT_EQ(Load(Pyramid(XEncoding::text, true), text), D3D_OK);
    for (XEncoding encoding : {XEncoding::binary32, XEncoding::binary64}) {
        Loaded binary;
        ASSERT_EQ(Load(Pyramid(encoding, true), binary), D3D_OK);
        EXPECT_EQ(binary.mesh->GetFVF(), text.mesh->GetFVF());
        ASSERT_EQ(binary.mesh->GetNumVertices(), text.mesh->GetNumVertices());
        const auto a = Vertices<Vertex112>(text.mesh);
        const auto b = Vertices<Vertex112>(binary.mesh);
        EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(Vertex112)), 0);
        EXPECT_EQ(Indices(binary.mesh), Indices(text.mesh));
        EXPECT_EQ(Attributes(binary.mesh), Attributes(text.mesh));
        ASSERT_EQ(binary.materialCount, text.materialCount);
        EXPECT_STREQ(binary.Material(0).pTextureFilename, text.Material(0).pTextureFilename);
    }
}

TEST_F(MeshTest, FileWithNormalsAndTextureCoordinatesLoadsInFormat0x112WithItsOwnNormals)
{
    Loaded loaded;
    ASSERT_EQ(Load(Pyramid(XEncoding::text, true), loaded), D3D_OK);
    EXPECT_EQ(loaded.mesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(loaded.mesh->GetFVF(), 0x112u);
    EXPECT_EQ(loaded.mesh->GetNumBytesPerVertex(), 32u);
    EXPECT_EQ(loaded.mesh->GetOptions(), DWORD(D3DXMESH_SYSTEMMEM));
    EXPECT_EQ(loaded.mesh->GetNumFaces(), 6u);  // four sides, the base quad as two triangles
    // Every vertex carries exactly one of the file's face normals (not a smoothed average).
    const float s = std::sqrt(0.5f);
    const std::vector<std::vector<float>> fileNormals = {{0, s, -s}, {s, s, 0}, {0, s, s}, {-s, s, 0}, {0, -1, 0}};
    for (const Vertex112& v : Vertices<Vertex112>(loaded.mesh)) {
        const std::vector<float> n(v.normal, v.normal + 3);
        EXPECT_NE(std::find(fileNormals.begin(), fileNormals.end(), n), fileNormals.end());
    }
    // The apex has four normals, each base corner three (two sides and the base): 4 + 4 * 3.
    EXPECT_EQ(loaded.mesh->GetNumVertices(), 16u);
}

TEST_F(MeshTest, FileWithoutNormalsGetsComputedOnesAfterCloningTo0x112)
{
    Loaded loaded;
    ASSERT_EQ(Load(Pyramid(XEncoding::text, false), loaded), D3D_OK);
    EXPECT_EQ(loaded.mesh->GetFVF(), DWORD(D3DFVF_XYZ | D3DFVF_TEX1));
    ID3DXMesh* clone = nullptr;
    ASSERT_EQ(loaded.mesh->CloneMeshFVF(loaded.mesh->GetOptions(), 0x112, device(), &clone), D3D_OK);
    std::vector<Vertex112> before = Vertices<Vertex112>(clone);
    for (const Vertex112& v : before) {
        EXPECT_EQ(v.normal[0] * v.normal[0] + v.normal[1] * v.normal[1] + v.normal[2] * v.normal[2], 0.0f);
    }
    ASSERT_EQ(D3DXComputeNormals(clone, nullptr), D3D_OK);
    const std::vector<Vertex112> after = Vertices<Vertex112>(clone);
    ASSERT_EQ(after.size(), 5u);
    // The apex (vertex 4) averages four equal-angle sides: straight up.
    EXPECT_NEAR(after[4].normal[0], 0.0f, 1e-6);
    EXPECT_NEAR(after[4].normal[1], 1.0f, 1e-6);
    for (const Vertex112& v : after) {
        const float length =
            std::sqrt(v.normal[0] * v.normal[0] + v.normal[1] * v.normal[1] + v.normal[2] * v.normal[2]);
        EXPECT_NEAR(length, 1.0f, 1e-5);
        // Outwards: a base corner's normal points away from the axis and downwards (base
        // weight), never inwards.
        EXPECT_GT(v.normal[0] * v.position[0] + v.normal[2] * v.position[2] + v.normal[1] * (v.position[1] - 0.3f),
                  0.0f);
        // Texture coordinates came through the clone.
        EXPECT_GE(v.uv[0], 0.0f);
    }
    EXPECT_EQ(after[2].uv[0], 1.0f);
    EXPECT_EQ(after[2].uv[1], 1.0f);
    EXPECT_EQ(D3DXComputeNormals(loaded.mesh, nullptr), D3DERR_INVALIDCALL);  // no normals to fill
    clone->Release();
}

TEST_F(MeshTest, MaterialsComeOnePerSubsetInDeclarationOrderWithAmbientLeftBlack)
{
    Loaded loaded;
    ASSERT_EQ(Load(Pyramid(XEncoding::text, true), loaded), D3D_OK);
    ASSERT_EQ(loaded.materialCount, 2u);
    ASSERT_GE(loaded.materials->GetBufferSize(), 2 * sizeof(D3DXMATERIAL));
    const D3DMATERIAL9& sides = loaded.Material(0).MatD3D;
    EXPECT_EQ(sides.Diffuse.r, 1.0f);
    EXPECT_EQ(sides.Diffuse.g, 0.5f);
    EXPECT_EQ(sides.Diffuse.b, 0.25f);
    EXPECT_EQ(sides.Diffuse.a, 0.75f);
    EXPECT_EQ(sides.Ambient.r, 0.0f);  // X files carry no ambient colour; the program sets it
    EXPECT_EQ(sides.Ambient.g, 0.0f);
    EXPECT_EQ(sides.Ambient.b, 0.0f);
    EXPECT_EQ(sides.Power, 8.0f);
    EXPECT_EQ(sides.Specular.b, 0.3f);
    EXPECT_EQ(sides.Emissive.g, 0.5f);
    EXPECT_STREQ(loaded.Material(0).pTextureFilename, "sides.jpg");
    EXPECT_EQ(loaded.Material(1).MatD3D.Diffuse.b, 0.6f);
    EXPECT_EQ(loaded.Material(1).MatD3D.Power, 16.0f);
    EXPECT_EQ(loaded.Material(1).pTextureFilename, nullptr);
    EXPECT_EQ(Attributes(loaded.mesh), (std::vector<DWORD>{0, 0, 0, 0, 1, 1}));
}

TEST_F(MeshTest, OptimizeSortsSubsetsIntoAnAttributeTableAndKeepsEveryTriangle)
{
    // Interleaved materials: faces 0, 2, 4 use material 1.
    XFileWriter x(XEncoding::text);
    x.Begin("Mesh").Dwords({8}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0, 2, 1, 0, 3, 0, 0, 9, 9, 9});
    x.Dwords({5})
        .Dwords({3, 0, 3, 2})
        .Dwords({3, 0, 2, 1})
        .Dwords({3, 1, 2, 5})
        .Dwords({3, 1, 5, 4})
        .Dwords({3, 4, 5, 6});
    x.Begin("MeshNormals").Dwords({1}).Floats({0, 0, -1}).Dwords({5});
    for (int i = 0; i < 5; ++i) {
        x.Dwords({3, 0, 0, 0});
    }
    x.End();
    x.Begin("MeshTextureCoords").Dwords({8}).Floats(std::vector<float>(16, 0.5f)).End();
    x.Begin("MeshMaterialList").Dwords({2}).Dwords({5}).Dwords({1, 0, 1, 0, 1});
    x.Begin("Material").Floats({1, 0, 0, 1}).Floats({0}).Floats({0, 0, 0}).Floats({0, 0, 0}).End();
    x.Begin("Material").Floats({0, 1, 0, 1}).Floats({0}).Floats({0, 0, 0}).Floats({0, 0, 0}).End();
    x.End().End();
    Loaded loaded;
    ASSERT_EQ(Load(x.bytes(), loaded), D3D_OK);
    DWORD tableSize = 99;
    ASSERT_EQ(loaded.mesh->GetAttributeTable(nullptr, &tableSize), D3D_OK);
    EXPECT_EQ(tableSize, 0u);  // not sorted yet

    ID3DXMesh* optimized = nullptr;
    DWORD faceRemap[5] = {};
    ID3DXBuffer* vertexRemap = nullptr;
    ASSERT_EQ(loaded.mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM,
                                    static_cast<const DWORD*>(loaded.adjacency->GetBufferPointer()), nullptr, faceRemap,
                                    &vertexRemap, &optimized),
              D3D_OK);
    EXPECT_EQ(optimized->GetOptions(), DWORD(D3DXMESH_SYSTEMMEM));
    EXPECT_EQ(optimized->GetNumVertices(), 7u);  // the unused vertex (9, 9, 9) is dropped
    EXPECT_EQ(Attributes(optimized), (std::vector<DWORD>{0, 0, 1, 1, 1}));
    ASSERT_EQ(optimized->GetAttributeTable(nullptr, &tableSize), D3D_OK);
    ASSERT_EQ(tableSize, 2u);
    D3DXATTRIBUTERANGE table[2] = {};
    optimized->GetAttributeTable(table, &tableSize);
    EXPECT_EQ(table[0].AttribId, 0u);
    EXPECT_EQ(table[0].FaceStart, 0u);
    EXPECT_EQ(table[0].FaceCount, 2u);
    EXPECT_EQ(table[1].AttribId, 1u);
    EXPECT_EQ(table[1].FaceStart, 2u);
    EXPECT_EQ(table[1].FaceCount, 3u);
    for (const D3DXATTRIBUTERANGE& range : table) {
        const std::vector<std::uint32_t> indices = Indices(optimized);
        for (DWORD i = range.FaceStart * 3; i < (range.FaceStart + range.FaceCount) * 3; ++i) {
            EXPECT_GE(indices[i], range.VertexStart);
            EXPECT_LT(indices[i], range.VertexStart + range.VertexCount);
        }
    }
    EXPECT_EQ(Triangles(optimized), Triangles(loaded.mesh));
    // The remaps tie new faces and vertices to the old ones.
    const std::vector<DWORD> oldAttributes = Attributes(loaded.mesh);
    const std::vector<DWORD> newAttributes = Attributes(optimized);
    for (DWORD f = 0; f < 5; ++f) {
        EXPECT_EQ(newAttributes[f], oldAttributes[faceRemap[f]]);
    }
    ASSERT_EQ(vertexRemap->GetBufferSize(), 7 * sizeof(DWORD));
    const auto* remap = static_cast<const DWORD*>(vertexRemap->GetBufferPointer());
    const auto oldVertices = Vertices<Vertex112>(loaded.mesh);
    const auto newVertices = Vertices<Vertex112>(optimized);
    for (DWORD v = 0; v < 7; ++v) {
        EXPECT_EQ(std::memcmp(&newVertices[v], &oldVertices[remap[v]], sizeof(Vertex112)), 0);
    }
    vertexRemap->Release();
    optimized->Release();
}

TEST_F(MeshTest, DrawSubsetDrawsOnlyThatSubsetsFaces)
{
    // Two screen-filling halves in clip space, left material 0, right material 1.
    XFileWriter x(XEncoding::text);
    x.Begin("Mesh").Dwords({6}).Floats({-1, -1, 0.5f, -1, 1, 0.5f, 0, 1, 0.5f, 0, -1, 0.5f, 1, 1, 0.5f, 1, -1, 0.5f});
    x.Dwords({2}).Dwords({4, 0, 1, 2, 3}).Dwords({4, 3, 2, 4, 5});
    x.Begin("MeshMaterialList").Dwords({2}).Dwords({2}).Dwords({0, 1});
    x.Begin("Material").Floats({1, 0, 0, 1}).Floats({0}).Floats({0, 0, 0}).Floats({0, 0, 0}).End();
    x.Begin("Material").Floats({0, 1, 0, 1}).Floats({0}).Floats({0, 0, 0}).Floats({0, 0, 0}).End();
    x.End().End();
    Loaded loaded;
    ASSERT_EQ(Load(x.bytes(), loaded), D3D_OK);
    ID3DXMesh* optimized = nullptr;
    ASSERT_EQ(loaded.mesh->Optimize(D3DXMESHOPT_VERTEXCACHE | D3DXMESH_SYSTEMMEM, nullptr, nullptr, nullptr, nullptr,
                                    &optimized),
              D3D_OK);
    IDirect3DDevice9* d = device();
    for (ID3DXMesh* mesh : {loaded.mesh, optimized}) {  // without and with an attribute table
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        ASSERT_EQ(mesh->DrawSubset(1), D3D_OK);
        ASSERT_EQ(mesh->DrawSubset(7), D3D_OK);  // no such subset: nothing
        d->EndScene();
        const std::vector<DWORD> pixels = ReadBackBuffer();
        ASSERT_FALSE(pixels.empty());
        EXPECT_EQ(At(pixels, 16, 24) & 0xFFFFFF, 0u);         // left half: subset 0, not drawn
        EXPECT_EQ(At(pixels, 48, 24) & 0xFFFFFF, 0xFFFFFFu);  // right half: drawn (white, unlit)
    }
    optimized->Release();
}

// A mesh large enough for its face order to be worked out in the background optimises to the same
// mesh whether it is written at once (a remap is asked for) or at its first use, even when the
// source was changed and released in between.
TEST_F(MeshTest, LargeMeshOptimizedLaterEqualsOneOptimizedAtOnce)
{
    const std::string text = data::WriteSphereX(data::MakeUvSphere(128, 64), "earth.jpg", "later");
    Loaded now, later;
    ASSERT_EQ(Load({text.begin(), text.end()}, now), D3D_OK);
    ASSERT_EQ(Load({text.begin(), text.end()}, later), D3D_OK);
    std::vector<DWORD> faceRemap(now.mesh->GetNumFaces());
    ID3DXMesh* optimized[2] = {};
    ASSERT_EQ(now.mesh->Optimize(D3DXMESHOPT_VERTEXCACHE, nullptr, nullptr, faceRemap.data(), nullptr, &optimized[0]),
              D3D_OK);
    ASSERT_EQ(later.mesh->Optimize(D3DXMESHOPT_VERTEXCACHE, nullptr, nullptr, nullptr, nullptr, &optimized[1]), D3D_OK);
    void* source = nullptr;
    ASSERT_EQ(later.mesh->LockVertexBuffer(0, &source), D3D_OK);
    std::memset(source, 0, later.mesh->GetNumVertices() * later.mesh->GetNumBytesPerVertex());
    later.mesh->UnlockVertexBuffer();
    std::exchange(later.mesh, nullptr)->Release();
    EXPECT_EQ(Indices(optimized[1]), Indices(optimized[0]));
    EXPECT_EQ(Triangles(optimized[1]), Triangles(optimized[0]));
    for (ID3DXMesh* mesh : optimized)
        mesh->Release();
}

TEST_F(MeshTest, FileWithoutMaterialsHasNoMaterialBuffer)
{
    XFileWriter x(XEncoding::text);
    x.Begin("Mesh").Dwords({3}).Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}).Dwords({1}).Dwords({3, 0, 2, 1}).End();
    Loaded loaded;
    loaded.materialCount = 77;
    ASSERT_EQ(Load(x.bytes(), loaded), D3D_OK);
    EXPECT_EQ(loaded.materialCount, 0u);
    EXPECT_EQ(loaded.materials, nullptr);
    EXPECT_EQ(loaded.mesh->GetFVF(), DWORD(D3DFVF_XYZ));
    EXPECT_EQ(Attributes(loaded.mesh), (std::vector<DWORD>{0}));
}

TEST_F(MeshTest, MeshInAFrameHierarchyIsTransformedAndAdjacencyFollowsSharedEdges)
{
    XFileWriter x(XEncoding::binary32);
    x.Begin("Frame", "Root").Begin("FrameTransformMatrix");
    x.Floats({2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 5, 1}).End();  // scale 2, then z + 5
    x.Begin("Frame", "Child").Begin("FrameTransformMatrix");
    x.Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1}).End();  // x + 1 first
    x.Begin("Mesh").Dwords({4}).Floats({0, 0, 0, 0, 1, 0, 1, 1, 0, 1, 0, 0}).Dwords({1}).Dwords({4, 0, 1, 2, 3}).End();
    x.End().End();
    Loaded loaded;
    ASSERT_EQ(Load(x.bytes(), loaded), D3D_OK);
    struct Position {
        float x, y, z;
    };
    const std::vector<Position> positions = Vertices<Position>(loaded.mesh);
    ASSERT_EQ(positions.size(), 4u);
    EXPECT_EQ(positions[0].x, 2.0f);  // ((0, 0, 0) + (1, 0, 0)) * 2 + (0, 0, 5)
    EXPECT_EQ(positions[0].z, 5.0f);
    EXPECT_EQ(positions[2].x, 4.0f);
    EXPECT_EQ(positions[2].y, 2.0f);
    // The quad's two triangles share the edge 0-2.
    ASSERT_EQ(loaded.adjacency->GetBufferSize(), 6 * sizeof(DWORD));
    const auto* adjacency = static_cast<const DWORD*>(loaded.adjacency->GetBufferPointer());
    EXPECT_EQ((std::vector<DWORD>(adjacency, adjacency + 6)),
              (std::vector<DWORD>{0xFFFFFFFF, 0xFFFFFFFF, 1, 0, 0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST_F(MeshTest, BrokenFilesGiveTheirErrorAndNoObjects)
{
    struct Case {
        std::string text;
        HRESULT expected;
    };
    const Case cases[] = {
        {"xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,7;; }", D3DXERR_INVALIDDATA},
        {"xof 0302txt 0032 Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNor", D3DXFERR_PARSEERROR},
        {"xof 0302txt 0032 Header { 1; 0; 1; }", D3DXERR_LOADEDMESHHASNODATA},
        {"xof 0302tzip0032 compressed", E_NOTIMPL},
        {"PK not an x file", D3DXFERR_BADFILETYPE},
    };
    for (const Case& c : cases) {
        Loaded loaded;
        loaded.materialCount = 5;
        const std::vector<std::uint8_t> bytes(c.text.begin(), c.text.end());
        EXPECT_EQ(Load(bytes, loaded), c.expected) << c.text;
        EXPECT_EQ(loaded.mesh, nullptr);
        EXPECT_EQ(loaded.adjacency, nullptr);
        EXPECT_EQ(loaded.materials, nullptr);
        EXPECT_EQ(loaded.materialCount, 0u);
    }
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(
        D3DXLoadMeshFromXInMemory("xof", 3, D3DXMESH_SYSTEMMEM, nullptr, nullptr, nullptr, nullptr, nullptr, &mesh),
        D3DERR_INVALIDCALL);
}

TEST_F(MeshTest, CreatedMeshesCheckTheirLimits)
{
    ID3DXMesh* mesh = nullptr;
    EXPECT_EQ(D3DXCreateMeshFVF(0, 3, D3DXMESH_SYSTEMMEM, 0x112, device(), &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(1, 70000, D3DXMESH_SYSTEMMEM, 0x112, device(), &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3DXCreateMeshFVF(1, 3, D3DXMESH_SYSTEMMEM, D3DFVF_XYZRHW, device(), &mesh), D3DERR_INVALIDCALL);
    EXPECT_EQ(mesh, nullptr);
    ASSERT_EQ(D3DXCreateMeshFVF(1, 70000, D3DXMESH_SYSTEMMEM | D3DXMESH_32BIT, 0x112, device(), &mesh), D3D_OK);
    // Indices pointing past the vertices are refused by Optimize rather than followed.
    void* indices = nullptr;
    ASSERT_EQ(mesh->LockIndexBuffer(0, &indices), D3D_OK);
    static_cast<std::uint32_t*>(indices)[1] = 70000;
    mesh->UnlockIndexBuffer();
    ID3DXMesh* optimized = nullptr;
    EXPECT_EQ(mesh->Optimize(D3DXMESHOPT_VERTEXCACHE, nullptr, nullptr, nullptr, nullptr, &optimized),
              D3DXERR_INVALIDMESH);
    EXPECT_EQ(optimized, nullptr);
    mesh->Release();
}

}  // namespace
}  // namespace quorvane::tests

// Data/mdl as the build makes it, loaded by the program's own Mesh::Load and LoadTextureSource,
// and the textured Earth rendered from the program's initial camera: it must not be a mirror
// image.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <meshoptimizer.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "device_test.h"
#include "jpeg_reference.h"
#include "program_data.h"
#include "scene_helpers.h"

namespace quorvane::tests {
namespace {

constexpr float fieldOfView = 1.0471967f;  // 60 degrees vertically
constexpr float aspect = 640.0f / 480.0f;

class EarthFilesTest : public DeviceTest {
protected:
    EarthFilesTest() : DeviceTest(640, 480) {}

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DeviceTest::SetUp());
        sphereBytes_ = ReadDataFile("sphere.x");
        earthBytes_ = ReadDataFile(QUORVANE_EARTH_IMAGE);
        ASSERT_FALSE(sphereBytes_.empty()) << "run the quorvane_data target";
        ASSERT_FALSE(earthBytes_.empty());
    }

    std::unique_ptr<Mesh> LoadSphere()
    {
        std::unique_ptr<Mesh> sphere = LoadProgramMesh(device());
        EXPECT_NE(sphere, nullptr);
        return sphere;
    }

    IDirect3DTexture9* LoadEarthTexture()
    {
        IDirect3DTexture9* source = nullptr;
        IDirect3DTexture9* earth = LoadProgramTexture(device(), &source);
        EXPECT_NE(earth, nullptr);
        if (source != nullptr) {
            source->Release();
        }
        return earth;
    }

    // Clears and begins a scene seen from `eye` towards the centre with the program's 60-degree
    // projection, lighting off so that the texels show as they are.
    void BeginUnlitScene(const D3DXMATRIX& world, const D3DXVECTOR3& eye)
    {
        D3DXMATRIX view, projection;
        const D3DXVECTOR3 at(0, 0, 0), up(0, 1, 0);
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, fieldOfView, aspect, 1.0f, 1000.0f);
        IDirect3DDevice9* d = device();
        d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        d->BeginScene();
        d->SetTransform(D3DTS_WORLD, &world);
        d->SetTransform(D3DTS_VIEW, &view);
        d->SetTransform(D3DTS_PROJECTION, &projection);
        d->SetRenderState(D3DRS_LIGHTING, FALSE);
    }

    // Draws the textured sphere, ends the scene and reads the picture back; also saved as `png`
    // for looking at it.
    std::vector<DWORD> DrawEarth(ID3DXMesh* sphere, IDirect3DTexture9* earth, const std::string& png)
    {
        IDirect3DDevice9* d = device();
        d->SetTexture(0, earth);
        EXPECT_EQ(sphere->DrawSubset(0), D3D_OK);
        d->EndScene();
        d->SetTexture(0, nullptr);
        std::vector<DWORD> pixels = ReadBackBuffer();
        EXPECT_TRUE(SavePng(png));
        return pixels;
    }

    std::vector<std::uint8_t> sphereBytes_;
    std::vector<std::uint8_t> earthBytes_;
};

float AverageCacheMissRatio(ID3DXMesh* mesh)
{
    void* data = nullptr;
    mesh->LockIndexBuffer(D3DLOCK_READONLY, &data);
    const auto* narrow = static_cast<const std::uint16_t*>(data);
    std::vector<unsigned> indices(narrow, narrow + mesh->GetNumFaces() * 3);
    mesh->UnlockIndexBuffer();
    return meshopt_analyzeVertexCache(indices.data(), indices.size(), mesh->GetNumVertices(), 16, 0, 0).acmr;
}

TEST_F(EarthFilesTest, SphereFileLoadsAsAUnitSphereInFormat0x112WithTheEarthMaterial)
{
    ID3DXMesh* loaded = nullptr;
    ID3DXBuffer* materials = nullptr;
    DWORD materialCount = 0;
    ASSERT_EQ(D3DXLoadMeshFromXInMemory(sphereBytes_.data(), DWORD(sphereBytes_.size()), D3DXMESH_SYSTEMMEM, device(),
                                        nullptr, &materials, nullptr, &materialCount, &loaded),
              D3D_OK);
    EXPECT_EQ(loaded->GetFVF(), 0x112u);  // the program will not clone it
    EXPECT_EQ(loaded->GetOptions(), DWORD(D3DXMESH_SYSTEMMEM));
    EXPECT_EQ(loaded->GetNumVertices(), 33151u);
    EXPECT_EQ(loaded->GetNumFaces(), 65024u);
    ASSERT_EQ(materialCount, 1u);
    EXPECT_STREQ(static_cast<D3DXMATERIAL*>(materials->GetBufferPointer())->pTextureFilename, QUORVANE_EARTH_IMAGE);
    void* data = nullptr;
    ASSERT_EQ(loaded->LockVertexBuffer(D3DLOCK_READONLY, &data), D3D_OK);
    const auto* vertices = static_cast<const MeshVertex*>(data);
    for (DWORD i = 0; i < loaded->GetNumVertices(); ++i) {
        const MeshVertex& v = vertices[i];
        ASSERT_NEAR(std::hypot(v.position[0], v.position[1], v.position[2]), 1.0, 2e-6) << i;
        ASSERT_NEAR(v.normal[0], v.position[0], 1e-6);
        ASSERT_NEAR(v.normal[1], v.position[1], 1e-6);
    }
    loaded->UnlockVertexBuffer();

    std::unique_ptr<Mesh> program = LoadSphere();
    ASSERT_NE(program, nullptr);
    EXPECT_LT(AverageCacheMissRatio(program->drawMesh), AverageCacheMissRatio(loaded));
    EXPECT_LT(AverageCacheMissRatio(program->drawMesh), 0.8f);
    materials->Release();
    loaded->Release();
}

TEST_F(EarthFilesTest, EarthImageIsA2500By1250Jpeg)
{
    D3DXIMAGE_INFO info{};
    ASSERT_EQ(D3DXGetImageInfoFromFileInMemory(earthBytes_.data(), UINT(earthBytes_.size()), &info), D3D_OK);
    EXPECT_EQ(info.Width, 2500u);
    EXPECT_EQ(info.Height, 1250u);
    EXPECT_EQ(info.ImageFileFormat, D3DXIFF_JPG);
}

// Colour distance of two 0x..RRGGBB values, summed over the channels.
int Distance(DWORD a, DWORD b)
{
    int sum = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        sum += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    }
    return sum;
}

TEST_F(EarthFilesTest, EarthSeenFromTheInitialCameraIsNotMirrored)
{
    IDirect3DTexture9* earth = LoadEarthTexture();
    ASSERT_NE(earth, nullptr);
    std::unique_ptr<Mesh> sphere = LoadSphere();
    ASSERT_NE(sphere, nullptr);

    // The program's first view: eye (0, 0, -10) looking at the centre.
    D3DXMATRIX world;
    D3DXMatrixIdentity(&world);
    BeginUnlitScene(world, D3DXVECTOR3(0, 0, -10));
    const std::vector<DWORD> pixels = DrawEarth(sphere->drawMesh, earth, "earth_initial_view.png");
    ASSERT_FALSE(pixels.empty());

    const JpegReference map = DecodeWithTurboJpeg(earthBytes_);
    ASSERT_EQ(map.width, 2500);
    ASSERT_EQ(map.height, 1250);
    const auto texel = [&](double longitude, double latitude) {
        const double u = (longitude + std::numbers::pi) / (2 * std::numbers::pi);
        const double v = (std::numbers::pi / 2 - latitude) / std::numbers::pi;
        return DWORD{map.At(std::min(int(u * 2500), 2499), std::min(int(v * 1250), 1249))};
    };

    // Every pixel that sees the sphere well inside its outline: which map point does the ray
    // through it hit, and does the picture show that point or its east-west mirror image?
    const double tanHalf = std::tan(fieldOfView / 2.0);
    long long straight = 0, mirrored = 0, samples = 0;
    for (UINT py = 0; py < 480; ++py) {
        for (UINT px = 0; px < 640; ++px) {
            const double nx = 2.0 * px / 640 - 1, ny = 1 - 2.0 * py / 480;
            const double dx = nx * tanHalf * aspect, dy = ny * tanHalf, dz = 1;
            // |(0, 0, -10) + t d| = 1
            const double a = dx * dx + dy * dy + dz * dz, b = -20 * dz, c = 100 - 1;
            const double disc = b * b - 4 * a * c;
            if (disc <= 0) {
                continue;
            }
            const double t = (-b - std::sqrt(disc)) / (2 * a);
            const double x = t * dx, y = t * dy, z = -10 + t * dz;
            if (z > -0.6) {
                continue;  // near the outline the chord and the exact sphere part ways
            }
            const double latitude = std::asin(y), longitude = std::atan2(x, -z);
            const DWORD shown = At(pixels, px, py) & 0xFFFFFF;
            straight += Distance(shown, texel(longitude, latitude));
            mirrored += Distance(shown, texel(-longitude, latitude));
            ++samples;
        }
    }
    ASSERT_GT(samples, 2000);
    EXPECT_LT(double(straight) / samples, 40.0);                              // the picture is the map
    EXPECT_GT(double(mirrored) / samples, 2.0 * double(straight) / samples);  // and not its mirror
    earth->Release();
}

TEST_F(EarthFilesTest, StereographicImageOfTheEarthFillsThePlane)
{
    // The Earth image as the frame renderer draws it: the sphere through the projection matrix,
    // no culling, no depth test; seen from above. Saved for looking at its smoothness.
    IDirect3DTexture9* earth = LoadEarthTexture();
    ASSERT_NE(earth, nullptr);
    std::unique_ptr<Mesh> sphere = LoadSphere();
    ASSERT_NE(sphere, nullptr);
    const D3DXMATRIX stereographic(2.02f, 0, 0, 0, 0, 1.01f, 0, -1.0201f, 0, 0, 2.02f, 0, 0, -1.0f, 0, 1.01f);
    BeginUnlitScene(stereographic, D3DXVECTOR3(0, 10, -0.1f));
    IDirect3DDevice9* d = device();
    d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    d->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    const std::vector<DWORD> pixels = DrawEarth(sphere->drawMesh, earth, "earth_stereographic_image.png");
    ASSERT_FALSE(pixels.empty());
    // Seen from straight above, the image covers the whole view (it reaches to infinity).
    int black = 0;
    for (DWORD p : pixels) {
        black += (p & 0xFFFFFF) == 0 ? 1 : 0;
    }
    EXPECT_LT(black, int(pixels.size() / 100));
    earth->Release();
}

}  // namespace
}  // namespace quorvane::tests

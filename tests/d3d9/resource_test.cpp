// Textures, surfaces and buffers: pools, locking, copies between them, and indexed drawing
// from vertex and index buffers in system memory and in the default pool.
#include <cstring>

#include "back_buffer.h"
#include "device_test.h"

namespace quorvane::tests {
namespace {

using ResourceTest = DeviceTest;

TEST_F(ResourceTest, TexturesInEveryPoolDescribeTheirLevels)
{
    for (D3DPOOL pool : {D3DPOOL_DEFAULT, D3DPOOL_MANAGED, D3DPOOL_SYSTEMMEM, D3DPOOL_SCRATCH}) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device()->CreateTexture(20, 6, 0, 0, D3DFMT_X8R8G8B8, pool, &texture, nullptr), D3D_OK) << pool;
        EXPECT_EQ(texture->GetLevelCount(), 5u);  // 20x6, 10x3, 5x1, 2x1, 1x1
        D3DSURFACE_DESC desc{};
        ASSERT_EQ(texture->GetLevelDesc(2, &desc), D3D_OK);
        EXPECT_EQ(desc.Width, 5u);
        EXPECT_EQ(desc.Height, 1u);
        EXPECT_EQ(desc.Pool, pool);
        EXPECT_EQ(desc.Format, D3DFMT_X8R8G8B8);
        EXPECT_EQ(texture->GetLevelDesc(5, &desc), D3DERR_INVALIDCALL);
        EXPECT_EQ(texture->GetType(), D3DRTYPE_TEXTURE);
        EXPECT_EQ(texture->Release(), 0u);
    }
}

TEST_F(ResourceTest, LockingFollowsThePool)
{
    IDirect3DTexture9* video = nullptr;
    IDirect3DTexture9* dynamic = nullptr;
    IDirect3DTexture9* system = nullptr;
    ASSERT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &video, nullptr), D3D_OK);
    ASSERT_EQ(device()->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &dynamic, nullptr),
              D3D_OK);
    ASSERT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &system, nullptr), D3D_OK);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(video->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(locked.pBits, nullptr);
    EXPECT_EQ(dynamic->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_EQ(dynamic->UnlockRect(0), D3D_OK);

    RECT part{1, 2, 3, 4};
    ASSERT_EQ(system->LockRect(0, &locked, nullptr, D3DLOCK_DISCARD), D3D_OK);
    EXPECT_GE(locked.Pitch, 16);
    BYTE* base = static_cast<BYTE*>(locked.pBits);
    EXPECT_EQ(system->LockRect(0, &locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    ASSERT_EQ(system->UnlockRect(0), D3D_OK);
    EXPECT_EQ(system->UnlockRect(0), D3DERR_INVALIDCALL);
    ASSERT_EQ(system->LockRect(0, &locked, &part, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(static_cast<BYTE*>(locked.pBits), base + 2 * locked.Pitch + 4);
    system->UnlockRect(0);
    RECT outside{2, 2, 5, 3};
    EXPECT_EQ(system->LockRect(0, &locked, &outside, 0), D3DERR_INVALIDCALL);
    RECT empty{2, 2, 2, 3};
    EXPECT_EQ(system->LockRect(0, &locked, &empty, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(system->LockRect(0, nullptr, nullptr, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(system->LockRect(1, &locked, nullptr, 0), D3DERR_INVALIDCALL);
    video->Release();
    dynamic->Release();
    system->Release();
}

TEST_F(ResourceTest, CreateTextureRejectsWhatDirect3DRejects)
{
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(device()->CreateTexture(0, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateTexture(4, 4, 4, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3DERR_INVALIDCALL);  // more levels than 4x4 has
    EXPECT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_UNKNOWN, D3DPOOL_DEFAULT, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_D16, D3DPOOL_DEFAULT, &texture, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL(7), &texture, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(
        device()->CreateTexture(4, 4, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
        D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device()->CreateTexture(1 << 14, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, nullptr, nullptr),
              D3DERR_INVALIDCALL);
    HANDLE shared = nullptr;
    EXPECT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, &shared),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(texture, nullptr);
}

TEST_F(ResourceTest, SystemMemoryTexturesCanBeBoundAndScratchTexturesCannot)
{
    IDirect3DTexture9* system = nullptr;
    IDirect3DTexture9* scratch = nullptr;
    device()->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &system, nullptr);
    device()->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SCRATCH, &scratch, nullptr);
    EXPECT_EQ(device()->SetTexture(0, system), D3D_OK);
    EXPECT_EQ(device()->SetTexture(0, scratch), D3DERR_INVALIDCALL);
    IDirect3DBaseTexture9* bound = nullptr;
    device()->GetTexture(0, &bound);
    EXPECT_EQ(bound, system);  // the refused scratch texture left the binding alone
    if (bound)
        bound->Release();
    device()->SetTexture(0, nullptr);
    EXPECT_EQ(device()->SetTexture(16, nullptr), D3DERR_INVALIDCALL);
    system->Release();
    scratch->Release();
}

TEST_F(ResourceTest, UpdateSurfaceCopiesARectangleToAPoint)
{
    IDirect3DTexture9* source = nullptr;
    IDirect3DTexture9* destination = nullptr;
    IDirect3DTexture9* readable = nullptr;  // a dynamic default texture keeps a copy to lock
    device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr);
    device()->CreateTexture(4, 4, 1, D3DUSAGE_DYNAMIC, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &readable, nullptr);
    device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &destination, nullptr);
    D3DLOCKED_RECT locked{};
    source->LockRect(0, &locked, nullptr, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch)[x] = DWORD(y * 4 + x);
    source->UnlockRect(0);
    IDirect3DSurface9 *from = nullptr, *to = nullptr, *toVideo = nullptr;
    source->GetSurfaceLevel(0, &from);
    readable->GetSurfaceLevel(0, &to);
    destination->GetSurfaceLevel(0, &toVideo);
    RECT rect{1, 1, 3, 2};
    POINT point{2, 3};
    ASSERT_EQ(device()->UpdateSurface(from, &rect, to, &point), D3D_OK);
    readable->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
    const DWORD* row3 = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + 3 * locked.Pitch);
    EXPECT_EQ(row3[2], 5u);
    EXPECT_EQ(row3[3], 6u);
    EXPECT_EQ(row3[1], 0u);
    readable->UnlockRect(0);

    POINT outside{3, 3};
    EXPECT_EQ(device()->UpdateSurface(from, &rect, to, &outside), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->UpdateSurface(to, nullptr, from, nullptr), D3DERR_INVALIDCALL);  // wrong pools
    EXPECT_EQ(device()->UpdateSurface(from, nullptr, toVideo, nullptr), D3D_OK);
    EXPECT_EQ(device()->UpdateSurface(nullptr, nullptr, toVideo, nullptr), D3DERR_INVALIDCALL);
    from->LockRect(&locked, nullptr, 0);
    EXPECT_EQ(device()->UpdateSurface(from, nullptr, toVideo, nullptr), D3DERR_INVALIDCALL);  // locked
    from->UnlockRect();
    from->Release();
    to->Release();
    toVideo->Release();
    source->Release();
    readable->Release();
    destination->Release();
}

TEST_F(ResourceTest, MemoryTextureLevelsStartAsZerosInWhateverOrderTheyAreTouched)
{
    for (D3DPOOL pool : {D3DPOOL_SYSTEMMEM, D3DPOOL_SCRATCH, D3DPOOL_MANAGED}) {
        IDirect3DTexture9* texture = nullptr;
        ASSERT_EQ(device()->CreateTexture(8, 6, 0, 0, D3DFMT_A8R8G8B8, pool, &texture, nullptr), D3D_OK);
        for (UINT level : {2u, 0u, 3u, 1u}) {
            D3DSURFACE_DESC desc{};
            texture->GetLevelDesc(level, &desc);
            D3DLOCKED_RECT locked{};
            ASSERT_EQ(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY), D3D_OK) << pool << ":" << level;
            for (UINT y = 0; y < desc.Height; ++y) {
                const BYTE* row = static_cast<BYTE*>(locked.pBits) + y * UINT(locked.Pitch);
                for (UINT x = 0; x < desc.Width * 4; ++x)
                    EXPECT_EQ(row[x], 0) << pool << ":" << level;
            }
            texture->UnlockRect(level);
        }
        texture->Release();
    }
    // Levels nothing has touched copy as zeros too.
    IDirect3DTexture9* source = nullptr;
    IDirect3DTexture9* destination = nullptr;
    ASSERT_EQ(device()->CreateTexture(8, 6, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &source, nullptr), D3D_OK);
    ASSERT_EQ(device()->CreateTexture(8, 6, 0, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &destination, nullptr), D3D_OK);
    EXPECT_EQ(device()->UpdateTexture(source, destination), D3D_OK);
    destination->Release();
    source->Release();
}

TEST_F(ResourceTest, SurfaceLevelsBelongToTheirTexture)
{
    IDirect3DTexture9* texture = nullptr;
    device()->CreateTexture(4, 4, 2, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &texture, nullptr);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(1, &level), D3D_OK);
    D3DSURFACE_DESC desc{};
    level->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 2u);
    IDirect3DTexture9* container = nullptr;
    ASSERT_EQ(level->GetContainer(IID_IDirect3DTexture9, reinterpret_cast<void**>(&container)), D3D_OK);
    EXPECT_EQ(container, texture);
    container->Release();
    EXPECT_EQ(texture->Release(), 1u);  // the level still holds the texture
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(level->LockRect(&locked, nullptr, 0), D3D_OK);
    EXPECT_EQ(level->UnlockRect(), D3D_OK);
    EXPECT_EQ(level->Release(), 0u);
}

TEST_F(ResourceTest, RenderTargetDataNeedsAMatchingSystemMemorySurface)
{
    IDirect3DSurface9* backBuffer = nullptr;
    device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    IDirect3DSurface9 *wrongFormat = nullptr, *wrongSize = nullptr, *wrongPool = nullptr;
    device()->CreateOffscreenPlainSurface(backBufferWidth, backBufferHeight, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM,
                                          &wrongFormat, nullptr);
    device()->CreateOffscreenPlainSurface(backBufferWidth, 4, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &wrongSize, nullptr);
    device()->CreateOffscreenPlainSurface(backBufferWidth, backBufferHeight, D3DFMT_X8R8G8B8, D3DPOOL_SCRATCH,
                                          &wrongPool, nullptr);
    EXPECT_EQ(device()->GetRenderTargetData(backBuffer, wrongFormat), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetRenderTargetData(backBuffer, wrongSize), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetRenderTargetData(backBuffer, wrongPool), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->GetRenderTargetData(wrongFormat, wrongFormat), D3DERR_INVALIDCALL);
    IDirect3DSurface9* managed = nullptr;
    EXPECT_EQ(device()->CreateOffscreenPlainSurface(4, 4, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &managed, nullptr),
              D3DERR_INVALIDCALL);
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(backBuffer->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);  // not lockable
    wrongFormat->Release();
    wrongSize->Release();
    wrongPool->Release();
    backBuffer->Release();
}

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
};

// Four quads side by side in a vertex buffer, drawn through an index buffer.
class IndexedDrawTest : public DeviceTest, public ::testing::WithParamInterface<D3DPOOL> {
protected:
    void Fill(IDirect3DVertexBuffer9* vertices, IDirect3DIndexBuffer9* indices)
    {
        void* data = nullptr;
        ASSERT_EQ(vertices->Lock(0, 0, &data, 0), D3D_OK);
        auto* v = static_cast<Vertex*>(data);
        const D3DCOLOR colors[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        for (int q = 0; q < 4; ++q) {
            float x0 = float(q * 16), x1 = x0 + 16;
            v[q * 4 + 0] = {x0, 0, 0.5f, 1, colors[q]};
            v[q * 4 + 1] = {x1, 0, 0.5f, 1, colors[q]};
            v[q * 4 + 2] = {x0, 16, 0.5f, 1, colors[q]};
            v[q * 4 + 3] = {x1, 16, 0.5f, 1, colors[q]};
        }
        ASSERT_EQ(vertices->Unlock(), D3D_OK);
        ASSERT_EQ(indices->Lock(0, 0, &data, 0), D3D_OK);
        auto* i = static_cast<WORD*>(data);
        for (WORD q = 0; q < 4; ++q) {
            const WORD quad[6] = {WORD(q * 4),     WORD(q * 4 + 1), WORD(q * 4 + 2),
                                  WORD(q * 4 + 2), WORD(q * 4 + 1), WORD(q * 4 + 3)};
            std::memcpy(i + q * 6, quad, sizeof quad);
        }
        ASSERT_EQ(indices->Unlock(), D3D_OK);
    }
};

TEST_P(IndexedDrawTest, DrawsTheIndexedRangeWithItsBaseVertex)
{
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device()->CreateVertexBuffer(16 * sizeof(Vertex), D3DUSAGE_WRITEONLY, D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                                           GetParam(), &vertices, nullptr),
              D3D_OK);
    ASSERT_EQ(device()->CreateIndexBuffer(24 * sizeof(WORD), D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, GetParam(), &indices,
                                          nullptr),
              D3D_OK);
    Fill(vertices, indices);
    device()->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device()->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    ASSERT_EQ(device()->SetStreamSource(0, vertices, 0, sizeof(Vertex)), D3D_OK);
    ASSERT_EQ(device()->SetIndices(indices), D3D_OK);
    device()->BeginScene();
    // Quads 1 and 2 (indices 6..17) ...
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 8, 6, 4), D3D_OK);
    // ... and quad 0's indices shifted by a base vertex of 12: quad 3, moved down by nothing.
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 12, 0, 4, 0, 2), D3D_OK);
    // Indices that reach past the buffer are refused, not read.
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 13, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 16, 20, 2), D3DERR_INVALIDCALL);
    device()->EndScene();
    std::vector<DWORD> pixels = ReadBackBuffer();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(Rgb(At(pixels, 8, 8)), 0u);
    EXPECT_EQ(Rgb(At(pixels, 24, 8)), 0x00FF00u);
    EXPECT_EQ(Rgb(At(pixels, 40, 8)), 0x0000FFu);
    EXPECT_EQ(Rgb(At(pixels, 56, 8)), 0xFFFFFFu);

    // Bound buffers live on after the application's release, until they are unbound.
    EXPECT_EQ(vertices->Release(), 0u);
    EXPECT_EQ(indices->Release(), 0u);
    device()->BeginScene();
    EXPECT_EQ(device()->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 16, 0, 8), D3D_OK);
    device()->EndScene();
    device()->SetStreamSource(0, nullptr, 0, 0);
    device()->SetIndices(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Pools, IndexedDrawTest,
                         ::testing::Values(D3DPOOL_SYSTEMMEM, D3DPOOL_DEFAULT, D3DPOOL_MANAGED));

TEST_F(ResourceTest, BuffersLockRangesAndDescribeThemselves)
{
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device()->CreateVertexBuffer(64, 0, D3DFVF_XYZ, D3DPOOL_DEFAULT, &buffer, nullptr), D3D_OK);
    void* whole = nullptr;
    void* part = nullptr;
    ASSERT_EQ(buffer->Lock(0, 0, &whole, 0), D3D_OK);
    ASSERT_EQ(buffer->Lock(16, 8, &part, D3DLOCK_READONLY), D3D_OK);  // locks nest
    EXPECT_EQ(static_cast<BYTE*>(part), static_cast<BYTE*>(whole) + 16);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3D_OK);
    EXPECT_EQ(buffer->Unlock(), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(60, 8, &part, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(buffer->Lock(0, 0, nullptr, 0), D3DERR_INVALIDCALL);
    D3DVERTEXBUFFER_DESC desc{};
    buffer->GetDesc(&desc);
    EXPECT_EQ(desc.Size, 64u);
    EXPECT_EQ(desc.FVF, DWORD(D3DFVF_XYZ));
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    buffer->Release();

    IDirect3DIndexBuffer9* indices = nullptr;
    EXPECT_EQ(device()->CreateIndexBuffer(64, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &indices, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateIndexBuffer(0, 0, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &indices, nullptr),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->CreateVertexBuffer(64, 0, 0, D3DPOOL_SCRATCH, &buffer, nullptr), D3DERR_INVALIDCALL);
}

}  // namespace
}  // namespace quorvane::tests

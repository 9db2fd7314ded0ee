// The draw device: creation and its fallback order, the viewport and aspect rules, closing, and
// the lost/reset protocol.
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "resources/mesh_registry.h"
#include "resources/texture_registry.h"
#include "temp_directory.h"
#include "viewer_data.h"
#include "viewer_scene.h"

#include <quorvane_testing.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvane::tests {
namespace {

// A Direct3D object whose first `failures` CreateDevice calls fail with D3DERR_NOTAVAILABLE;
// it records every attempt and hands the rest to the real one. Nothing else is asked of it.
class FailingDirect3D final : public IDirect3D9 {
public:
    explicit FailingDirect3D(int failures) : real_(Direct3DCreate9(D3D_SDK_VERSION)), failures_(failures) {}
    ~FailingDirect3D() { real_->Release(); }

    struct Attempt {
        D3DDEVTYPE type;
        DWORD flags;
        bool operator==(const Attempt&) const = default;
    };
    std::vector<Attempt> attempts;

    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    UINT GetAdapterCount() override { return 0; }
    UINT GetAdapterModeCount(UINT, D3DFORMAT) override { return 0; }
    HRESULT EnumAdapterModes(UINT, D3DFORMAT, UINT, D3DDISPLAYMODE*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT GetAdapterDisplayMode(UINT, D3DDISPLAYMODE*) override { return D3DERR_NOTAVAILABLE; }
    HRESULT CheckDeviceType(UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, BOOL) override { return D3DERR_NOTAVAILABLE; }
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus, DWORD flags, D3DPRESENT_PARAMETERS* parameters,
                         IDirect3DDevice9** device) override
    {
        attempts.push_back({type, flags});
        if (static_cast<int>(attempts.size()) <= failures_)
            return D3DERR_NOTAVAILABLE;
        return real_->CreateDevice(adapter, type, focus, flags, parameters, device);
    }

private:
    IDirect3D9* real_;
    int failures_;
};

constexpr DWORD hardware = D3DCREATE_HARDWARE_VERTEXPROCESSING;
constexpr DWORD software = D3DCREATE_SOFTWARE_VERTEXPROCESSING;

TEST(DrawDevice, OpensWithTheViewportAndTheDefaultSetAndClosesBackToEmpty)
{
    OpenDrawDevice open(64, 48, nullptr);
    ASSERT_EQ(open.openResult, S_OK);
    CDrawDevice& drawDevice = open.drawDevice;
    ASSERT_NE(drawDevice.device, nullptr);
    EXPECT_EQ(drawDevice.viewport.Width, 64u);
    EXPECT_EQ(drawDevice.viewport.Height, 48u);
    EXPECT_EQ(drawDevice.viewport.MaxZ, 1.0f);
    EXPECT_TRUE(drawDevice.statesDirty);
    EXPECT_EQ(drawDevice.focusWindow, open.window.Handle());
    RECT windowRect{};
    GetWindowRect(open.window.Handle(), &windowRect);
    EXPECT_EQ(drawDevice.savedWindowState.window, open.window.Handle());
    EXPECT_EQ(drawDevice.savedWindowState.rectangle.right, windowRect.right);
    EXPECT_EQ(drawDevice.savedWindowState.style, GetWindowLongW(open.window.Handle(), GWL_STYLE));
    EXPECT_NE(drawDevice.savedWindowState.style & WS_CAPTION, 0);
    EXPECT_NE(drawDevice.FindTextureRegistry(L"default"), nullptr);
    EXPECT_NE(drawDevice.FindMeshRegistry(L"default"), nullptr);
    EXPECT_EQ(drawDevice.FindTextureRegistry(L"Default"), nullptr);

    drawDevice.Close();
    drawDevice.Close();
    EXPECT_EQ(drawDevice.device, nullptr);
    EXPECT_FALSE(drawDevice.statesDirty);
    EXPECT_EQ(drawDevice.focusWindow, nullptr);
    EXPECT_EQ(drawDevice.savedWindowState.window, nullptr);
    EXPECT_EQ(drawDevice.presentParameters.BackBufferWidth, 0u);
    EXPECT_EQ(drawDevice.FindTextureRegistry(L"default"), nullptr);
    Texture* texture = nullptr;
    EXPECT_EQ(drawDevice.GetTexture(L"default", L"a.jpg", &texture), 0);
    Mesh* mesh = nullptr;
    EXPECT_EQ(drawDevice.GetSphereMesh(L"default", &mesh), 0);
    IDirect3DDevice9* device = nullptr;
    EXPECT_FALSE(drawDevice.GetDevice(&device));
    EXPECT_EQ(drawDevice.Reset(), CO_E_NOTINITIALIZED);
}

TEST(DrawDevice, CreationTriesHardwareThenSoftwareVertexProcessingThenTheReferenceRasteriser)
{
    TestWindow window(32, 32);
    const D3DPRESENT_PARAMETERS parameters = WindowPresentParameters(window.Handle());
    using Attempt = FailingDirect3D::Attempt;
    {
        FailingDirect3D direct3D(1);
        CDrawDevice drawDevice;
        ASSERT_EQ(drawDevice.Open(&direct3D, nullptr, window.Handle(), parameters, nullptr, false, false, false), S_OK);
        EXPECT_EQ(direct3D.attempts, (std::vector<Attempt>{{D3DDEVTYPE_HAL, hardware}, {D3DDEVTYPE_HAL, software}}));
    }
    {
        FailingDirect3D direct3D(3);
        CDrawDevice drawDevice;
        EXPECT_EQ(drawDevice.Open(&direct3D, nullptr, window.Handle(), parameters, nullptr, true, false, false),
                  D3DERR_NOTAVAILABLE);
        const DWORD mt = D3DCREATE_MULTITHREADED;
        EXPECT_EQ(direct3D.attempts, (std::vector<Attempt>{{D3DDEVTYPE_HAL, mt | hardware},
                                                           {D3DDEVTYPE_HAL, mt | software},
                                                           {D3DDEVTYPE_REF, mt | software}}));
        EXPECT_EQ(drawDevice.device, nullptr);
        EXPECT_EQ(drawDevice.FindTextureRegistry(L"default"), nullptr);
    }
    {
        FailingDirect3D direct3D(0);
        CDrawDevice drawDevice;
        ASSERT_EQ(drawDevice.Open(&direct3D, nullptr, window.Handle(), parameters, nullptr, false, false, true), S_OK);
        EXPECT_EQ(direct3D.attempts, (std::vector<Attempt>{{D3DDEVTYPE_REF, software}}));
    }
}

TEST(DrawDevice, AMachineWithoutAHalDeviceGetsTheReferenceRasteriser)
{
    test_controls::SetDeviceTypeFails(D3DDEVTYPE_HAL, true);
    OpenDrawDevice open(32, 32, nullptr);
    ASSERT_EQ(open.openResult, S_OK);
    D3DDEVICE_CREATION_PARAMETERS creation{};
    open.drawDevice.device->GetCreationParameters(&creation);
    EXPECT_EQ(creation.DeviceType, D3DDEVTYPE_REF);
}

TEST(DrawDevice, AFailedCreateLeavesTheCurrentDrawDeviceAlone)
{
    TestWindow window(32, 32);
    const D3DPRESENT_PARAMETERS parameters = WindowPresentParameters(window.Handle());
    EXPECT_EQ(CDrawDevice::Create(nullptr, nullptr, window.Handle(), parameters, nullptr, false, false, false),
              E_INVALIDARG);
    FailingDirect3D direct3D(3);
    EXPECT_EQ(CDrawDevice::Create(&direct3D, nullptr, window.Handle(), parameters, nullptr, false, false, false),
              D3DERR_NOTAVAILABLE);
    EXPECT_EQ(SceneResources.drawDevice, nullptr);
    BOOL windowed = TRUE;
    EXPECT_FALSE(IsDrawDeviceWindowed(&windowed));
    EXPECT_FALSE(windowed);
    EXPECT_FALSE(IsDrawDeviceWindowed(nullptr));

    ASSERT_EQ(CDrawDevice::Create(&direct3D, nullptr, window.Handle(), parameters, nullptr, false, false, false), S_OK);
    ASSERT_NE(SceneResources.drawDevice, nullptr);
    EXPECT_TRUE(IsDrawDeviceWindowed(&windowed));
    EXPECT_TRUE(windowed);
    ReleaseSceneResources();
    EXPECT_EQ(SceneResources.drawDevice, nullptr);
}

// A size the parameters leave at 0 comes from the client area: for the viewport only that one,
// for the aspect ratio both.
TEST(DrawDevice, ZeroBackBufferSizesTakeTheClientSize)
{
    TestWindow window(800, 500);
    D3DPRESENT_PARAMETERS parameters = WindowPresentParameters(window.Handle());
    parameters.BackBufferWidth = 0;
    parameters.BackBufferHeight = 600;
    IDirect3D9* direct3D = Direct3DCreate9(D3D_SDK_VERSION);
    CDrawDevice drawDevice;
    ASSERT_EQ(drawDevice.Open(direct3D, nullptr, window.Handle(), parameters, nullptr, false, false, false), S_OK);
    EXPECT_EQ(drawDevice.viewport.Width, 800u);
    EXPECT_EQ(drawDevice.viewport.Height, 600u);
    drawDevice.presentParameters.BackBufferWidth = 0;
    EXPECT_FLOAT_EQ(drawDevice.GetAspectRatio(), 1.6f);
    drawDevice.presentParameters.BackBufferWidth = 300;
    EXPECT_FLOAT_EQ(drawDevice.GetAspectRatio(), 0.5f);
    drawDevice.Close();
    direct3D->Release();
}

// Records the handler's notifications together with what the textures show at that moment.
class CheckingHandler final : public CResetDeviceHandler {
public:
    explicit CheckingHandler(std::vector<std::string>* log) : log_(log) {}
    TextureRegistry* textures = nullptr;
    void OnLostDevice() override { log_->push_back("handler lost, textures " + TextureState()); }
    void OnResetDevice() override { log_->push_back("handler reset, textures " + TextureState()); }

private:
    std::string TextureState() const
    {
        std::string state;
        for (const auto& entry : textures->Textures())
            state += entry.second->videoTexture != nullptr ? "+" : "-";
        return state;
    }
    std::vector<std::string>* log_;
};

// With two textures and one mesh: every texture loses its copy before the handler hears of the
// loss; the handler hears of the reset before any texture has its copy back; then all do.
TEST(DrawDevice, ResetTellsTexturesAndMeshesThenTheHandlerAndTheHandlerFirstAfterwards)
{
    TempDirectory dir;
    WriteSmallViewerData(dir.Path());
    WriteDataFile(dir.Path(), "Data/other.jpg", StandInEarthImage());
    std::vector<std::string> log;
    RefPtr<CheckingHandler> handler = new CheckingHandler(&log);
    OpenDrawDevice open(48, 32, new CFileReader4(dir.WidePath("Data").c_str()), handler);
    ASSERT_EQ(open.openResult, S_OK);
    CDrawDevice& drawDevice = open.drawDevice;
    handler->textures = drawDevice.FindTextureRegistry(L"default");
    Mesh* sphere = nullptr;
    Texture* other = nullptr;
    ASSERT_TRUE(drawDevice.GetSphereMesh(L"default", &sphere));
    ASSERT_TRUE(drawDevice.GetTexture(L"default", L"other.jpg", &other));
    ID3DXMesh* drawMesh = sphere->drawMesh;
    drawDevice.statesDirty = FALSE;

    EXPECT_EQ(drawDevice.Reset(), D3D_OK);
    EXPECT_EQ(log, (std::vector<std::string>{"handler lost, textures --", "handler reset, textures --"}));
    for (const auto& entry : handler->textures->Textures())
        EXPECT_NE(entry.second->videoTexture, nullptr);
    EXPECT_EQ(sphere->drawMesh, drawMesh);
    EXPECT_TRUE(drawDevice.statesDirty);
    EXPECT_EQ(drawDevice.device->TestCooperativeLevel(), D3D_OK);
}

// A minimised window has no client area: a back buffer sized by it would be empty, so the reset
// waits (nothing is told, nothing changes) until the window has a size again.
TEST(DrawDevice, NoResetToAnEmptyBackBufferWhileTheWindowHasNoClientArea)
{
    std::vector<std::string> log;
    RefPtr<CheckingHandler> handler = new CheckingHandler(&log);
    OpenDrawDevice open(0, 0, nullptr, handler);
    ASSERT_EQ(open.openResult, S_OK);
    CDrawDevice& drawDevice = open.drawDevice;
    handler->textures = drawDevice.FindTextureRegistry(L"default");
    RECT client{};
    GetClientRect(open.window.Handle(), &client);
    ASSERT_EQ(client.right - client.left, 0);

    drawDevice.presentParameters.BackBufferWidth = 0;
    drawDevice.presentParameters.BackBufferHeight = 0;
    EXPECT_FLOAT_EQ(drawDevice.GetAspectRatio(), 1.0f);
    EXPECT_EQ(drawDevice.Reset(), D3DERR_DEVICELOST);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(drawDevice.presentParameters.BackBufferWidth, 0u);

    drawDevice.presentParameters.BackBufferWidth = 640;  // the size the restored window reports
    drawDevice.presentParameters.BackBufferHeight = 480;
    EXPECT_EQ(drawDevice.Reset(), D3D_OK);
    EXPECT_EQ(log.size(), 2u);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(drawDevice.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    backBuffer->Release();
    EXPECT_EQ(desc.Width, 640u);
    EXPECT_EQ(desc.Height, 480u);
}

}  // namespace
}  // namespace quorvane::tests

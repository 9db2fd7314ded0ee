// Creating devices, Reset, device loss, full screen, Present into the window, and the testing
// controls that drive them.
#include <quorvane_testing.h>

#include "device_test.h"

namespace quorvane::tests {
namespace {

class Direct3DTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = std::make_unique<TestWindow>(200, 150);
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
    }
    void TearDown() override
    {
        if (d3d_) {
            EXPECT_EQ(d3d_->Release(), 0u);
        }
        window_.reset();
        test_controls::RestoreDefaults();
    }

    HRESULT Create(D3DDEVTYPE type, D3DPRESENT_PARAMETERS& pp, IDirect3DDevice9** device,
                   DWORD flags = D3DCREATE_HARDWARE_VERTEXPROCESSING)
    {
        return d3d_->CreateDevice(D3DADAPTER_DEFAULT, type, window_->Handle(), flags, &pp, device);
    }

    std::unique_ptr<TestWindow> window_;
    IDirect3D9* d3d_ = nullptr;
};

TEST_F(Direct3DTest, OnlySdkVersion32GivesARuntime)
{
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
    EXPECT_EQ(Direct3DCreate9(33), nullptr);
    test_controls::SetDirect3DAvailable(false);
    EXPECT_EQ(Direct3DCreate9(D3D_SDK_VERSION), nullptr);
    test_controls::SetDirect3DAvailable(true);
    IDirect3D9* again = Direct3DCreate9(D3D_SDK_VERSION);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->AddRef(), 2u);
    EXPECT_EQ(again->Release(), 1u);
    EXPECT_EQ(again->Release(), 0u);
}

TEST_F(Direct3DTest, AdapterModesComeFromTheDisplay)
{
    ASSERT_TRUE(test_controls::SetAdapterModes({{640, 480, 60, D3DFMT_X8R8G8B8},
                                                {640, 480, 72, D3DFMT_X8R8G8B8},
                                                {640, 480, 75, D3DFMT_X8R8G8B8},
                                                {800, 600, 60, D3DFMT_X8R8G8B8}}));
    ASSERT_TRUE(test_controls::SetDesktopSize(800, 600));
    ASSERT_EQ(d3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8), 4u);
    EXPECT_EQ(d3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT, D3DFMT_A8R8G8B8), 0u);
    EXPECT_EQ(d3d_->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, 1, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 640u);
    EXPECT_EQ(mode.RefreshRate, 72u);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(d3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, 4, &mode), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, D3DFMT_X8R8G8B8, 0, nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(mode.Height, 600u);
}

TEST_F(Direct3DTest, CreateDeviceFallsBackFromHalToRefUnderTheTestingControl)
{
    test_controls::SetDeviceTypeFails(D3DDEVTYPE_HAL, true);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window_->Handle(), 0, 0);
    IDirect3DDevice9* device = nullptr;
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, pp, &device), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, pp, &device, D3DCREATE_SOFTWARE_VERTEXPROCESSING), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(Create(D3DDEVTYPE_REF, pp, &device, D3DCREATE_SOFTWARE_VERTEXPROCESSING), D3D_OK);
    D3DDEVICE_CREATION_PARAMETERS creation{};
    device->GetCreationParameters(&creation);
    EXPECT_EQ(creation.DeviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(creation.hFocusWindow, window_->Handle());
    EXPECT_EQ(device->Release(), 0u);

    test_controls::SetDeviceTypeFails(D3DDEVTYPE_REF, true);
    EXPECT_EQ(Create(D3DDEVTYPE_REF, pp, &device, D3DCREATE_SOFTWARE_VERTEXPROCESSING), D3DERR_NOTAVAILABLE);
    test_controls::SetDeviceTypeFails(D3DDEVTYPE_HAL, false);
    ASSERT_EQ(Create(D3DDEVTYPE_HAL, pp, &device), D3D_OK);
    EXPECT_EQ(device->Release(), 0u);
}

TEST_F(Direct3DTest, ZeroBackBufferSizesAreFilledFromTheClientAreaAndWrittenBack)
{
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window_->Handle(), 0, 120);
    pp.BackBufferFormat = D3DFMT_UNKNOWN;
    pp.BackBufferCount = 0;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(Create(D3DDEVTYPE_HAL, pp, &device), D3D_OK);
    EXPECT_EQ(pp.BackBufferWidth, 200u);   // from the client area
    EXPECT_EQ(pp.BackBufferHeight, 120u);  // kept
    EXPECT_EQ(pp.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(pp.BackBufferCount, 1u);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    EXPECT_EQ(desc.Width, 200u);
    EXPECT_EQ(desc.Height, 120u);
    EXPECT_EQ(desc.Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(desc.Usage, DWORD(D3DUSAGE_RENDERTARGET));
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 200u);
    EXPECT_EQ(viewport.Height, 120u);
    backBuffer->Release();
    EXPECT_EQ(device->Release(), 0u);
}

TEST_F(Direct3DTest, CreateDeviceRejectsWhatDirect3DRejects)
{
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window_->Handle(), 64, 64);
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(1);
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, pp, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_->Handle(),
                                 D3DCREATE_HARDWARE_VERTEXPROCESSING, nullptr, &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(
        d3d_->CreateDevice(1, D3DDEVTYPE_HAL, window_->Handle(), D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, pp, &device, 0), D3DERR_INVALIDCALL);  // no vertex processing
    EXPECT_EQ(
        Create(D3DDEVTYPE_HAL, pp, &device, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_SOFTWARE_VERTEXPROCESSING),
        D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, pp, &device, D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(Create(D3DDEVTYPE_SW, pp, &device), D3DERR_INVALIDCALL);
    D3DPRESENT_PARAMETERS bad = pp;
    bad.SwapEffect = D3DSWAPEFFECT(0);
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, bad, &device), D3DERR_INVALIDCALL);
    bad = pp;
    bad.AutoDepthStencilFormat = D3DFMT_A8R8G8B8;
    EXPECT_EQ(Create(D3DDEVTYPE_HAL, bad, &device), D3DERR_INVALIDCALL);
    bad = pp;
    bad.hDeviceWindow = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, D3DCREATE_HARDWARE_VERTEXPROCESSING, &bad,
                                 &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);
}

TEST_F(Direct3DTest, ResourcesKeepTheirDeviceAliveAndCountReferencesAsCom)
{
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window_->Handle(), 64, 64);
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(Create(D3DDEVTYPE_HAL, pp, &device), D3D_OK);
    EXPECT_EQ(d3d_->AddRef(), 3u);  // the fixture's, the device's and this one
    EXPECT_EQ(d3d_->Release(), 2u);

    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    EXPECT_EQ(device->AddRef(), 3u);  // one for the texture
    EXPECT_EQ(device->Release(), 2u);
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(texture->GetSurfaceLevel(0, &level), D3D_OK);
    EXPECT_EQ(texture->AddRef(), 3u);  // a level counts on its texture
    EXPECT_EQ(texture->Release(), 2u);
    IDirect3DDevice9* owner = nullptr;
    ASSERT_EQ(texture->GetDevice(&owner), D3D_OK);
    EXPECT_EQ(owner, device);
    EXPECT_EQ(owner->Release(), 2u);

    // The application lets go of the device first; the texture keeps it.
    EXPECT_EQ(device->Release(), 1u);
    device->SetTexture(0, texture);  // still usable
    EXPECT_EQ(level->Release(), 1u);
    IDirect3DTexture9* container = nullptr;
    EXPECT_EQ(texture->QueryInterface(IID_IDirect3DTexture9, reinterpret_cast<void**>(&container)), S_OK);
    EXPECT_EQ(container, texture);
    EXPECT_EQ(container->Release(), 1u);
    void* nothing = nullptr;
    EXPECT_EQ(texture->QueryInterface(IID_IDirect3DVertexBuffer9, &nothing), E_NOINTERFACE);
    EXPECT_EQ(texture->Release(), 0u);  // the texture goes, then the device, then the binding
    EXPECT_EQ(d3d_->AddRef(), 2u);      // the device let go of the runtime
    EXPECT_EQ(d3d_->Release(), 1u);
}

class ResetTest : public DeviceTest {};

TEST_F(ResetTest, RefusedWhileADefaultPoolTextureLivesAndDoneAfterItsRelease)
{
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &texture, nullptr), D3D_OK);
    IDirect3DTexture9* systemTexture = nullptr;
    ASSERT_EQ(device()->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_SYSTEMMEM, &systemTexture, nullptr), D3D_OK);
    device()->SetTexture(0, texture);
    D3DPRESENT_PARAMETERS pp = Parameters();
    EXPECT_EQ(device()->Reset(&pp), D3DERR_INVALIDCALL);
    EXPECT_EQ(device()->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);  // the failed Reset must be repeated
    EXPECT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    texture->Release();  // still bound, but released by the application
    EXPECT_EQ(device()->Reset(&pp), D3D_OK);
    EXPECT_EQ(device()->TestCooperativeLevel(), D3D_OK);
    IDirect3DBaseTexture9* bound = reinterpret_cast<IDirect3DBaseTexture9*>(1);
    device()->GetTexture(0, &bound);
    EXPECT_EQ(bound, nullptr);  // Reset unbinds
    D3DLOCKED_RECT locked{};
    EXPECT_EQ(systemTexture->LockRect(0, &locked, nullptr, 0), D3D_OK);  // system memory survives
    systemTexture->UnlockRect(0);
    systemTexture->Release();
}

TEST_F(ResetTest, AHeldBackBufferAlsoBlocksReset)
{
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DPRESENT_PARAMETERS pp = Parameters();
    EXPECT_EQ(device()->Reset(&pp), D3DERR_INVALIDCALL);
    backBuffer->Release();
    EXPECT_EQ(device()->Reset(&pp), D3D_OK);
}

TEST_F(ResetTest, NewBackBufferSizesResizeAndStatesReturnToDefaults)
{
    device()->SetRenderState(D3DRS_LIGHTING, FALSE);
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window(), 32, 16);
    ASSERT_EQ(device()->Reset(&pp), D3D_OK);
    IDirect3DSurface9* backBuffer = nullptr;
    ASSERT_EQ(device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer), D3D_OK);
    D3DSURFACE_DESC desc{};
    backBuffer->GetDesc(&desc);
    backBuffer->Release();
    EXPECT_EQ(desc.Width, 32u);
    EXPECT_EQ(desc.Height, 16u);
    D3DVIEWPORT9 viewport{};
    device()->GetViewport(&viewport);
    EXPECT_EQ(viewport.Width, 32u);
    DWORD lighting = FALSE;
    device()->GetRenderState(D3DRS_LIGHTING, &lighting);
    EXPECT_EQ(lighting, DWORD(TRUE));
}

TEST_F(ResetTest, LostThenNotResetThenReset)
{
    EXPECT_EQ(device()->TestCooperativeLevel(), D3D_OK);
    test_controls::LoseDevice(device());
    EXPECT_EQ(device()->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    // Drawing goes on without complaint while lost.
    EXPECT_EQ(device()->BeginScene(), D3D_OK);
    EXPECT_EQ(device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0), D3D_OK);
    EXPECT_EQ(device()->EndScene(), D3D_OK);
    D3DPRESENT_PARAMETERS pp = Parameters();
    EXPECT_EQ(device()->Reset(&pp), D3DERR_DEVICELOST);  // too early

    test_controls::MakeDeviceResettable(device());
    EXPECT_EQ(device()->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device()->Reset(&pp), D3D_OK);
    EXPECT_EQ(device()->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(ResetTest, FullScreenSetsTheDisplayModeToTheBackBufferSize)
{
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window(), 800, 600);
    pp.Windowed = FALSE;
    ASSERT_EQ(device()->Reset(&pp), D3D_OK);
    D3DDISPLAYMODE mode{};
    direct3d()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    EXPECT_EQ(mode.Width, 800u);
    EXPECT_EQ(mode.Height, 600u);

    pp.Windowed = TRUE;
    ASSERT_EQ(device()->Reset(&pp), D3D_OK);
    direct3d()->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
    EXPECT_EQ(mode.Width, 1920u);  // the headless desktop
    EXPECT_EQ(mode.Height, 1080u);

    pp.Windowed = FALSE;
    pp.BackBufferWidth = 801;  // not a mode of the adapter
    EXPECT_EQ(device()->Reset(&pp), D3DERR_INVALIDCALL);
}

TEST_F(ResetTest, PresentShowsTheBackBufferInTheWindow)
{
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF204060, 1.0f, 0);
    ASSERT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    ASSERT_TRUE(test_controls::ReadWindowImage(window(), width, height, pixels));
    ASSERT_EQ(width, backBufferWidth);
    ASSERT_EQ(height, backBufferHeight);
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x204060u);
    EXPECT_EQ(pixels.back() & 0xFFFFFF, 0x204060u);
    RECT source{0, 0, 4, 4};
    EXPECT_EQ(device()->Present(&source, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    device()->BeginScene();
    EXPECT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    device()->EndScene();
}

TEST_F(ResetTest, PresentStretchesABackBufferOfAnotherSize)
{
    D3DPRESENT_PARAMETERS pp = WindowedParameters(window(), backBufferWidth / 2, backBufferHeight / 2);
    ASSERT_EQ(device()->Reset(&pp), D3D_OK);
    D3DRECT left{0, 0, LONG(backBufferWidth / 4), LONG(backBufferHeight / 2)};
    device()->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    device()->Clear(1, &left, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    ASSERT_EQ(device()->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    ASSERT_TRUE(test_controls::ReadWindowImage(window(), width, height, pixels));
    ASSERT_EQ(width, backBufferWidth);
    EXPECT_EQ(pixels[size_t(10) * width + backBufferWidth / 2 - 1] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(pixels[size_t(10) * width + backBufferWidth / 2] & 0xFFFFFF, 0x0000FFu);
}

}  // namespace
}  // namespace quorvane::tests

#include "viewer_scene.h"

#include <quorvane_testing.h>

#include "app/interface_texts.h"
#include "app/settings.h"
#include "graphics/draw_device.h"
#include "graphics/scene_resources.h"
#include "scene/camera.h"
#include "scene/render_frame.h"
#include "scene/session_state.h"
#include "scene/stereographic_projection.h"

#include <cmath>

namespace quorvane::tests {

BOOL CountingReader::OpenFile(LPCVOID* data, DWORD* size, LPCWSTR name)
{
    ++opens_[name];
    return CFileReader4::OpenFile(data, size, name);
}

int CountingReader::Opens(const std::wstring& name) const
{
    auto entry = opens_.find(name);
    return entry != opens_.end() ? entry->second : 0;
}

OpenDrawDevice::OpenDrawDevice(UINT width, UINT height, RefPtr<CFileReaderBase4> reader,
                               RefPtr<CResetDeviceHandler> resetHandler)
    : window(static_cast<int>(width), static_cast<int>(height)), direct3D(Direct3DCreate9(D3D_SDK_VERSION))
{
    openResult = drawDevice.Open(direct3D, std::move(reader), window.Handle(), WindowPresentParameters(window.Handle()),
                                 std::move(resetHandler), false, false, false);
}

OpenDrawDevice::~OpenDrawDevice()
{
    drawDevice.Close();
    if (direct3D != nullptr)
        direct3D->Release();
    test_controls::RestoreDefaults();
}

void RestoreStartupState()
{
    LoadInterfaceTexts(GetModuleHandleW(nullptr));
    ViewerSettings = InitSettings(L"");
    ResetEarthAndCamera();
    ViewerSession = SessionStateRecord{};
}

ViewerScene::ViewerScene(UINT width, UINT height)
    : width_(width), height_(height), window_(static_cast<int>(width), static_cast<int>(height))
{
    RestoreStartupState();
    direct3D_ = Direct3DCreate9(D3D_SDK_VERSION);
}

ViewerScene::~ViewerScene()
{
    ReleaseSceneResources();
    if (direct3D_ != nullptr)
        direct3D_->Release();
    test_controls::RestoreDefaults();
    RestoreStartupState();
}

HRESULT ViewerScene::Initialize(RefPtr<CFileReaderBase4> reader, StartupProgress* progress)
{
    return CDrawDevice::Initialize(Window(), WindowPresentParameters(Window()), std::move(reader), direct3D_, false,
                                   false, progress);
}

std::vector<DWORD> ViewerScene::Frame()
{
    RenderFrame();
    UINT width = 0, height = 0;
    std::vector<DWORD> pixels;
    if (!test_controls::ReadWindowImage(Window(), width, height, pixels) || width != width_ || height != height_)
        return {};
    return pixels;
}

POINT ViewerScene::ScreenPoint(const D3DXVECTOR3& world) const
{
    D3DXMATRIX view, projection;
    BuildViewMatrix(&view, nullptr);
    BuildProjectionMatrix(static_cast<float>(width_) / static_cast<float>(height_), &projection);
    const D3DXMATRIX viewProjection = view * projection;
    D3DXVECTOR3 ndc;
    D3DXVec3TransformCoord(&ndc, &world, &viewProjection);
    return POINT{static_cast<LONG>(std::floor((ndc.x + 1.0f) * 0.5f * static_cast<float>(width_))),
                 static_cast<LONG>(std::floor((1.0f - ndc.y) * 0.5f * static_cast<float>(height_)))};
}

D3DXVECTOR3 ImagePoint(const D3DXVECTOR3& model, float lift)
{
    D3DXMATRIX orientation;
    D3DXMatrixRotationQuaternion(&orientation, &earthOrientation);
    const D3DXMATRIX toImage = orientation * StereographicMatrix;
    D3DXVECTOR3 image;
    D3DXVec3TransformCoord(&image, &model, &toImage);
    image.y += lift;
    return image;
}

}  // namespace quorvane::tests

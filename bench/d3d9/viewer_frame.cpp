#include "viewer_frame.h"

#include <epoxy/gl.h>

#include <cstring>
#include <string>

#include "program_data.h"
#include "scene/camera.h"
#include "scene/guide_lines.h"
#include "scene/line_material.h"
#include "scene/stereographic_projection.h"
#include "scene_helpers.h"

namespace quorvane::bench {

namespace {

constexpr float fieldOfView = 1.0471967f;  // 60 degrees
constexpr int lineStrips = 46;             // the default graticule: 11 latitudes and 12 great circles, twice
constexpr int lineSegments = 100;

const wchar_t* const helpLines[] = {L"左ドラッグ：地球の回転", L"右ドラッグ：カメラ回転",
                                    L"マウスホイール：カメラ前後移動", L"ダブルクリック：フルスクリーン切り替え"};

template <class Object>
void SafeRelease(Object*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

}  // namespace

ViewerFrame::ViewerFrame(UINT width, UINT height) : fixture_(width, height)
{
    IDirect3DDevice9* device = Device();
    if (!device || !LoadMesh() || !LoadEarthTexture())
        return;
    D3DXFONT_DESCW desc = tests::HelpFontDesc();
    D3DXCreateFontIndirectW(device, &desc, &font_);
    // An orbit the user might leave the camera at: raised half a radian, the Earth turned a
    // little, so that its image fills the plane below it.
    cameraElevation = 0.5f;
    cameraAzimuth = 0.3f;
    earthOrientation = D3DXQUATERNION(0, 0, 0, 1);
    DragRotateEarth(40, 25);
    SetCamera();
    ApplyFixedStates();
}

ViewerFrame::~ViewerFrame()
{
    SafeRelease(font_);
    SafeRelease(earth_);
    SafeRelease(source_);
    SafeRelease(mesh_);
}

// As the program loads Data\mdl\sphere.x: into system memory, in the 0x112 layout, reordered
// for the vertex cache.
bool ViewerFrame::LoadMesh()
{
    ID3DXBuffer* materials = nullptr;
    mesh_ = tests::LoadProgramMesh(Device(), tests::ReadDataFile("sphere.x"), &materials, &materialCount_);
    if (!mesh_)
        return false;
    inputs_.material = static_cast<D3DXMATERIAL*>(materials->GetBufferPointer())[0].MatD3D;
    inputs_.material.Ambient = inputs_.material.Diffuse;
    materials->Release();

    inputs_.vertexCount = mesh_->GetNumVertices();
    inputs_.vertices.resize(size_t{inputs_.vertexCount} * mesh_->GetNumBytesPerVertex());
    void* data = nullptr;
    mesh_->LockVertexBuffer(D3DLOCK_READONLY, &data);
    std::memcpy(inputs_.vertices.data(), data, inputs_.vertices.size());
    mesh_->UnlockVertexBuffer();
    inputs_.indices.resize(size_t{mesh_->GetNumFaces()} * 3);
    mesh_->LockIndexBuffer(D3DLOCK_READONLY, &data);
    bool wide = (mesh_->GetOptions() & D3DXMESH_32BIT) != 0;
    for (size_t i = 0; i < inputs_.indices.size(); ++i)
        inputs_.indices[i] = wide ? static_cast<const std::uint32_t*>(data)[i] : static_cast<const WORD*>(data)[i];
    mesh_->UnlockIndexBuffer();
    return true;
}

// As the program loads the Earth image: decoded into system memory, copied into a
// default-pool texture of one level.
bool ViewerFrame::LoadEarthTexture()
{
    earth_ = tests::LoadProgramTexture(Device(), tests::ReadDataFile("EarthMap_2500x1250.jpg"), &source_);
    if (!earth_)
        return false;
    D3DSURFACE_DESC desc{};
    source_->GetLevelDesc(0, &desc);

    inputs_.textureWidth = desc.Width;
    inputs_.textureHeight = desc.Height;
    inputs_.texels.resize(size_t{desc.Width} * desc.Height);
    D3DLOCKED_RECT locked{};
    source_->LockRect(0, &locked, nullptr, D3DLOCK_READONLY);
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&inputs_.texels[size_t{y} * desc.Width],
                    static_cast<BYTE*>(locked.pBits) + size_t{y} * locked.Pitch, size_t{desc.Width} * 4);
    source_->UnlockRect(0);
    return true;
}

void ViewerFrame::SetCamera()
{
    const D3DVIEWPORT9 size{0, 0, fixture_.width(), fixture_.height(), 0, 1};
    D3DXMatrixPerspectiveFovLH(&inputs_.projection, fieldOfView, float(size.Width) / float(size.Height), 1.0f, 1000.0f);
    BuildViewMatrix(&inputs_.view, nullptr);
    D3DXMatrixRotationQuaternion(&inputs_.rotation, &earthOrientation);
    D3DLIGHT9& light = inputs_.light;
    light = D3DLIGHT9{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Specular = {0, 0, 0, 1};
    light.Ambient = {1, 1, 1, 1};
    light.Direction = {1, -1, 1};
}

void ViewerFrame::ApplyFixedStates()
{
    IDirect3DDevice9* device = Device();
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 0);
}

void ViewerFrame::DrawTextured()
{
    for (DWORD i = 0; i < materialCount_; ++i) {
        Device()->SetMaterial(&inputs_.material);
        Device()->SetTexture(0, earth_);
        mesh_->DrawSubset(i);
    }
}

void ViewerFrame::DrawFlat(const D3DCOLORVALUE& colour)
{
    Device()->SetTexture(0, nullptr);
    D3DMATERIAL9 material{};
    material.Diffuse = material.Ambient = material.Specular = {0, 0, 0, colour.a};
    material.Emissive = colour;
    Device()->SetMaterial(&material);
    for (DWORD i = 0; i < materialCount_; ++i)
        mesh_->DrawSubset(i);
}

void ViewerFrame::DrawScene()
{
    IDirect3DDevice9* device = Device();
    device->BeginScene();
    device->SetTransform(D3DTS_PROJECTION, &inputs_.projection);
    device->SetTransform(D3DTS_VIEW, &inputs_.view);
    device->LightEnable(0, TRUE);
    device->SetLight(0, &inputs_.light);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);

    const D3DXMATRIX& rotation = inputs_.rotation;
    D3DXMATRIX world = rotation * StereographicMatrix;
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    DrawTextured();
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);

    device->SetTransform(D3DTS_WORLD, &rotation);
    DrawTextured();
    D3DXMATRIX scaling;
    D3DXMatrixScaling(&scaling, 1.1f, 1.1f, 1.1f);
    world = scaling * rotation;
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CW);
    DrawFlat({1, 1, 1, 1});
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);

    DrawGuideLines(device, TRUE, 15, TRUE, 15, lineSegments, rotation, ColorValueFromArgb(0xFF00FF00),
                   ColorValueFromArgb(0xFF0000FF), ColorValueFromArgb(0xFFFF0000));
    LONG top = 8;
    for (const wchar_t* line : helpLines) {
        RECT shadow{9, top, 10000, 10000};
        RECT text{8, top, 10000, 10000};
        font_->DrawTextW(nullptr, line, -1, &shadow, 0, 0xFF4F4F4F);
        font_->DrawTextW(nullptr, line, -1, &text, 0, 0xFFFFFFFF);
        top += 24;
    }
    device->EndScene();
}

void ViewerFrame::Draw()
{
    DrawScene();
    Device()->Present(nullptr, nullptr, nullptr, nullptr);
    // Present keeps the frame on the GPU for the window without waiting for it: finishing it
    // makes the time cover the whole frame, as the floor's read-back does for the floor.
    glFinish();
}

void ViewerFrame::DrawWithoutPresent()
{
    DrawScene();
    glFinish();  // the device's context is current after its calls
}

UINT ViewerFrame::VerticesPerFrame() const
{
    return 3 * inputs_.vertexCount + lineStrips * (lineSegments + 1);
}

}  // namespace quorvane::bench

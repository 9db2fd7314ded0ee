#include "viewer_frame.h"

#include <epoxy/gl.h>

#include <cstring>

#include "graphics/scene_resources.h"
#include "program_data.h"
#include "resources/mesh.h"
#include "resources/texture.h"
#include "scene/camera.h"
#include "scene/render_frame.h"

namespace quorvane::bench {

namespace {

constexpr float fieldOfView = 1.0471967f;  // 60 degrees
constexpr int lineStrips = 46;             // the default graticule: 11 latitudes and 12 great circles, twice
constexpr int lineSegments = 100;          // the default line density

}  // namespace

ViewerFrame::ViewerFrame(UINT width, UINT height) : scene_(width, height)
{
    if (FAILED(scene_.Initialize(tests::DataReader())) || !ReadMesh() || !ReadEarthTexture())
        return;
    // An orbit the user might leave the camera at: raised half a radian, the Earth turned a
    // little, so that its image fills the plane below it.
    cameraElevation = 0.5f;
    cameraAzimuth = 0.3f;
    DragRotateEarth(40, 25);
    ReadCamera();
    ready_ = true;
}

IDirect3DDevice9* ViewerFrame::Device() const
{
    return SceneResources.drawDevice != nullptr ? SceneResources.drawDevice->device : nullptr;
}

bool ViewerFrame::ReadMesh()
{
    const Mesh* sphere = SceneResources.sphereMesh;
    if (sphere == nullptr || sphere->drawMesh == nullptr || sphere->materials.empty())
        return false;
    ID3DXMesh* mesh = sphere->drawMesh;
    inputs_.material = sphere->materials[0];
    inputs_.vertexCount = mesh->GetNumVertices();
    inputs_.vertices.resize(size_t{inputs_.vertexCount} * mesh->GetNumBytesPerVertex());
    void* data = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &data);
    std::memcpy(inputs_.vertices.data(), data, inputs_.vertices.size());
    mesh->UnlockVertexBuffer();
    inputs_.indices.resize(size_t{mesh->GetNumFaces()} * 3);
    mesh->LockIndexBuffer(D3DLOCK_READONLY, &data);
    bool wide = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    for (size_t i = 0; i < inputs_.indices.size(); ++i)
        inputs_.indices[i] = wide ? static_cast<const std::uint32_t*>(data)[i] : static_cast<const WORD*>(data)[i];
    mesh->UnlockIndexBuffer();
    return true;
}

bool ViewerFrame::ReadEarthTexture()
{
    const Texture* earth = SceneResources.earthTexture;
    D3DSURFACE_DESC desc{};
    if (earth == nullptr || earth->sourceTexture == nullptr || FAILED(earth->sourceTexture->GetLevelDesc(0, &desc)))
        return false;
    inputs_.textureWidth = desc.Width;
    inputs_.textureHeight = desc.Height;
    inputs_.texels.resize(size_t{desc.Width} * desc.Height);
    D3DLOCKED_RECT locked{};
    if (FAILED(earth->sourceTexture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY)))
        return false;
    for (UINT y = 0; y < desc.Height; ++y)
        std::memcpy(&inputs_.texels[size_t{y} * desc.Width],
                    static_cast<BYTE*>(locked.pBits) + size_t{y} * locked.Pitch, size_t{desc.Width} * 4);
    earth->sourceTexture->UnlockRect(0);
    return true;
}

// The camera, projection and light RenderFrame sets for the current state.
void ViewerFrame::ReadCamera()
{
    D3DXMatrixPerspectiveFovLH(&inputs_.projection, fieldOfView, float(scene_.Width()) / float(scene_.Height()), 1.0f,
                               1000.0f);
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

void ViewerFrame::Draw()
{
    RenderFrame();
    // Present keeps the frame on the GPU for the window without waiting for it: finishing it
    // makes the time cover the whole frame, as the floor's read-back does for the floor. The
    // device's context is current after its calls.
    glFinish();
}

void ViewerFrame::PresentAgain()
{
    Device()->Present(nullptr, nullptr, nullptr, nullptr);
    glFinish();
}

UINT ViewerFrame::VerticesPerFrame() const
{
    return 3 * inputs_.vertexCount + lineStrips * (lineSegments + 1);
}

}  // namespace quorvane::bench

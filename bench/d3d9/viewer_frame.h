// The viewer's own frame on the headless display: the scene started by CDrawDevice::Initialize
// with the real data files and drawn by RenderFrame, as the viewer draws it (the Earth image on
// the plane, the Earth, the white rim, the 46 guide-line strips of the default settings, the help
// overlay with the eye position, Present); and what that frame draws, read from the loaded
// scene, for drawing the same picture another way.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <vector>

#include "viewer_scene.h"

namespace quorvane::bench {

// What the frame draws, for drawing the same picture another way.
struct FrameInputs {
    std::vector<BYTE> vertices;  // the mesh's vertices, 32 bytes each (position, normal, uv)
    UINT vertexCount = 0;
    std::vector<std::uint32_t> indices;  // its triangle list
    UINT textureWidth = 0;
    UINT textureHeight = 0;
    std::vector<DWORD> texels;  // the Earth texture, 0xAARRGGBB, top row first
    D3DMATERIAL9 material{};    // the mesh's one material
    D3DLIGHT9 light{};
    D3DXMATRIX view;
    D3DXMATRIX projection;
    D3DXMATRIX rotation;  // the Earth's orientation
};

class ViewerFrame {
public:
    ViewerFrame(UINT width, UINT height);
    ViewerFrame(const ViewerFrame&) = delete;
    ViewerFrame& operator=(const ViewerFrame&) = delete;

    bool Ready() const { return ready_; }
    IDirect3DDevice9* Device() const;
    HWND Window() const { return scene_.Window(); }
    const FrameInputs& Inputs() const { return inputs_; }

    // One frame by RenderFrame, Present included, its drawing finished (glFinish).
    void Draw();
    // The last frame presented once more, finished: what Present adds to a frame.
    void PresentAgain();

    // Vertices the device transforms in one frame: three meshes and the line strips.
    UINT VerticesPerFrame() const;

private:
    bool ReadMesh();
    bool ReadEarthTexture();
    void ReadCamera();

    tests::ViewerScene scene_;
    bool ready_ = false;
    FrameInputs inputs_;
};

}  // namespace quorvane::bench

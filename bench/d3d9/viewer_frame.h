// The viewer's frame through Direct3D 9 and D3DX on the headless display, call for call as the
// program renders it: the sphere of Data/mdl/sphere.x loaded as a system-memory ID3DXMesh and
// drawn with DrawSubset three times (the Earth image on the plane, the Earth, the white rim),
// the 46 guide-line strips of the default settings, the four help lines with their shadows
// (eight DrawTextW calls), Present.
#pragma once

#include <d3dx9.h>

#include <cstdint>
#include <vector>

#include "device_fixture.h"

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
    ~ViewerFrame();
    ViewerFrame(const ViewerFrame&) = delete;
    ViewerFrame& operator=(const ViewerFrame&) = delete;

    bool Ready() const { return earth_ != nullptr && mesh_ != nullptr && font_ != nullptr; }
    IDirect3DDevice9* Device() const { return fixture_.device(); }
    HWND Window() const { return fixture_.window(); }
    const FrameInputs& Inputs() const { return inputs_; }

    // One frame as the program renders it, ending with Present.
    void Draw();
    // The same frame without Present, its drawing finished (glFinish).
    void DrawWithoutPresent();

    // Vertices the device transforms in one frame: three meshes and the line strips.
    UINT VerticesPerFrame() const;

private:
    bool LoadMesh();
    bool LoadEarthTexture();
    void SetCamera();
    void ApplyFixedStates();
    void DrawScene();
    void DrawTextured();
    void DrawFlat(const D3DCOLORVALUE& colour);

    tests::DeviceFixture fixture_;
    ID3DXMesh* mesh_ = nullptr;
    DWORD materialCount_ = 0;
    IDirect3DTexture9* source_ = nullptr;  // the decoded image, system memory
    IDirect3DTexture9* earth_ = nullptr;   // its default-pool copy, the one drawn
    ID3DXFont* font_ = nullptr;
    FrameInputs inputs_;
};

}  // namespace quorvane::bench

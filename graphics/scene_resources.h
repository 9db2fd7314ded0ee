// The process-wide record of what the frame draws with: the current draw device, the font, the
// white texture, the Earth texture and the sphere mesh.
#pragma once

#include <d3dx9.h>
#include <windows.h>

class CDrawDevice;
class Mesh;
class Texture;

struct SceneResourcesRecord {
    CDrawDevice* drawDevice = nullptr;  // owned; published by CDrawDevice::Create
    ID3DXFont* font = nullptr;          // one COM reference
    Texture* whiteTexture = nullptr;    // one reference each, set "default"
    Texture* earthTexture = nullptr;
    Mesh* sphereMesh = nullptr;

    constexpr SceneResourcesRecord() = default;
    // The scene still loaded at process exit is released here.
    ~SceneResourcesRecord() { Release(); }
    SceneResourcesRecord(const SceneResourcesRecord&) = delete;
    SceneResourcesRecord& operator=(const SceneResourcesRecord&) = delete;

    // Hands every mesh and texture back to its registry, then releases the font, then closes and
    // deletes the draw device (with its registries and device). Each member becomes null.
    void Release();
};

extern SceneResourcesRecord SceneResources;

// SceneResources.Release(): safe on an empty record.
void ReleaseSceneResources();

// The overlay font's height in pixels; the help overlay's lines are this far apart.
constexpr INT overlayFontHeight = 24;

// The overlay font: overlayFontHeight pixels high, 8 wide, thin, the system's choice of face.
D3DXFONT_DESCW OverlayFontDescription();

// A new 1 x 1 opaque white texture in the set "default", keyed by the registry's next number
// (1 for the first), stored in *texture with one reference. FALSE without a device or registry.
BOOL CreateDefaultTexture(CDrawDevice* drawDevice, Texture** texture);

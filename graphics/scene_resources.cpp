// The scene record and its release, in the order that returns every mesh and texture to its
// registry before the registries go.
#include "graphics/scene_resources.h"

#include "graphics/draw_device.h"
#include "resources/mesh.h"
#include "resources/texture.h"

#include <utility>

SceneResourcesRecord SceneResources;

namespace {

template <class T>
void ReleaseMember(T*& member)
{
    if (member != nullptr)
        std::exchange(member, nullptr)->Release();
}

}  // namespace

void SceneResourcesRecord::Release()
{
    ReleaseMember(sphereMesh);
    ReleaseMember(earthTexture);
    ReleaseMember(whiteTexture);
    ReleaseMember(font);
    if (drawDevice != nullptr)
        delete std::exchange(drawDevice, nullptr);  // closes it first
}

void ReleaseSceneResources()
{
    SceneResources.Release();
}

void CDrawDevice::CResetHandler::OnLostDevice()
{
    if (record_ != nullptr && record_->font != nullptr)
        record_->font->OnLostDevice();
}

void CDrawDevice::CResetHandler::OnResetDevice()
{
    if (record_ != nullptr && record_->font != nullptr)
        record_->font->OnResetDevice();
}

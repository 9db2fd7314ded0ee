// The base of the device doubles: what a double does not override is not available, and the
// double is a COM object its owner keeps.
#include <gtest/gtest.h>

#include "unavailable_device.h"

namespace quorvane::tests {
namespace {

class FvfOnlyDevice : public UnavailableDevice {
public:
    HRESULT SetFVF(DWORD fvf) override
    {
        fvf_ = fvf;
        return D3D_OK;
    }
    DWORD fvf_ = 0;
};

TEST(UnavailableDeviceTest, AnswersNotAvailableForWhatADoubleDoesNotOverride)
{
    FvfOnlyDevice double_;
    IDirect3DDevice9* device = &double_;
    EXPECT_EQ(device->SetFVF(D3DFVF_XYZ), D3D_OK);
    EXPECT_EQ(double_.fvf_, DWORD{D3DFVF_XYZ});
    EXPECT_EQ(device->BeginScene(), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device->DrawPrimitiveUP(D3DPT_LINESTRIP, 1, &double_, 12), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(device->GetAvailableTextureMem(), 0u);
}

TEST(UnavailableDeviceTest, CountsReferencesAndHandsOutItselfAsADevice)
{
    FvfOnlyDevice double_;
    IDirect3DDevice9* device = &double_;
    void* asked = reinterpret_cast<void*>(1);
    EXPECT_EQ(device->QueryInterface(IID_IDirect3DDevice9, &asked), S_OK);
    EXPECT_EQ(asked, static_cast<void*>(device));
    EXPECT_EQ(double_.References(), 2u);
    EXPECT_EQ(device->QueryInterface(IID_IUnknown, &asked), S_OK);
    EXPECT_EQ(asked, static_cast<void*>(device));
    EXPECT_EQ(device->QueryInterface(IID_IDirect3DTexture9, &asked), E_NOINTERFACE);
    EXPECT_EQ(asked, nullptr);
    EXPECT_EQ(device->QueryInterface(IID_IDirect3DDevice9, nullptr), E_POINTER);
    EXPECT_EQ(device->AddRef(), 4u);
    EXPECT_EQ(device->Release(), 3u);
    EXPECT_EQ(device->Release(), 2u);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(device->Release(), 0u);  // the owner still has the object
    EXPECT_EQ(device->Release(), 0u);  // and the count does not wrap
    EXPECT_EQ(device->SetFVF(D3DFVF_DIFFUSE), D3D_OK);
}

}  // namespace
}  // namespace quorvane::tests

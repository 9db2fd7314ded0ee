// The GoogleTest fixture over DeviceFixture: a test fails when the device cannot be made, or when
// anything the test made still holds the device or the runtime at its end.
#pragma once

#include <gtest/gtest.h>

#include "device_fixture.h"

namespace quorvane::tests {

class DeviceTest : public ::testing::Test, public DeviceFixture {
protected:
    static constexpr UINT backBufferWidth = 64;
    static constexpr UINT backBufferHeight = 48;

    DeviceTest() : DeviceFixture(backBufferWidth, backBufferHeight) {}
    DeviceTest(UINT width, UINT height) : DeviceFixture(width, height) {}

    void SetUp() override { ASSERT_NE(device(), nullptr); }
    void TearDown() override
    {
        EXPECT_EQ(ReleaseDevice(), 0u);
        EXPECT_EQ(ReleaseDirect3D(), 0u);
    }
};

}  // namespace quorvane::tests

#include <windows.h>
#include <gtest/gtest.h>

TEST(Module, ProcessHandleIsStableAndOthersAreUnknown)
{
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleW(nullptr));
    EXPECT_EQ(GetModuleHandleW(L"d3d9.dll"), nullptr);
}

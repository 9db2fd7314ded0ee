// The process module and the resources linked into it.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

namespace {

namespace test_controls = quorvane::test_controls;

TEST(Module, ProcessHandleIsStableAndOthersAreUnknown)
{
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(GetModuleHandleW(nullptr), GetModuleHandleW(nullptr));
    EXPECT_EQ(GetModuleHandleW(L"d3d9.dll"), nullptr);
}

const char sphereBytes[] = "xof 0303txt 0032";
const char iconBytes[] = {1, 2, 3};
const char stringBytes[] = {4, 5};

class LinkedResources : public testing::Test {
protected:
    void SetUp() override
    {
        test_controls::SetLinkedResources({
            {RT_RCDATA, L"SPHERE.X", sphereBytes, sizeof sphereBytes - 1},
            {RT_GROUP_ICON, MAKEINTRESOURCEW(107), iconBytes, sizeof iconBytes},
            {L"#6", L"#7", stringBytes, sizeof stringBytes},  // numbered by text
        });
    }
    void TearDown() override { test_controls::RestoreDefaults(); }

    HMODULE module = GetModuleHandleW(nullptr);
};

TEST(LinkedResourcesDefault, TheTableIsEmptyUntilOneIsGiven)
{
    SetLastError(0);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(107), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
}

TEST_F(LinkedResources, FoundByNumberByNumberTextAndByNameWithoutCase)
{
    const HRSRC byName = FindResourceW(module, L"sphere.x", RT_RCDATA);
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(FindResourceW(nullptr, L"Sphere.X", MAKEINTRESOURCEW(10)), byName);
    EXPECT_EQ(FindResourceW(module, L"SPHERE.X", L"#10"), byName);

    const HRSRC icon = FindResourceW(module, L"#107", RT_GROUP_ICON);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(107), RT_GROUP_ICON), icon);

    const HRSRC strings = FindResourceW(module, MAKEINTRESOURCEW(7), RT_STRING);
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(SizeofResource(module, strings), 2u);
}

TEST_F(LinkedResources, LoadAndLockGiveTheLinkedBytesInPlace)
{
    const HRSRC resource = FindResourceW(module, L"sphere.x", RT_RCDATA);
    ASSERT_NE(resource, nullptr);
    const HGLOBAL loaded = LoadResource(module, resource);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(LockResource(loaded), static_cast<const void*>(sphereBytes));
    EXPECT_EQ(SizeofResource(module, resource), 16u);
}

TEST_F(LinkedResources, MissingResourcesTellWhatIsMissing)
{
    SetLastError(0);
    EXPECT_EQ(FindResourceW(module, L"sphere.y", RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceW(module, L"sphere.x", RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceW(module, L"#", RT_RCDATA), nullptr);  // not a number: a name
    EXPECT_EQ(FindResourceW(module, nullptr, RT_RCDATA), nullptr);

    // Another module's resources, and handles that are not resources, are not served.
    HINSTANCE__ other{};
    EXPECT_EQ(FindResourceW(&other, L"sphere.x", RT_RCDATA), nullptr);
    const HRSRC resource = FindResourceW(module, L"sphere.x", RT_RCDATA);
    EXPECT_EQ(LoadResource(&other, resource), nullptr);
    EXPECT_EQ(SizeofResource(module, reinterpret_cast<HRSRC>(&other)), 0u);
    EXPECT_EQ(LoadResource(module, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST_F(LinkedResources, RestoringTheDefaultsServesTheTableOfBeforeAgain)
{
    ASSERT_NE(FindResourceW(module, L"sphere.x", RT_RCDATA), nullptr);
    test_controls::SetLinkedResources({{RT_BITMAP, L"EARTH.BMP", iconBytes, sizeof iconBytes}});
    EXPECT_EQ(FindResourceW(module, L"sphere.x", RT_RCDATA), nullptr);  // replaced, not added to
    EXPECT_NE(FindResourceW(module, L"earth.bmp", RT_BITMAP), nullptr);
    test_controls::RestoreDefaults();
    EXPECT_EQ(FindResourceW(module, L"earth.bmp", RT_BITMAP), nullptr);
    SetLastError(0);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(107), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));  // the empty table
}

}  // namespace

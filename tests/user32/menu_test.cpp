// Menu objects and their calls: check marks and states, items deleted by position and appended
// (as the viewer rebuilds its full-screen pop-up), texts, ids, pop-ups and bad handles.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "recording_window.h"
#include "resources/test_resources.h"

namespace quorvane::tests {
namespace {

std::wstring MenuText(HMENU menu, UINT item, UINT flags)
{
    wchar_t text[64] = L"";
    GetMenuStringW(menu, item, text, 64, flags);
    return text;
}

class MenuTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (IsMenu(menu_))
            DestroyMenu(menu_);
    }

    HMENU menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN));
};

TEST_F(MenuTest, CheckMarksComeAndGoAndReportTheStateBefore)
{
    HMENU view = GetSubMenu(menu_, 1);
    EXPECT_EQ(CheckMenuItem(view, IDC_EARTH, MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(GetMenuState(view, IDC_EARTH, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(CheckMenuItem(view, IDC_EARTH, MF_UNCHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(view, IDC_LATITUDE, MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(view, 3, MF_BYPOSITION), UINT(MF_CHECKED));
    // By position, and through the whole menu by command.
    EXPECT_EQ(CheckMenuItem(view, 1, MF_BYPOSITION | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(menu_, IDC_OUTLINE, MF_BYCOMMAND), UINT(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(menu_, IDC_DEEP, MF_CHECKED), DWORD(MF_UNCHECKED));
    // Nothing there: -1, and nothing changes.
    EXPECT_EQ(CheckMenuItem(view, 9999, MF_CHECKED), DWORD(-1));
    EXPECT_EQ(CheckMenuItem(view, 8, MF_BYPOSITION | MF_CHECKED), DWORD(-1));
    EXPECT_EQ(GetMenuState(view, 9999, MF_BYCOMMAND), UINT(-1));
}

// As the full-screen pop-up is rebuilt: every item deleted at position 0, then one appended per
// display mode, ids counting up from 300.
TEST_F(MenuTest, DeletingByPositionAndAppendingRebuildsAPopup)
{
    HMENU modes = GetSubMenu(menu_, 2);
    AppendMenuW(modes, MF_STRING, 301, L"second");
    int count = GetMenuItemCount(modes);
    ASSERT_EQ(count, 2);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(DeleteMenu(modes, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(modes), 0);
    EXPECT_FALSE(DeleteMenu(modes, 0, MF_BYPOSITION));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MENU_ITEM_NOT_FOUND));

    EXPECT_TRUE(AppendMenuW(modes, MF_STRING, 300, L"640x480"));
    EXPECT_TRUE(AppendMenuW(modes, MF_STRING, 301, L"1280x1024(現在の画面サイズ)"));
    ASSERT_EQ(GetMenuItemCount(modes), 2);
    EXPECT_EQ(GetMenuItemID(modes, 0), 300u);
    EXPECT_EQ(GetMenuItemID(modes, 1), 301u);
    EXPECT_EQ(MenuText(modes, 301, MF_BYCOMMAND), L"1280x1024(現在の画面サイズ)");
    EXPECT_EQ(GetMenuStringW(modes, 1, nullptr, 0, MF_BYPOSITION), 19);
    wchar_t shortText[4];
    EXPECT_EQ(GetMenuStringW(modes, 0, shortText, 4, MF_BYPOSITION), 3);
    EXPECT_EQ(std::wstring(shortText), L"640");
}

TEST_F(MenuTest, DeletingAPopupItemDestroysThePopupAndRemovingKeepsIt)
{
    HMENU view = GetSubMenu(menu_, 1);
    HMENU deep = GetSubMenu(view, 7);
    ASSERT_NE(deep, nullptr);
    EXPECT_TRUE(RemoveMenu(view, 7, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(deep));
    EXPECT_TRUE(AppendMenuW(view, MF_POPUP, reinterpret_cast<UINT_PTR>(deep), L"&More"));
    EXPECT_EQ(GetSubMenu(view, 7), deep);
    EXPECT_TRUE(DeleteMenu(menu_, 1, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(view));
    EXPECT_FALSE(IsMenu(deep));
    EXPECT_EQ(GetMenuItemCount(menu_), 3);
    EXPECT_EQ(MenuText(menu_, 1, MF_BYPOSITION), L"全画面表示(&S)");
}

TEST_F(MenuTest, BadHandlesAndArgumentsFail)
{
    HMENU made = reinterpret_cast<HMENU>(ULONG_PTR{0x5E00});
    EXPECT_EQ(GetMenuItemCount(made), -1);
    EXPECT_EQ(GetMenuItemCount(nullptr), -1);
    EXPECT_EQ(GetSubMenu(made, 0), nullptr);
    EXPECT_EQ(GetSubMenu(menu_, 9), nullptr);
    EXPECT_EQ(GetSubMenu(menu_, -1), nullptr);
    EXPECT_EQ(GetMenuItemID(menu_, 1), UINT(-1));  // a pop-up has no command
    EXPECT_FALSE(AppendMenuW(made, MF_STRING, 1, L"x"));
    EXPECT_FALSE(AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(made), L"x"));
    EXPECT_FALSE(AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(menu_), L"itself"));
    EXPECT_FALSE(AppendMenuW(menu_, MF_BITMAP, 1, nullptr));
    EXPECT_FALSE(DestroyMenu(made));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_MENU_HANDLE));
    EXPECT_EQ(GetMenuStringW(menu_, 77, nullptr, 0, MF_BYCOMMAND), 0);
}

}  // namespace
}  // namespace quorvane::tests

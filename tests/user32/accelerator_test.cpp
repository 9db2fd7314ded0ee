// Accelerators tried before TranslateMessage, as the viewer's loop tries them: character entries
// with Alt (Alt+"?" typed as Alt+Shift+/ on a US layout, and Alt+"/"), with or without a menu;
// virtual-key entries with exactly their modifiers; character entries without Alt.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "idle_steps.h"
#include "recording_window.h"
#include "resources/test_resources.h"

namespace quorvane::tests {
namespace {

using test_controls::InjectKey;

void PumpWithAccelerators(HACCEL table)
{
    MSG msg{};
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT || TranslateAcceleratorW(msg.hwnd, table, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

class AcceleratorTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_NE(table_, nullptr);
        if (!GetParam()) {
            ASSERT_TRUE(SetMenu(window_.Handle(), nullptr));  // as in full screen
        }
        PumpMessages();
        window_.Clear();
    }
    void TearDown() override { DestroyAcceleratorTable(table_); }

    HACCEL table_ = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_MAIN));
    RecordingWindow window_{{.menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN))}};
};

TEST_P(AcceleratorTest, AltQuestionMarkAndAltSlashSendTheAboutCommand)
{
    PressWithAlt(window_.Handle(), VK_OEM_2, L'?', true);
    PumpWithAccelerators(table_);
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{MAKEWPARAM(IDC_ABOUT, 1)});
    PressWithAlt(window_.Handle(), VK_OEM_2, L'/', false);
    PumpWithAccelerators(table_);
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), (std::vector<WPARAM>{MAKEWPARAM(IDC_ABOUT, 1), MAKEWPARAM(IDC_ABOUT, 1)}));
    // The character went to the accelerator, not to the window or its menu.
    EXPECT_TRUE(window_.Of(WM_SYSCHAR).empty());
    EXPECT_TRUE(window_.Of(WM_ENTERMENULOOP).empty());
}

TEST_P(AcceleratorTest, WithoutAltTheCharactersAreJustCharacters)
{
    PressKey(window_.Handle(), VK_OEM_2, L'/');
    PumpWithAccelerators(table_);
    EXPECT_TRUE(window_.WParamsOf(WM_COMMAND).empty());
    ASSERT_EQ(window_.Of(WM_CHAR).size(), 1u);
    EXPECT_EQ(window_.Of(WM_CHAR)[0].wParam, WPARAM(L'/'));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutMenu, AcceleratorTest, ::testing::Bool());

TEST(VirtualKeyAccelerators, ModifiersMustMatchExactly)
{
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDA_VIRTUAL));
    ASSERT_NE(table, nullptr);
    RecordingWindow window;
    HWND w = window.Handle();
    PumpMessages();
    PressKey(w, VK_F2);
    PressKey(w, VK_F3);  // needs Control
    InjectKey(w, VK_CONTROL, true);
    PressKey(w, VK_F3);
    PressKey(w, VK_F2);  // must not have Control
    InjectKey(w, VK_CONTROL, false);
    PressKey(w, 'A', L'a');  // a character entry without Alt
    PressWithAlt(w, 'A', L'a', false);
    PumpWithAccelerators(table);
    EXPECT_EQ(window.WParamsOf(WM_COMMAND),
              (std::vector<WPARAM>{MAKEWPARAM(IDC_F2, 1), MAKEWPARAM(IDC_CTRL_F3, 1), MAKEWPARAM(IDC_PLAIN_A, 1)}));
    // F3 alone, Control, Control+F2 and the A whose character was taken; F2 and Control+F3 were taken.
    EXPECT_EQ(window.Of(WM_KEYDOWN).size(), 4u);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    MSG msg{w, WM_KEYDOWN, VK_F2, 0, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(w, table, &msg), 0);
}

TEST(VirtualKeyAccelerators, TablesMadeInMemoryWork)
{
    ACCEL entries[] = {{FVIRTKEY | FSHIFT, VK_F5, 77}};
    HACCEL table = CreateAcceleratorTableW(entries, 1);
    ASSERT_NE(table, nullptr);
    RecordingWindow window;
    PumpMessages();
    InjectKey(window.Handle(), VK_SHIFT, true);
    PressKey(window.Handle(), VK_F5);
    InjectKey(window.Handle(), VK_SHIFT, false);
    PumpWithAccelerators(table);
    EXPECT_EQ(window.WParamsOf(WM_COMMAND), std::vector<WPARAM>{MAKEWPARAM(77, 1)});
    DestroyAcceleratorTable(table);
}

}  // namespace
}  // namespace quorvane::tests

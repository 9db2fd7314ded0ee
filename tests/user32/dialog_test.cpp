// Modal dialog boxes from templates: WM_INITDIALOG first, EndDialog's result, Enter, Esc, the
// close box, Tab and Space, the mouse on a button, the owner disabled and still painting, the
// dialog centred over its owner and its face drawn (Japanese text, icon, default button).
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <functional>

#include "idle_steps.h"
#include "recording_window.h"
#include "resources/test_resources.h"
#include "window_picture.h"

namespace quorvane::tests {
namespace {

using test_controls::InjectKey;
using test_controls::InjectMouseButton;

// The dialog procedure of a test: records what it gets, ends the dialog with the id of any
// command (as the viewer's About box does), and lets the test act on WM_INITDIALOG.
struct DialogScript {
    std::vector<UINT> messages;
    std::function<void(HWND)> onInit;
    HWND dialog = nullptr;
    BOOL ownerEnabledInside = TRUE;
};

DialogScript* script = nullptr;

INT_PTR CALLBACK ScriptedProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    script->messages.push_back(message);
    switch (message) {
    case WM_INITDIALOG:
        script->dialog = dialog;
        if (script->onInit)
            script->onInit(dialog);
        return TRUE;
    case WM_COMMAND: EndDialog(dialog, LOWORD(wParam)); return TRUE;
    default: return FALSE;
    }
}

RECT InDialogClient(HWND dialog, HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    return RECT{rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
}

void ClickOn(HWND dialog, int id)
{
    RECT button = InDialogClient(dialog, GetDlgItem(dialog, id));
    int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
    InjectMouseButton(dialog, test_controls::MouseButton::Left, true, x, y);
    InjectMouseButton(dialog, test_controls::MouseButton::Left, false, x, y);
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        script = &script_;
        ShowWindow(owner_.Handle(), SW_SHOW);
        PumpMessages();
        owner_.Clear();
    }
    void TearDown() override { script = nullptr; }

    INT_PTR Run(WORD id)
    {
        return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner_.Handle(), ScriptedProcedure, 0);
    }
    // Each idle moment of the dialog's loop runs the next of these steps on the dialog.
    void Then(std::function<void(HWND)> step)
    {
        steps_.Add([this, step] { step(script_.dialog); });
    }

    RecordingWindow owner_{{.clientWidth = 500, .clientHeight = 400, .x = 60, .y = 40}};
    DialogScript script_;
    IdleSteps steps_{owner_};
};

TEST_F(DialogTest, InitDialogComesFirstAndEndDialogThereEndsAtOnce)
{
    script_.onInit = [](HWND dialog) { EndDialog(dialog, 42); };
    EXPECT_EQ(Run(IDD_ABOUT), 42);
    ASSERT_FALSE(script_.messages.empty());
    EXPECT_EQ(script_.messages.front(), UINT(WM_INITDIALOG));
    EXPECT_EQ(steps_.IdleCount(), 0);  // never shown, no loop run
    EXPECT_FALSE(IsWindow(script_.dialog));
    EXPECT_TRUE(IsWindowEnabled(owner_.Handle()));
}

// Each input ends the dialog by itself, in the first idle moment: the Esc a test loop presses
// when its steps run out is never needed, so a cancel cannot pass by accident.
TEST_F(DialogTest, KeysClicksAndTheFrameEndTheDialogWithTheirResult)
{
    struct Case {
        const char* input;
        WORD dialog;
        std::function<void(HWND)> step;
        INT_PTR result;
    };
    const Case cases[] = {
        {"Enter presses the default button", IDD_ABOUT, [](HWND d) { PressKey(d, VK_RETURN); }, IDOK},
        {"Esc", IDD_ABOUT, [](HWND d) { PressKey(d, VK_ESCAPE); }, IDCANCEL},
        {"the close box", IDD_ABOUT, [](HWND d) { test_controls::InjectCloseRequest(d); }, IDCANCEL},
        {"a button's mnemonic", IDD_CHOICE, [](HWND d) { PressKey(d, 'R', L'r'); }, IDC_RETRY},
        {"a button's mnemonic with Alt", IDD_CHOICE, [](HWND d) { PressWithAlt(d, 'R', L'r'); }, IDC_RETRY},
        {"a click on a button", IDD_CHOICE, [](HWND d) { ClickOn(d, IDC_RETRY); }, IDC_RETRY},
        {"a click on Cancel", IDD_CHOICE, [](HWND d) { ClickOn(d, IDCANCEL); }, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        int idleBefore = steps_.IdleCount();
        Then(c.step);
        EXPECT_EQ(Run(c.dialog), c.result);
        EXPECT_EQ(steps_.IdleCount(), idleBefore + 1);
    }
}

// Alt+F4 reaches the dialog from its focused button and cancels it; were it lost, Enter would
// press the focused 再試行 instead.
TEST_F(DialogTest, AltF4CancelsFromTheFocusedButton)
{
    Then([](HWND dialog) { PressWithAlt(dialog, VK_F4); });
    Then([](HWND dialog) { PressKey(dialog, VK_RETURN); });  // presses the focused 再試行 if Alt+F4 did nothing
    EXPECT_EQ(Run(IDD_CHOICE), IDCANCEL);
}

TEST_F(DialogTest, TabMovesBetweenTabStopsAndSpacePressesTheFocusedButton)
{
    // In the choice dialog every button is a tab stop: 再試行, OK (the default), キャンセル.
    int focusAtStart = 0;
    Then([&](HWND dialog) {
        focusAtStart = GetDlgCtrlID(GetFocus());
        PressKey(dialog, VK_TAB);
        PressKey(dialog, VK_TAB);
        PressKey(dialog, VK_SPACE);
    });
    EXPECT_EQ(Run(IDD_CHOICE), IDCANCEL);
    EXPECT_EQ(steps_.IdleCount(), 1);    // Space ended it, not the Esc of a loop left waiting
    EXPECT_EQ(focusAtStart, IDC_RETRY);  // the first tab stop

    // Shift+Tab from the first wraps round to the last; Tab from there back to the first, where
    // Enter presses the focused button rather than the default one.
    Then([&](HWND dialog) {
        InjectKey(dialog, VK_SHIFT, true);
        PressKey(dialog, VK_TAB);
        InjectKey(dialog, VK_SHIFT, false);
        PressKey(dialog, VK_TAB);
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(Run(IDD_CHOICE), IDC_RETRY);
}

TEST_F(DialogTest, TheOwnerIsDisabledAndKeepsPainting)
{
    BOOL enabledWhileUp = TRUE;
    size_t paintsBefore = 0;
    Then([&](HWND) {
        enabledWhileUp = IsWindowEnabled(owner_.Handle());
        paintsBefore = owner_.Of(WM_PAINT).size();
        InvalidateRect(owner_.Handle(), nullptr, FALSE);
    });
    size_t paintsWhileUp = 0;
    Then([&](HWND dialog) {
        paintsWhileUp = owner_.Of(WM_PAINT).size();
        // Input to the disabled owner goes nowhere.
        InjectMouseButton(owner_.Handle(), test_controls::MouseButton::Left, true, 10, 10);
        InjectMouseButton(owner_.Handle(), test_controls::MouseButton::Left, false, 10, 10);
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(Run(IDD_ABOUT), IDOK);
    EXPECT_FALSE(enabledWhileUp);
    EXPECT_EQ(paintsWhileUp, paintsBefore + 1);
    EXPECT_TRUE(IsWindowEnabled(owner_.Handle()));
    EXPECT_TRUE(owner_.Of(WM_LBUTTONDOWN).empty());
}

TEST_F(DialogTest, ControlsAreChildWindowsAndTheDialogIsCentredOverItsOwner)
{
    RECT dialogRect{}, ownerRect{}, okRect{}, client{};
    std::wstring caption, okText;
    Then([&](HWND dialog) {
        GetWindowRect(dialog, &dialogRect);
        GetWindowRect(owner_.Handle(), &ownerRect);
        GetClientRect(dialog, &client);
        HWND ok = GetDlgItem(dialog, IDOK);
        GetWindowRect(ok, &okRect);
        wchar_t text[64];
        GetWindowTextW(dialog, text, 64);
        caption = text;
        SendMessageW(ok, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
        okText = text;
        EXPECT_EQ(GetParent(ok), dialog);
        EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(Run(IDD_ABOUT), IDOK);
    EXPECT_EQ(caption, L"バージョン情報 Quorvane");
    EXPECT_EQ(okText, L"OK");
    EXPECT_NEAR((dialogRect.left + dialogRect.right) / 2.0, (ownerRect.left + ownerRect.right) / 2.0, 1.0);
    EXPECT_NEAR((dialogRect.top + dialogRect.bottom) / 2.0, (ownerRect.top + ownerRect.bottom) / 2.0, 1.0);
    // The template is 170 x 62 dialog units with the OK button at (113, 41), 50 x 14: the button
    // keeps those proportions of the client area whatever the font's base units are.
    EXPECT_NEAR(double(okRect.right - okRect.left) / client.right, 50.0 / 170.0, 0.02);
    EXPECT_NEAR(double(okRect.bottom - okRect.top) / client.bottom, 14.0 / 62.0, 0.03);
    EXPECT_GT(client.right, 170);  // a 9-point font's base units are wider than 4 pixels
}

TEST_F(DialogTest, TheFaceShowsTextIconAndTheDefaultButton)
{
    WindowPicture face;
    RECT ok{}, icon{}, text{};
    Then([&](HWND dialog) {
        ok = InDialogClient(dialog, GetDlgItem(dialog, IDOK));
        HWND first = GetWindow(dialog, GW_CHILD);
        icon = InDialogClient(dialog, first);
        text = InDialogClient(dialog, GetWindow(first, GW_HWNDNEXT));
        face = PictureOf(dialog);
        test_controls::WriteWindowPng(dialog, "dialog_about.png");
        PressKey(dialog, VK_ESCAPE);
    });
    EXPECT_EQ(Run(IDD_ABOUT), IDCANCEL);
    ASSERT_GT(face.width, 0u);
    EXPECT_EQ(face.At(2, 2), 0xF0F0F0u);
    EXPECT_EQ(face.At(ok.left, (ok.top + ok.bottom) / 2), 0x0078D7u);  // the default button's frame
    EXPECT_EQ(face.At(ok.left + 2, ok.top + 2), 0xE1E1E1u);
    EXPECT_EQ(face.At(icon.left + 24, icon.top + 24), 0x00FF00u);  // the icon's 32 x 32 image
    EXPECT_EQ(face.At(icon.left + 4, icon.top + 4), 0xF0F0F0u);    // its transparent quarter
    EXPECT_GT(face.DarkIn(text), 40);
}

TEST_F(DialogTest, OverATopmostOwnerTheDialogIsTopmostToo)
{
    auto dialogIsTopmost = [this] {
        LONG exStyle = 0;
        Then([&](HWND dialog) {
            exStyle = GetWindowLongW(dialog, GWL_EXSTYLE);
            PressKey(dialog, VK_ESCAPE);
        });
        Run(IDD_ABOUT);
        return (exStyle & WS_EX_TOPMOST) != 0;
    };
    EXPECT_FALSE(dialogIsTopmost());
    // As in full screen: the owner covers the screen, topmost.
    SetWindowPos(owner_.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(dialogIsTopmost());
}

TEST_F(DialogTest, MissingTemplatesAndBadOwnersFail)
{
    EXPECT_EQ(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(4242), owner_.Handle(), ScriptedProcedure, 0),
              -1);
    EXPECT_EQ(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT),
                              reinterpret_cast<HWND>(ULONG_PTR{0x5E00}), ScriptedProcedure, 0),
              0);
    EXPECT_TRUE(script_.messages.empty());
}

TEST_F(DialogTest, ADialogDestroyedByItsProcedureEndsItsLoop)
{
    Then([](HWND dialog) { DestroyWindow(dialog); });
    EXPECT_EQ(Run(IDD_ABOUT), 0);
    EXPECT_TRUE(IsWindowEnabled(owner_.Handle()));
}

TEST_F(DialogTest, AQuitRequestEndsTheDialogAndReachesTheProgramsLoop)
{
    Then([](HWND) { PostQuitMessage(3); });
    Run(IDD_ABOUT);
    EXPECT_EQ(steps_.IdleCount(), 1);  // the request ended it, not the Esc of a loop left waiting
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_TRUE(IsWindowEnabled(owner_.Handle()));
}

}  // namespace
}  // namespace quorvane::tests

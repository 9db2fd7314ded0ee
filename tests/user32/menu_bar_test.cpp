// The menu bar drawn by the layer and used from the keyboard and the mouse: titles drawn with
// their mnemonics underlined, a pop-up with its check mark, highlights, and the WM_COMMAND a
// chosen item sends. Positions come from the menu's own layout, not from a render.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include "idle_steps.h"
#include "recording_window.h"
#include "resources/test_resources.h"
#include "text/text_layout.h"
#include "user32/menu_bar.h"
#include "user32/ui_fonts.h"
#include "user32/window_frame.h"
#include "window_picture.h"

namespace quorvane::tests {
namespace {

using test_controls::InjectKey;
using test_controls::InjectMouseButton;
using test_controls::InjectMouseMove;
using test_controls::MouseButton;

constexpr int menuBar = user32::menuBarHeight;

RECT Offset(RECT r, POINT by)
{
    return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y};
}

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(window_.Handle(), nullptr);
        ASSERT_NE(user32::MenuFont(), nullptr);
        ShowWindow(window_.Handle(), SW_SHOW);
        PumpMessages();
        window_.Clear();
    }

    HWND Window() const { return window_.Handle(); }
    const user32::Menu& Bar() const { return *user32::LookUpMenu(menu_); }
    RECT Title(int item) const { return user32::LayOutMenuBar(Bar())[std::size_t(item)]; }
    // Client coordinates of a point of the surface (the bar is above the client area).
    static POINT Client(POINT surface) { return POINT{surface.x, surface.y - menuBar}; }
    POINT TitleCentre(int item) const
    {
        RECT r = Title(item);
        return Client(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    // What a title looks like: plain, under the mouse, or open.
    DWORD TitleShade(const WindowPicture& picture, int item) const
    {
        return picture.At(Title(item).left + 2, Title(item).top + 2);
    }
    // An item of the View pop-up where it shows, open under its title, in surface coordinates.
    user32::PopupLayout ViewLayout() const { return user32::LayOutPopup(*user32::LookUpMenu(GetSubMenu(menu_, 1))); }
    RECT ViewItem(int index) const
    {
        return Offset(ViewLayout().items[std::size_t(index)], POINT{Title(1).left, menuBar});
    }
    void PressAlt()
    {
        InjectKey(Window(), VK_MENU, true);
        InjectKey(Window(), VK_MENU, false);
    }
    // Alt, then Right to the View title and Down: the pop-up opens with its first item selected.
    void OpenViewPopup()
    {
        PressAlt();
        PressKey(Window(), VK_RIGHT);
        PressKey(Window(), VK_DOWN);
    }

    HMENU menu_ = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDM_MAIN));
    RecordingWindow window_{{.clientWidth = 420, .clientHeight = 320, .menu = menu_}};
};

TEST_F(MenuBarTest, TitlesAreDrawnWithTheirMnemonicsUnderlined)
{
    WindowPicture picture = PictureOf(Window());
    EXPECT_EQ(picture.At(picture.width - 5, menuBar / 2), 0xF0F0F0u);  // the bar right of its titles
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(picture.DarkIn(Title(i)), 20) << "title " << i;

    // "ファイル(&F)": the F (index 5) is underlined, the フ before it is not.
    text::Font& font = *user32::MenuFont();
    text::TextLine line = text::SplitLines(U"ファイル(&F)", true, true).front();
    ASSERT_EQ(line.underlined, 5);
    RECT title = Title(0);
    int baseline = title.top + (title.bottom - title.top - font.LineHeight()) / 2 + font.Ascent();
    std::vector<int> pens;
    text::PlaceLine(font, line.characters, title.left + 7, baseline, &pens);
    int underline = baseline + std::max(1, font.Descent() / 2);
    RECT underF{pens[5], underline, pens[6], underline + 1};
    RECT underFu{pens[0], underline, pens[1], underline + 1};
    EXPECT_EQ(picture.DarkIn(underF), pens[6] - pens[5]);
    EXPECT_EQ(picture.DarkIn(underFu), 0);
    EXPECT_EQ(picture.DarkIn(RECT{pens[5], underline + 1, pens[6], underline + 2}), 0);
}

TEST_F(MenuBarTest, AnOpenPopupShowsItsItemsCheckMarkAndHighlights)
{
    IdleSteps steps(window_);
    WindowPicture open;
    steps.Add([&] {
        open = PictureOf(Window());
        test_controls::WriteWindowPng(Window(), "menu_open.png");  // to look at
        PressKey(Window(), VK_ESCAPE);
        PressKey(Window(), VK_ESCAPE);
    });
    OpenViewPopup();
    PumpMessages();
    ASSERT_GT(open.width, 0u);

    RECT earth = ViewItem(0), outline = ViewItem(1);
    RECT earthGutter{earth.left, earth.top, earth.left + 26, earth.bottom};
    RECT outlineGutter{outline.left, outline.top, outline.left + 26, outline.bottom};
    EXPECT_GT(open.DarkIn(earthGutter), 10);   // 地球の表示 is checked
    EXPECT_EQ(open.DarkIn(outlineGutter), 0);  // 地球の輪郭線を表示 is not
    EXPECT_EQ(open.At(earth.right - 3, (earth.top + earth.bottom) / 2), 0x91C9F7u);  // selected
    EXPECT_EQ(open.At(outline.right - 3, (outline.top + outline.bottom) / 2), 0xF2F2F2u);
    EXPECT_EQ(open.At(Title(1).left, menuBar + ViewLayout().height / 2), 0xCCCCCCu);          // the frame
    EXPECT_GT(open.DarkIn(RECT{earth.left + 30, earth.top, earth.right, earth.bottom}), 20);  // its text
    EXPECT_EQ(TitleShade(open, 1), 0xCCE8FFu);  // the open title looks pressed
    // Closed again: the bar is plain and the frame shows where the pop-up was.
    WindowPicture closed = PictureOf(Window());
    EXPECT_EQ(TitleShade(closed, 1), 0xF0F0F0u);
    EXPECT_EQ(closed.At(earth.right - 3, (earth.top + earth.bottom) / 2), 0x000000u);
    EXPECT_TRUE(window_.WParamsOf(WM_COMMAND).empty());
}

TEST_F(MenuBarTest, AltAloneSelectsTheFirstTitle)
{
    IdleSteps steps(window_);
    WindowPicture selected;
    steps.Add([&] {
        selected = PictureOf(Window());
        PressKey(Window(), VK_ESCAPE);
    });
    PressAlt();
    PumpMessages();
    ASSERT_GT(selected.width, 0u);
    EXPECT_EQ(TitleShade(selected, 0), 0xE5F3FFu);
    EXPECT_EQ(window_.Of(WM_ENTERMENULOOP).size(), 1u);
    EXPECT_EQ(window_.Of(WM_EXITMENULOOP).size(), 1u);
}

TEST_F(MenuBarTest, KeyboardNavigationChoosesItems)
{
    // Down skips the separator; Enter chooses.
    PressAlt();
    PressKey(Window(), VK_RIGHT);
    for (int i = 0; i < 3; ++i)
        PressKey(Window(), VK_DOWN);
    PressKey(Window(), VK_RETURN);
    PumpMessages();
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{IDC_LATITUDE});

    // F10, Left wraps round to the last title, Enter opens it and Enter chooses.
    window_.Clear();
    PressKey(Window(), VK_F10);
    PressKey(Window(), VK_LEFT);
    PressKey(Window(), VK_RETURN);
    PressKey(Window(), VK_RETURN);
    PumpMessages();
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{IDC_ABOUT});

    // Up from the title opens at the last item; Right from a pop-up opens the next title's.
    window_.Clear();
    PressAlt();
    PressKey(Window(), VK_UP);
    PressKey(Window(), VK_RIGHT);
    PressKey(Window(), VK_RETURN);
    PumpMessages();
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{IDC_EARTH});
}

TEST_F(MenuBarTest, MnemonicsOpenPopupsAndChooseItems)
{
    // Alt+V opens 表示(&V); E chooses 経線の表示(&E).
    PressWithAlt(Window(), 'V', L'v');
    PressKey(Window(), 'E', L'e');
    PumpMessages();
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{IDC_LONGITUDE});

    // M opens the nested pop-up その他(&M), whose D chooses its item.
    window_.Clear();
    PressWithAlt(Window(), 'V', L'v');
    PressKey(Window(), 'M', L'm');
    PressKey(Window(), 'D', L'd');
    PumpMessages();
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{IDC_DEEP});
    EXPECT_TRUE(window_.Of(WM_SYSCHAR).size() == 1u);  // Alt+V reached the window; the rest went to the menu
}

TEST_F(MenuBarTest, EscapeAndGrayedItemsSendNothing)
{
    IdleSteps steps(window_);
    PressAlt();
    PressKey(Window(), 'V', L'v');  // opens the View pop-up from the bar
    PressKey(Window(), 'G', L'g');  // the grayed item: selected, not chosen
    PressKey(Window(), VK_RETURN);  // still not chosen
    PressKey(Window(), VK_ESCAPE);  // closes the pop-up
    PressKey(Window(), VK_ESCAPE);  // leaves the bar
    PumpMessages();
    EXPECT_TRUE(window_.WParamsOf(WM_COMMAND).empty());
    EXPECT_EQ(window_.Of(WM_EXITMENULOOP).size(), 1u);
    EXPECT_EQ(steps.IdleCount(), 0);  // the loop ended on its own keys
}

TEST_F(MenuBarTest, AMenuChangedWhileOpenIsLaidOutAgainAndItsDeletedItemIsNotChosen)
{
    IdleSteps steps(window_);
    HMENU view = GetSubMenu(menu_, 1);
    WindowPicture grown;
    RECT added{};
    steps.Add([&] {
        for (UINT id = 900; id < 902; ++id)
            AppendMenuW(view, MF_STRING, id, L"追加");
        PressKey(Window(), VK_UP);  // from the first item round to the last, one of the new ones
    });
    steps.Add([&] {
        grown = PictureOf(Window());
        added = ViewItem(GetMenuItemCount(view) - 1);
        DeleteMenu(view, 901, MF_BYCOMMAND);  // the selected item
        PressKey(Window(), VK_RETURN);
    });
    OpenViewPopup();
    PumpMessages();
    ASSERT_GT(grown.width, 0u);
    EXPECT_EQ(grown.At(added.right - 3, (added.top + added.bottom) / 2), 0x91C9F7u);  // drawn, selected
    EXPECT_GT(grown.DarkIn(RECT{added.left + 30, added.top, added.right, added.bottom}), 20);
    EXPECT_TRUE(window_.WParamsOf(WM_COMMAND).empty());
}

TEST_F(MenuBarTest, TheMouseOpensATitleAndChoosesAnItem)
{
    RECT outline = ViewItem(1);
    POINT item = Client(POINT{(outline.left + outline.right) / 2, (outline.top + outline.bottom) / 2});
    POINT title = TitleCentre(1);
    InjectMouseButton(Window(), MouseButton::Left, true, title.x, title.y);
    InjectMouseButton(Window(), MouseButton::Left, false, title.x, title.y);  // stays open
    InjectMouseMove(Window(), item.x, item.y);
    InjectMouseButton(Window(), MouseButton::Left, true, item.x, item.y);
    InjectMouseButton(Window(), MouseButton::Left, false, item.x, item.y);
    PumpMessages();
    EXPECT_EQ(window_.WParamsOf(WM_COMMAND), std::vector<WPARAM>{IDC_OUTLINE});
    EXPECT_TRUE(window_.Of(WM_LBUTTONDOWN).empty());  // the menu took the clicks
}

TEST_F(MenuBarTest, MovingAlongTheBarSwitchesPopupsAndAPressOutsideCloses)
{
    IdleSteps steps(window_);
    WindowPicture switched;
    POINT first = TitleCentre(0), third = TitleCentre(2);
    steps.Add([&] { InjectMouseMove(Window(), third.x, third.y); });
    steps.Add([&] {
        switched = PictureOf(Window());
        InjectMouseButton(Window(), MouseButton::Left, true, 300, 250);  // in the client area, outside the menu
        InjectMouseButton(Window(), MouseButton::Left, false, 300, 250);
    });
    InjectMouseButton(Window(), MouseButton::Left, true, first.x, first.y);
    InjectMouseButton(Window(), MouseButton::Left, false, first.x, first.y);
    PumpMessages();
    ASSERT_GT(switched.width, 0u);
    EXPECT_EQ(TitleShade(switched, 2), 0xCCE8FFu);
    EXPECT_EQ(TitleShade(switched, 0), 0xF0F0F0u);
    EXPECT_TRUE(window_.WParamsOf(WM_COMMAND).empty());
    EXPECT_EQ(window_.Of(WM_EXITMENULOOP).size(), 1u);
    EXPECT_EQ(steps.IdleCount(), 2);  // the press closed the menu, not the Esc of a loop left waiting
}

TEST_F(MenuBarTest, TheTitleUnderTheMouseIsHighlighted)
{
    POINT third = TitleCentre(2);
    test_controls::InjectMouseMove(Window(), third.x, third.y);
    PumpMessages();
    WindowPicture hovered = PictureOf(Window());
    EXPECT_EQ(TitleShade(hovered, 2), 0xE5F3FFu);
    EXPECT_EQ(TitleShade(hovered, 1), 0xF0F0F0u);
    test_controls::InjectMouseMove(Window(), 200, 150);  // into the client area
    PumpMessages();
    EXPECT_EQ(TitleShade(PictureOf(Window()), 2), 0xF0F0F0u);
    EXPECT_TRUE(window_.Of(WM_ENTERMENULOOP).empty());  // hovering does not enter the menu
}

TEST_F(MenuBarTest, TheOwnerKeepsPaintingWhileTheMenuIsOpen)
{
    IdleSteps steps(window_);
    steps.Add([&] { InvalidateRect(Window(), nullptr, FALSE); });
    steps.Add([&] { PressKey(Window(), VK_ESCAPE); });
    PressAlt();
    PumpMessages();
    EXPECT_EQ(window_.Of(WM_PAINT).size(), 1u);
    EXPECT_EQ(window_.Of(WM_EXITMENULOOP).size(), 1u);
}

}  // namespace
}  // namespace quorvane::tests

#include "user32/menu_bar.h"

#include <algorithm>

#include "user32/menu_tracking.h"
#include "user32/theme.h"
#include "user32/ui_fonts.h"
#include "user32/window_frame.h"
#include "user32/window_surface.h"

namespace quorvane::user32 {

namespace {

constexpr int barItemPadding = 7;
constexpr int popupFrame = 3;  // border and padding
constexpr int popupItemHeight = 22;
constexpr int separatorHeight = 7;
constexpr int checkGutter = 26;
constexpr int textGap = 6;  // after the gutter
constexpr int rightPadding = 22;
constexpr int acceleratorGap = 24;

bool IsSeparator(const MenuItem& item)
{
    return (item.flags & MF_SEPARATOR) != 0;
}

// The item's label and the accelerator text after a tab, as lines with their mnemonics.
struct ItemTexts {
    text::TextLine label;
    text::TextLine accelerator;
};

ItemTexts TextsOf(const MenuItem& item)
{
    std::u32string all = text::ToCodePoints(item.text);
    std::size_t tab = all.find(U'\t');
    ItemTexts texts;
    texts.label = text::SplitLines(std::u32string_view(all).substr(0, tab), true, true).front();
    if (tab != std::u32string::npos)
        texts.accelerator = text::SplitLines(std::u32string_view(all).substr(tab + 1), true, true).front();
    return texts;
}

int BaselineIn(text::Font& font, const RECT& rect)
{
    return rect.top + (rect.bottom - rect.top - font.LineHeight()) / 2 + font.Ascent();
}

void DrawShadow(Canvas& canvas, int width, int height)
{
    for (int step = 0; step < popupShadow; ++step) {
        Color alpha = Color(40 - step * 9) << 24;
        canvas.Blend(RECT{width + step, popupShadow, width + step + 1, height + step}, alpha);
        canvas.Blend(RECT{popupShadow, height + step, width + step, height + step + 1}, alpha);
    }
}

void DrawPopupItem(Canvas& canvas, text::Font& font, const MenuItem& item, const RECT& rect, bool selected)
{
    if (IsSeparator(item)) {
        int y = (rect.top + rect.bottom) / 2;
        canvas.Fill(RECT{rect.left + checkGutter, y, rect.right - 2, y + 1}, theme::separatorLine);
        return;
    }
    if (selected)
        canvas.Fill(rect, theme::popupHighlight);
    Color color = IsChoosable(item) || (item.flags & MF_POPUP) ? theme::text : theme::grayedText;
    if (item.flags & MF_CHECKED) {
        int side = std::min<int>(12, rect.bottom - rect.top - 6);
        int top = (rect.top + rect.bottom - side) / 2;
        int left = rect.left + (checkGutter - side) / 2;
        canvas.CheckMark(RECT{left, top, left + side, top + side}, color);
    }
    ItemTexts texts = TextsOf(item);
    int baseline = BaselineIn(font, rect);
    canvas.Text(font, texts.label, rect.left + checkGutter + textGap, baseline, color);
    if (!texts.accelerator.characters.empty()) {
        int width = text::LineWidth(font, texts.accelerator.characters);
        canvas.Text(font, texts.accelerator, rect.right - rightPadding - width, baseline, color);
    }
    if (item.flags & MF_POPUP) {  // a small arrow pointing right
        int middle = (rect.top + rect.bottom) / 2, x = rect.right - 12;
        for (int i = 0; i < 4; ++i)
            canvas.Fill(RECT{x + i, middle - 3 + i, x + i + 1, middle + 4 - i}, color);
    }
}

}  // namespace

std::vector<RECT> LayOutMenuBar(const Menu& menu)
{
    std::vector<RECT> rects;
    text::Font* font = MenuFont();
    int x = 0;
    for (const MenuItem& item : menu.items) {
        int width = font ? text::LineWidth(*font, TextsOf(item).label.characters) : 0;
        RECT rect{x, 0, x + width + 2 * barItemPadding, menuBarHeight - 1};
        rects.push_back(rect);
        x = rect.right;
    }
    return rects;
}

int MenuBarItemAt(const Menu& menu, POINT point)
{
    std::vector<RECT> rects = LayOutMenuBar(menu);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (Contains(rects[i], point))
            return int(i);
    }
    return -1;
}

void DrawMenuBarLayer(Window& window, const Menu& menu, const BarHighlight& highlight)
{
    text::Font* font = MenuFont();
    int width = Width(window.surfaceRect);
    if (!font || width <= 0)
        return;
    Canvas canvas(width, menuBarHeight, theme::barBackground, SurfaceScale(window.handle));
    std::vector<RECT> rects = LayOutMenuBar(menu);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const MenuItem& item = menu.items[i];
        if (int(i) == highlight.item) {
            canvas.Fill(rects[i], highlight.open ? theme::barOpenFill : theme::barHotFill);
            canvas.Frame(rects[i], highlight.open ? theme::barOpenBorder : theme::barHotBorder);
        }
        Color color = (item.flags & (MF_GRAYED | MF_DISABLED)) ? theme::grayedText : theme::text;
        canvas.Text(*font, TextsOf(item).label, rects[i].left + barItemPadding, BaselineIn(*font, rects[i]), color);
    }
    SetSurfaceLayer(window.handle, layers::menuBar, POINT{0, 0}, canvas.Take());
}

void RedrawMenuBar(Window& window)
{
    if (!window.displayWindow || (window.style & WS_CHILD))
        return;
    const Menu* menu = LookUpMenu(window.menu);
    if (!menu) {
        RemoveSurfaceLayer(window.handle, layers::menuBar);
        return;
    }
    DrawMenuBarLayer(window, *menu, TrackedBarHighlight(window.handle));
}

PopupLayout LayOutPopup(const Menu& menu)
{
    PopupLayout layout;
    text::Font* font = MenuFont();
    int labelWidth = 0, acceleratorWidth = 0;
    int y = popupFrame;
    for (const MenuItem& item : menu.items) {
        int height = IsSeparator(item) ? separatorHeight : popupItemHeight;
        layout.items.push_back(RECT{popupFrame, y, 0, y + height});
        y += height;
        if (font && !IsSeparator(item)) {
            ItemTexts texts = TextsOf(item);
            labelWidth = std::max(labelWidth, text::LineWidth(*font, texts.label.characters));
            acceleratorWidth = std::max(acceleratorWidth, text::LineWidth(*font, texts.accelerator.characters));
        }
    }
    int inner =
        checkGutter + textGap + labelWidth + (acceleratorWidth ? acceleratorGap + acceleratorWidth : 0) + rightPadding;
    layout.width = inner + 2 * popupFrame;
    layout.height = y + popupFrame;
    for (RECT& rect : layout.items)
        rect.right = popupFrame + inner;
    return layout;
}

display::Image DrawPopup(const Menu& menu, const PopupLayout& layout, int selected, float scale)
{
    Canvas canvas(layout.width + popupShadow, layout.height + popupShadow, 0x00000000, scale);
    canvas.Fill(RECT{0, 0, layout.width, layout.height}, theme::popupBackground);
    canvas.Frame(RECT{0, 0, layout.width, layout.height}, theme::popupBorder);
    DrawShadow(canvas, layout.width, layout.height);
    if (text::Font* font = MenuFont()) {
        for (std::size_t i = 0; i < menu.items.size(); ++i)
            DrawPopupItem(canvas, *font, menu.items[i], layout.items[i], int(i) == selected);
    }
    return canvas.Take();
}

}  // namespace quorvane::user32

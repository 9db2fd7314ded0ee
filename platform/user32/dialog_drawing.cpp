// A dialog's face as the layer draws it over the dialog's client area: the light background,
// static texts (wrapped at the control's width, '&' underlined unless SS_NOPREFIX), icons, and
// push buttons with their default, focused and pressed looks.
#include <algorithm>

#include "user32/canvas.h"
#include "user32/dialog.h"
#include "user32/icons.h"
#include "user32/theme.h"
#include "user32/window.h"
#include "user32/window_class.h"
#include "user32/window_surface.h"

namespace quorvane::user32 {

namespace {

bool BreaksAfter(char32_t c)
{
    return c == U' ' || c >= 0x2E80;  // after a space, and between CJK characters
}

// Greedy word wrap: a line breaks at the last space or CJK character that fits, or inside a
// word too long for the width.
std::vector<text::TextLine> Wrap(text::Font& font, const text::TextLine& line, int width)
{
    std::vector<text::TextLine> lines;
    std::size_t start = 0;
    const std::u32string& characters = line.characters;
    while (start < characters.size()) {
        std::size_t end = start, lastBreak = 0;
        int used = 0;
        while (end < characters.size()) {
            int advance = font.GlyphFor(characters[end]).advance;
            if (used + advance > width && end > start)
                break;
            used += advance;
            ++end;
            if (BreaksAfter(characters[end - 1]) || (end < characters.size() && characters[end] >= 0x2E80))
                lastBreak = end;
        }
        if (end < characters.size() && lastBreak > start)
            end = lastBreak;
        text::TextLine piece{characters.substr(start, end - start), -1};
        if (line.underlined >= int(start) && line.underlined < int(end))
            piece.underlined = line.underlined - int(start);
        lines.push_back(std::move(piece));
        start = end;
        while (start < characters.size() && characters[start] == U' ')
            ++start;
    }
    if (lines.empty())
        lines.push_back(text::TextLine{});
    return lines;
}

void DrawStatic(Canvas& canvas, text::Font& font, const Window& control, const Dialog& dialog)
{
    const RECT& rect = control.windowRect;
    if ((control.style & SS_TYPEMASK) == SS_ICON) {
        auto icon = dialog.icons.find(control.handle);
        if (const display::Image* image = icon == dialog.icons.end() ? nullptr : IconImage(icon->second))
            canvas.Picture(*image, rect.left, rect.top);
        return;
    }
    bool prefixes = !(control.style & SS_NOPREFIX);
    int baseline = rect.top + font.Ascent();
    Color color = (control.style & WS_DISABLED) ? theme::grayedText : theme::text;
    for (const text::TextLine& paragraph : text::SplitLines(text::ToCodePoints(control.title), false, prefixes)) {
        for (const text::TextLine& line : Wrap(font, paragraph, Width(rect))) {
            int width = text::LineWidth(font, line.characters);
            int x = rect.left;
            if ((control.style & SS_TYPEMASK) == SS_CENTER)
                x = (rect.left + rect.right - width) / 2;
            else if ((control.style & SS_TYPEMASK) == SS_RIGHT)
                x = rect.right - width;
            canvas.Text(font, line, x, baseline, color);
            baseline += font.LineHeight();
        }
    }
}

// The button that Enter would press shows as the default: the focused push button, or else
// the dialog's default button.
bool LooksDefault(const Window& button, const Dialog& dialog)
{
    HWND focus = GetFocus();
    if (IsPushButton(focus) && IsDescendant(dialog.handle, focus))
        return focus == button.handle;
    return WORD(reinterpret_cast<ULONG_PTR>(button.menu)) == dialog.defaultId;
}

void DrawButton(Canvas& canvas, text::Font& font, const Window& button, const Dialog& dialog)
{
    const RECT& rect = button.windowRect;
    bool pressed = IsButtonPressed(button.handle);
    canvas.Fill(rect, pressed ? theme::pressedButtonFill : theme::buttonFill);
    if (pressed) {
        canvas.Frame(rect, theme::pressedButtonBorder);
    } else if (LooksDefault(button, dialog)) {
        canvas.Frame(rect, theme::defaultButtonBorder);
        canvas.Frame(Inset(rect, 1), theme::defaultButtonBorder);
    } else {
        canvas.Frame(rect, theme::buttonBorder);
    }
    if (GetFocus() == button.handle)
        canvas.DottedFrame(Inset(rect, 3), theme::text);
    text::TextLine label = text::SplitLines(text::ToCodePoints(button.title), true, true).front();
    int width = text::LineWidth(font, label.characters);
    int baseline = (rect.top + rect.bottom - font.LineHeight()) / 2 + font.Ascent();
    canvas.Text(font, label, (rect.left + rect.right - width) / 2, baseline,
                (button.style & WS_DISABLED) ? theme::grayedText : theme::text);
}

}  // namespace

void RedrawDialog(HWND handle)
{
    Dialog* dialog = LookUpDialog(handle);
    Window* window = LookUpWindow(handle);
    if (!dialog || !window || !dialog->font || !window->displayWindow)
        return;
    RECT client = ClientAreaInSurface(handle);
    Canvas canvas(Width(client), Height(client), theme::dialogFace, SurfaceScale(handle));
    for (HWND child : window->children) {
        Window* control = LookUpWindow(child);
        if (!control || !(control->style & WS_VISIBLE))
            continue;
        if (IsPushButton(child))
            DrawButton(canvas, *dialog->font, *control, *dialog);
        else if (control->windowClass && control->windowClass->name == L"Static")
            DrawStatic(canvas, *dialog->font, *control, *dialog);
    }
    SetSurfaceLayer(handle, layers::dialogFace, POINT{client.left, client.top}, canvas.Take());
}

}  // namespace quorvane::user32

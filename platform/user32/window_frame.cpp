#include "user32/window_frame.h"

namespace quorvane::user32 {

namespace {

constexpr LONG sizingBorder = 8;  // resize frame with its padding
constexpr LONG dialogBorder = 3;
constexpr LONG thinBorder = 1;
constexpr LONG clientEdge = 2;

LONG BorderWidth(DWORD style, DWORD exStyle)
{
    LONG border = 0;
    if (style & WS_THICKFRAME)
        border = sizingBorder;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = dialogBorder;
    else if (style & WS_BORDER)
        border = thinBorder;
    if (exStyle & WS_EX_CLIENTEDGE)
        border += clientEdge;
    return border;
}

}  // namespace

FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu)
{
    LONG border = BorderWidth(style, exStyle);
    FrameInsets insets{border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION)
        insets.top += captionHeight;
    if (hasMenu && !(style & WS_CHILD))
        insets.top += menuBarHeight;
    return insets;
}

}  // namespace quorvane::user32

extern "C" BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle)
{
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    quorvane::user32::FrameInsets insets = quorvane::user32::NonClientInsets(style, exStyle, menu != FALSE);
    rect->left -= insets.left;
    rect->top -= insets.top;
    rect->right += insets.right;
    rect->bottom += insets.bottom;
    return TRUE;
}

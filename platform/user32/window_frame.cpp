#include "window_frame.h"

namespace quorvane::user32 {

namespace {

constexpr LONG kSizingBorder = 8;  // resize frame with its padding
constexpr LONG kDialogBorder = 3;
constexpr LONG kThinBorder = 1;
constexpr LONG kClientEdge = 2;

LONG BorderWidth(DWORD style, DWORD exStyle)
{
    LONG border = 0;
    if (style & WS_THICKFRAME)
        border = kSizingBorder;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        border = kDialogBorder;
    else if (style & WS_BORDER)
        border = kThinBorder;
    if (exStyle & WS_EX_CLIENTEDGE)
        border += kClientEdge;
    return border;
}

}  // namespace

FrameInsets NonClientInsets(DWORD style, DWORD exStyle, bool hasMenu)
{
    LONG border = BorderWidth(style, exStyle);
    FrameInsets insets{border, border, border, border};
    if ((style & WS_CAPTION) == WS_CAPTION)
        insets.top += kCaptionHeight;
    if (hasMenu && !(style & WS_CHILD))
        insets.top += kMenuBarHeight;
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

// The look of what the layer draws: a light desktop theme for menus and dialog boxes.
#pragma once

#include "user32/canvas.h"

namespace quorvane::user32::theme {

constexpr Color text = 0xFF000000;
constexpr Color grayedText = 0xFF6D6D6D;

// The menu bar: a grey bar, pale blue for the title under the mouse or the keyboard, a deeper
// blue for the title whose pop-up is open.
constexpr Color barBackground = 0xFFF0F0F0;
constexpr Color barHotFill = 0xFFE5F3FF;
constexpr Color barHotBorder = 0xFFCCE8FF;
constexpr Color barOpenFill = 0xFFCCE8FF;
constexpr Color barOpenBorder = 0xFF99D1FF;

// Pop-up menus: framed, with a soft shadow and check marks at the left of their items.
constexpr Color popupBackground = 0xFFF2F2F2;
constexpr Color popupBorder = 0xFFCCCCCC;
constexpr Color popupHighlight = 0xFF91C9F7;
constexpr Color separatorLine = 0xFFD7D7D7;

// Dialog boxes and their push buttons.
constexpr Color dialogFace = 0xFFF0F0F0;
constexpr Color buttonFill = 0xFFE1E1E1;
constexpr Color buttonBorder = 0xFFADADAD;
constexpr Color defaultButtonBorder = 0xFF0078D7;
constexpr Color pressedButtonFill = 0xFFCCE4F7;
constexpr Color pressedButtonBorder = 0xFF005499;

}  // namespace quorvane::user32::theme

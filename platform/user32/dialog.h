// Modal dialog boxes: what user32 keeps of a dialog while it runs, for its procedure, its
// keyboard handling and the layer that draws its face.
#pragma once

#include <windows.h>

#include <map>

#include "text/font.h"

namespace quorvane::user32 {

struct Dialog {
    HWND handle = nullptr;
    HWND owner = nullptr;
    DLGPROC procedure = nullptr;
    text::Font* font = nullptr;
    int baseX = 0;  // dialog base units: the font's average character width and height
    int baseY = 0;
    WORD defaultId = IDOK;  // the template's default push button, or IDOK
    bool ended = false;
    INT_PTR result = 0;
    std::map<HWND, HICON> icons;  // SS_ICON controls and their icons, of their size on the screen
};

Dialog* LookUpDialog(HWND dialog);
// The dialog a control belongs to (its parent), or null.
Dialog* DialogOfControl(HWND control);

// Draws the dialog's face (background and controls) as a layer of its surface.
void RedrawDialog(HWND dialog);

// Controls: the button classes' pressed look, and the window classes behind "Button" and
// "Static", registered the first time a dialog needs them as the system's own classes are.
bool IsButtonPressed(HWND button);
void RegisterSystemClass(LPCWSTR name, WNDPROC procedure);
void RegisterControlClasses();
bool IsPushButton(HWND window);
// Clicks a button as BM_CLICK does: WM_COMMAND with its id and BN_CLICKED to its dialog.
void ClickButton(HWND button);

}  // namespace quorvane::user32

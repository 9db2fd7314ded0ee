// DialogBoxParamW and its companions. The dialog is a top-level window of its own (its caption
// and border are the window manager's), centred over its owner, with its controls as child
// windows. While it runs, its owner is disabled and a loop nested in the caller's takes every
// message, so the owner keeps painting; Enter presses the default button, Esc and the close
// box give IDCANCEL, Tab moves between tab stops and Space presses the focused button.
#include "user32/dialog.h"

#include <algorithm>
#include <cmath>

#include "text/text_layout.h"
#include "user32/dialog_template.h"
#include "user32/icons.h"
#include "user32/mnemonic.h"
#include "user32/modal_loop.h"
#include "user32/resource_data.h"
#include "user32/ui_fonts.h"
#include "user32/window.h"
#include "user32/window_class.h"
#include "user32/window_surface.h"

namespace quorvane::user32 {

namespace {

constexpr WORD buttonClass = 0x0080;
constexpr WORD staticClass = 0x0082;
const wchar_t dialogClassName[] = L"#32770";

std::map<HWND, Dialog>& Dialogs()
{
    static auto* dialogs = new std::map<HWND, Dialog>;  // never destroyed, like the windows
    return *dialogs;
}

void RegisterDialogClasses()
{
    RegisterSystemClass(dialogClassName, DefDlgProcW);
    RegisterControlClasses();
}

int MulDivRounded(int value, int numerator, int denominator)
{
    long long product = (long long)value * numerator;
    return int((product + (product >= 0 ? denominator / 2 : -denominator / 2)) / denominator);
}

// GDI's average character width: the width of the 52 letters / 26, rounded up to whole pixels.
void SetBaseUnits(Dialog& dialog)
{
    if (!dialog.font) {
        dialog.baseX = 8;
        dialog.baseY = 16;
        return;
    }
    int letters = text::LineWidth(*dialog.font, U"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    dialog.baseX = (letters / 26 + 1) / 2;
    dialog.baseY = dialog.font->LineHeight();
}

RECT ToPixels(const Dialog& dialog, SHORT x, SHORT y, SHORT cx, SHORT cy)
{
    int left = MulDivRounded(x, dialog.baseX, 4), top = MulDivRounded(y, dialog.baseY, 8);
    return RECT{left, top, left + MulDivRounded(cx, dialog.baseX, 4), top + MulDivRounded(cy, dialog.baseY, 8)};
}

// Centred over the owner's window (or the desktop), and kept on the desktop.
POINT CentredPlace(HWND owner, LONG width, LONG height)
{
    RECT over = DesktopRect();
    if (owner)
        GetWindowRect(owner, &over);
    RECT desktop = DesktopRect();
    LONG x = (over.left + over.right - width) / 2, y = (over.top + over.bottom - height) / 2;
    x = std::max(desktop.left, std::min(x, desktop.right - width));
    y = std::max(desktop.top, std::min(y, desktop.bottom - height));
    return POINT{x, y};
}

LPCWSTR ClassOf(const kernel32::IdOrText& windowClass)
{
    if (!windowClass.id)
        return windowClass.text.c_str();
    switch (*windowClass.id) {
    case buttonClass: return L"Button";
    case staticClass: return L"Static";
    default: return nullptr;
    }
}

bool CreateControl(Dialog& dialog, HINSTANCE instance, const DialogItemTemplate& item)
{
    RECT place = ToPixels(dialog, item.x, item.y, item.cx, item.cy);
    bool icon = item.windowClass.id == staticClass && (item.style & SS_TYPEMASK) == SS_ICON;
    HICON picture = nullptr;
    if (icon) {  // the control takes the icon's size; its picture is of the size on the screen
        LPCWSTR name = item.title.id ? MAKEINTRESOURCEW(*item.title.id) : item.title.text.c_str();
        picture = LoadIconOfSize(instance, name, int(std::lround(float(iconSize) * SurfaceScale(dialog.handle))));
        place.right = place.left + iconSize;
        place.bottom = place.top + iconSize;
    }
    LPCWSTR windowClass = ClassOf(item.windowClass);
    HWND control = windowClass
                       ? CreateWindowExW(item.exStyle, windowClass, icon ? L"" : item.title.text.c_str(),
                                         item.style | WS_CHILD, place.left, place.top, Width(place), Height(place),
                                         dialog.handle, reinterpret_cast<HMENU>(ULONG_PTR(item.id)), instance, nullptr)
                       : nullptr;
    if (!control)
        return false;
    if (picture)
        dialog.icons[control] = picture;
    if (item.windowClass.id == buttonClass && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
        dialog.defaultId = WORD(item.id);
    return true;
}

HWND CreateDialogWindow(Dialog& dialog, HINSTANCE instance, const DialogTemplate& dialogTemplate)
{
    DWORD style = dialogTemplate.style & ~WS_VISIBLE & ~WS_CHILD;
    DWORD exStyle = dialogTemplate.exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    RECT client = ToPixels(dialog, 0, 0, dialogTemplate.cx, dialogTemplate.cy);
    RECT frame = client;
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    POINT at = CentredPlace(dialog.owner, Width(frame), Height(frame));
    HWND handle = CreateWindowExW(exStyle, dialogClassName, dialogTemplate.title.c_str(), style, at.x, at.y,
                                  Width(frame), Height(frame), dialog.owner, nullptr, instance, nullptr);
    // An owned window stays above its owner: over a topmost owner (a full-screen one) it is
    // topmost too, or it would open behind it.
    if (handle && dialog.owner && (GetWindowLongW(dialog.owner, GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(handle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return handle;
}

// The controls that Tab stops at, in template order.
std::vector<HWND> TabStops(HWND dialog)
{
    std::vector<HWND> stops;
    Window* window = LookUpWindow(dialog);
    for (HWND child : window ? window->children : std::vector<HWND>{}) {
        Window* control = LookUpWindow(child);
        if (control && (control->style & WS_TABSTOP) && (control->style & WS_VISIBLE) &&
            !(control->style & WS_DISABLED))
            stops.push_back(child);
    }
    return stops;
}

void MoveFocus(HWND dialog, bool backwards)
{
    std::vector<HWND> stops = TabStops(dialog);
    if (stops.empty())
        return;
    auto current = std::find(stops.begin(), stops.end(), GetFocus());
    std::ptrdiff_t index = current == stops.end() ? (backwards ? 0 : -1) : current - stops.begin();
    std::ptrdiff_t count = std::ptrdiff_t(stops.size());
    SetFocus(stops[std::size_t(((index + (backwards ? -1 : 1)) % count + count) % count)]);
}

void SendCommand(HWND dialog, WORD id)
{
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The dialog's own keys, as IsDialogMessage takes them; false for a message that goes on to
// the window it is for.
// A character (typed with or without Alt) that is a button's mnemonic presses the button.
bool PressButtonByMnemonic(HWND dialog, WCHAR typed)
{
    Window* window = LookUpWindow(dialog);
    for (HWND child : window ? window->children : std::vector<HWND>{}) {
        Window* control = LookUpWindow(child);
        if (control && IsPushButton(child) && IsWindowEnabled(child) && MatchesMnemonic(control->title, typed)) {
            SetFocus(child);
            ClickButton(child);
            return true;
        }
    }
    return false;
}

bool DialogKey(Dialog& dialog, const MSG& message)
{
    if (!(message.hwnd == dialog.handle || IsDescendant(dialog.handle, message.hwnd)))
        return false;
    if (message.message == WM_CHAR || message.message == WM_SYSCHAR)
        return PressButtonByMnemonic(dialog.handle, WCHAR(message.wParam));
    if (message.message != WM_KEYDOWN)
        return false;
    switch (message.wParam) {
    case VK_TAB: MoveFocus(dialog.handle, (GetKeyState(VK_SHIFT) & 0x8000) != 0); return true;
    case VK_ESCAPE: SendCommand(dialog.handle, IDCANCEL); return true;
    case VK_RETURN: {
        HWND focus = GetFocus();
        if (IsPushButton(focus) && IsDescendant(dialog.handle, focus))
            ClickButton(focus);
        else
            SendCommand(dialog.handle, LOWORD(SendMessageW(dialog.handle, DM_GETDEFID, 0, 0)));
        return true;
    }
    default: return false;
    }
}

void RunModalLoop(HWND handle)
{
    MSG message{};
    // Until EndDialog, or until the window is destroyed some other way.
    auto running = [handle] { return IsWindow(handle) && !LookUpDialog(handle)->ended; };
    while (running()) {
        Dialog& dialog = *LookUpDialog(handle);
        if (NextModalMessage(message, dialog.owner, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(handle), running) !=
            ModalStep::Message)
            break;
        if (DialogKey(*LookUpDialog(handle), message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The dialog's window and controls from the template, or null (the last error says why).
HWND CreateDialog(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC procedure)
{
    ResourceData data;
    DialogTemplate dialogTemplate;
    if (!FindResourceData(instance, templateName, RT_DIALOG, data))
        return nullptr;
    if (!ReadDialogTemplate(data.bytes, data.size, dialogTemplate)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    RegisterDialogClasses();
    Dialog dialog;
    dialog.owner = owner;
    dialog.font = DialogFont(dialogTemplate.typeface, dialogTemplate.hasFont ? dialogTemplate.pointSize : 8,
                             dialogTemplate.weight, dialogTemplate.italic);
    SetBaseUnits(dialog);
    HWND handle = CreateDialogWindow(dialog, instance, dialogTemplate);
    if (!handle)
        return nullptr;
    Dialog& made = Dialogs()[handle] = dialog;
    made.handle = handle;
    for (const DialogItemTemplate& item : dialogTemplate.items) {
        if (!CreateControl(made, instance, item)) {
            DestroyWindow(handle);
            Dialogs().erase(handle);
            return nullptr;
        }
    }
    made.procedure = procedure;  // from here on: WM_INITDIALOG is the first message it gets
    return handle;
}

// WM_INITDIALOG (the focus goes to the first tab stop unless the procedure set it), then the
// dialog is shown and its loop runs until EndDialog, unless EndDialog came already.
void RunDialog(HWND handle, LPARAM initParam)
{
    std::vector<HWND> stops = TabStops(handle);
    HWND firstStop = stops.empty() ? nullptr : stops.front();
    if (SendMessageW(handle, WM_INITDIALOG, WPARAM(firstStop), initParam) && firstStop)
        SetFocus(firstStop);
    if (LookUpDialog(handle)->ended)
        return;
    ShowWindow(handle, SW_SHOW);
    RedrawDialog(handle);
    RunModalLoop(handle);
}

}  // namespace

Dialog* LookUpDialog(HWND handle)
{
    auto found = Dialogs().find(handle);
    if (found != Dialogs().end())
        return &found->second;
    return nullptr;
}

Dialog* DialogOfControl(HWND control)
{
    Window* window = LookUpWindow(control);
    return window ? LookUpDialog(window->parent) : nullptr;
}

}  // namespace quorvane::user32

using namespace quorvane::user32;

extern "C" INT_PTR WINAPI DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC procedure,
                                          LPARAM initParam)
{
    if (owner && !LookUpWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    HWND handle = CreateDialog(instance, templateName, owner, procedure);
    if (!handle)
        return -1;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    RunDialog(handle, initParam);
    INT_PTR result = LookUpDialog(handle)->result;
    if (ownerWasEnabled && LookUpWindow(owner))
        EnableWindow(owner, TRUE);  // before the dialog goes, so the owner gets the focus back
    if (IsWindow(handle))
        DestroyWindow(handle);
    Dialogs().erase(handle);
    return result;
}

extern "C" BOOL WINAPI EndDialog(HWND handle, INT_PTR result)
{
    Dialog* dialog = LookUpDialog(handle);
    if (!dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    dialog->ended = true;
    dialog->result = result;
    return TRUE;
}

extern "C" HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    Window* window = LookUpWindow(dialog);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND child : window->children) {
        Window* control = LookUpWindow(child);
        if (control && WORD(reinterpret_cast<ULONG_PTR>(control->menu)) == WORD(id))
            return child;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

extern "C" int WINAPI GetDlgCtrlID(HWND control)
{
    Window* window = LookUpWindow(control);
    return window && (window->style & WS_CHILD) ? int(reinterpret_cast<ULONG_PTR>(window->menu)) : 0;
}

// The dialog procedure first; what it leaves (returns FALSE for), the dialog's defaults.
extern "C" LRESULT WINAPI DefDlgProcW(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Dialog* dialog = LookUpDialog(handle);
    if (dialog && dialog->procedure) {
        INT_PTR handled = dialog->procedure(handle, message, wParam, lParam);
        if (message == WM_INITDIALOG)
            return handled;
        if (handled)
            return 0;
    }
    switch (message) {
    case WM_CLOSE:
        // The close box and Alt+F4 act like a Cancel button.
        PostMessageW(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(handle, IDCANCEL)));
        return 0;
    case DM_GETDEFID: return dialog ? MAKELRESULT(dialog->defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID:
        if (dialog)
            dialog->defaultId = WORD(wParam);
        return TRUE;
    case WM_INITDIALOG: return TRUE;
    default: return DefWindowProcW(handle, message, wParam, lParam);
    }
}

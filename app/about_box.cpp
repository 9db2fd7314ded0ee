// The About box's dialog procedure; the dialog's look is the resource template's.
#include "app/about_box.h"

#include "app/entry.h"
#include "app/resource.h"

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;  // the default focus
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hDlg, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

void ShowAboutBox(HWND hwnd)
{
    DialogBoxParamW(applicationInstance, MAKEINTRESOURCEW(IDD_ABOUTBOX), hwnd, AboutDlgProc, 0);
}

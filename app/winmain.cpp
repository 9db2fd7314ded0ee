// Process entry. For now it reads the settings and writes them back; the window and its
// message loop come later, between the two.
#include "app/settings.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    LoadSettings();
    SaveSettings();
    return 0;
}

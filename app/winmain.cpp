// Process entry. For now it only starts and ends; the window and its message loop come with
// the application shell.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return 0;
}

// Linux process entry: hands control to the program's wWinMain as Windows would. The program
// takes no arguments, so the command line it receives is empty.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

int main()
{
    static WCHAR emptyCommandLine[] = L"";
    return wWinMain(GetModuleHandleW(nullptr), nullptr, emptyCommandLine, SW_SHOWDEFAULT);
}

// The browser's process entry: the viewer runs in /quorvane, where the page packs Data/ and keeps
// Quorvane.ini (restored from IndexedDB by the page before this program starts), and hands control
// to the program's wWinMain as Windows would, with an empty command line. The page learns when
// wWinMain has returned (File > Exit) and shows that the viewer has ended.
//
// A page that is left (reloaded, closed, navigated away) never runs the message loop again: as
// Windows does when a session ends, every top-level window is asked (WM_QUERYENDSESSION) and told
// (WM_ENDSESSION) while the page is hidden, and the program saves its settings then.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

namespace {

constexpr char viewerFolder[] = "/quorvane";

// The program reads its current directory while its static objects are made (the settings file's
// path): the folder is entered ahead of every ordinary static initialiser.
// Emscripten's process starts with a file-creation mask of 0777, which would leave every file the
// program makes (Quorvane.ini) unreadable: it gets the mask a desktop session gives.
__attribute__((constructor(101))) void EnterViewerFolder()
{
    umask(022);
    chdir(viewerFolder);
}

EM_JS(void, ReportEnded, (int code), {
    if (Module.quorvaneEnded)
        Module.quorvaneEnded(code);
});

// clang-format off
EM_JS(void, EndSessionWhenThePageGoes, (), {
    addEventListener('pagehide', function() {
        if (window.quorvane && window.quorvane.state == 'running')
            Module._quorvane_end_session();
    });
});
// clang-format on

}  // namespace

// Called from the page's pagehide listener, while the program waits in the message loop; what it
// sends does not wait, so it runs to its end before the page goes.
extern "C" EMSCRIPTEN_KEEPALIVE void quorvane_end_session()
{
    EnumWindows([](HWND window, LPARAM) -> BOOL { return SendMessageW(window, WM_QUERYENDSESSION, 0, 0) != FALSE; }, 0);
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            SendMessageW(window, WM_ENDSESSION, TRUE, 0);
            return TRUE;
        },
        0);
}

int main()
{
    EndSessionWhenThePageGoes();
    static WCHAR emptyCommandLine[] = L"";
    const int code = wWinMain(GetModuleHandleW(nullptr), nullptr, emptyCommandLine, SW_SHOWDEFAULT);
    ReportEnded(code);
    return code;
}

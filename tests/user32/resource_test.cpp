// Resources compiled by windres from a UTF-8 script with Japanese texts and built into this test
// program: the .res format, strings, menu and accelerator templates, icon groups and cursors.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/headless/headless_driver.h"
#include "kernel32/resource_file.h"
#include "recording_window.h"
#include "resources/test_resources.h"
#include "user32/icons.h"
#include "user32/window.h"

namespace quorvane::tests {
namespace {

HINSTANCE Module()
{
    return GetModuleHandleW(nullptr);
}

std::wstring LoadedString(UINT id, int bufferMax = 100)
{
    std::vector<wchar_t> buffer(std::size_t(bufferMax) + 1, L'#');
    int length = LoadStringW(Module(), id, buffer.data(), bufferMax);
    EXPECT_EQ(std::wstring(buffer.data()).size(), std::size_t(length));
    return buffer.data();
}

TEST(StringTable, TextsComeBackWhole)
{
    EXPECT_EQ(LoadedString(IDS_TITLE), L"Quorvane");
    EXPECT_EQ(LoadedString(IDS_CLASS), L"QUORVANE");
    // U+8868 U+793A survive the UTF-8 script; the surrogate pair is one code point here.
    EXPECT_EQ(LoadedString(IDS_JAPANESE), L"\u8868\u793A(&V) \U0001D11E");
    EXPECT_EQ(LoadedString(IDS_FAR), L"遠い文字列");  // another block of sixteen
}

TEST(StringTable, ShortBuffersTruncateMissingStringsAreEmptyAndNoBufferGivesTheTextInPlace)
{
    EXPECT_EQ(LoadedString(IDS_TITLE, 5), L"Quor");
    EXPECT_EQ(LoadedString(IDS_TITLE, 1), L"");
    EXPECT_EQ(LoadedString(IDS_EMPTY), L"");  // in a block that exists, never defined
    EXPECT_EQ(LoadedString(9999), L"");       // in no block at all
    EXPECT_EQ(LoadStringW(Module(), IDS_TITLE, nullptr, 10), 0);

    const wchar_t* text = nullptr;
    int length = LoadStringW(Module(), IDS_FAR, reinterpret_cast<LPWSTR>(&text), 0);
    ASSERT_EQ(length, 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wstring(text, std::size_t(length)), L"遠い文字列");
}

// Destroyed at exit, after the tests and the thread's thread_local objects: it uses the platform
// as a program's static objects may (destroys a window, posts to the thread, reads the string
// LoadStringW handed out), and the process fails if the platform no longer answers.
struct UsedAtExit {
    HWND window = nullptr;
    const wchar_t* text = nullptr;
    int length = 0;
    ~UsedAtExit()
    {
        MSG posted{};
        if (window && !(DestroyWindow(window) && PostMessageW(nullptr, WM_USER, 0, 0) &&
                        PeekMessageW(&posted, nullptr, WM_USER, WM_USER, PM_REMOVE) &&
                        std::wstring(text, std::size_t(length)) == L"遠い文字列")) {
            std::fputs("the platform no longer answered at exit\n", stderr);
            std::_Exit(1);
        }
    }
} usedAtExit;

TEST(StringTable, ThePlatformStillAnswersStaticObjectsAtExit)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = Module();
    windowClass.lpszClassName = L"UsedAtExit";
    ASSERT_NE(RegisterClassExW(&windowClass), 0);
    usedAtExit.window = CreateWindowExW(0, L"UsedAtExit", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                        Module(), nullptr);
    usedAtExit.length = LoadStringW(Module(), IDS_FAR, reinterpret_cast<LPWSTR>(&usedAtExit.text), 0);
    EXPECT_NE(usedAtExit.window, nullptr);
}

// The .res file: an empty opening entry, then each resource with its header padded to four
// bytes. A file cut anywhere inside an entry is refused as a whole.
std::vector<unsigned char> ResFile()
{
    std::vector<unsigned char> file(32, 0);  // the opening entry: no data, header of 32 bytes
    file[4] = 32;
    file[8] = file[9] = file[12] = file[13] = 0xFF;
    auto word = [&](unsigned value) {
        file.push_back(static_cast<unsigned char>(value & 0xFF));
        file.push_back(static_cast<unsigned char>(value >> 8));
    };
    std::size_t start = file.size();
    word(3), word(0);           // data size 3
    word(0), word(0);           // header size, filled in below
    word(0xFFFF), word(10);     // RT_RCDATA
    for (char16_t c : u"名前")  // a name, zero-terminated
        word(c);
    while (file.size() % 4)
        file.push_back(0);
    file.insert(file.end(), {0, 0, 0, 0, 0x30, 0x10, 0x11, 0x04});  // version, flags, Japanese
    file.insert(file.end(), 8, 0);                                  // version, characteristics
    file[start + 4] = static_cast<unsigned char>(file.size() - start);
    file.insert(file.end(), {1, 2, 3});
    return file;
}

TEST(ResourceFile, EntriesAreReadWithTheirNamesAndData)
{
    std::vector<unsigned char> file = ResFile();
    std::vector<kernel32::ResourceFileEntry> entries;
    ASSERT_TRUE(kernel32::ParseResourceFile(file.data(), file.size(), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].typeId, 10u);
    EXPECT_EQ(entries[0].nameText, L"名前");
    EXPECT_EQ(entries[0].language, 0x0411u);
    ASSERT_EQ(entries[0].size, 3u);
    EXPECT_EQ(file[entries[0].offset + 2], 3);
}

TEST(ResourceFile, TruncatedFilesAreRefused)
{
    std::vector<unsigned char> file = ResFile();
    for (std::size_t cut = 33; cut < file.size(); ++cut) {
        std::vector<kernel32::ResourceFileEntry> entries;
        EXPECT_FALSE(kernel32::ParseResourceFile(file.data(), cut, entries)) << "cut at " << cut;
        EXPECT_TRUE(entries.empty());
    }
}

std::wstring MenuText(HMENU menu, UINT item, UINT flags = MF_BYPOSITION)
{
    wchar_t text[64] = L"";
    GetMenuStringW(menu, item, text, 64, flags);
    return text;
}

TEST(MenuTemplate, PopupsItemsTextsAndStatesAsWritten)
{
    HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDM_MAIN));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(MenuText(menu, 0), L"ファイル(&F)");
    EXPECT_EQ(MenuText(menu, 3), L"ヘルプ(&H)");
    HMENU view = GetSubMenu(menu, 1);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(GetMenuItemCount(view), 8);
    EXPECT_EQ(GetMenuItemID(view, 0), UINT(IDC_EARTH));
    EXPECT_EQ(GetMenuState(view, IDC_EARTH, MF_BYCOMMAND), UINT(MF_CHECKED));
    EXPECT_EQ(GetMenuState(view, IDC_OUTLINE, MF_BYCOMMAND), UINT(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(view, 2, MF_BYPOSITION), UINT(MF_SEPARATOR));
    EXPECT_EQ(GetMenuState(view, IDC_GRAYED, MF_BYCOMMAND), UINT(MF_GRAYED));
    EXPECT_EQ(MenuText(view, IDC_HELP, MF_BYCOMMAND), L"ヘルプの表示(&H)\tF1");
    // The nested pop-up: its state has its item count in the high byte.
    EXPECT_EQ(GetMenuState(view, 7, MF_BYPOSITION), UINT(MF_POPUP | (1 << 8)));
    EXPECT_EQ(GetMenuItemID(view, 7), UINT(-1));
    EXPECT_EQ(MenuText(GetSubMenu(view, 7), IDC_DEEP, MF_BYCOMMAND), L"奥の項目(&D)");
    // By command, the search goes through every pop-up from the bar down.
    EXPECT_EQ(GetMenuState(menu, IDC_DEEP, MF_BYCOMMAND), UINT(MF_UNCHECKED));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(view));  // pop-ups go with their menu

    SetLastError(0);
    EXPECT_EQ(LoadMenuW(Module(), MAKEINTRESOURCEW(4242)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
}

// A resource cut short anywhere: the loaders fail cleanly instead of reading past its end.
class DamagedResources : public ::testing::Test {
protected:
    void TearDown() override { test_controls::RestoreDefaults(); }

    // The built-in resource's bytes, cut to `size`, served in place of the whole table.
    void ServeCut(LPCWSTR type, WORD id, std::size_t size)
    {
        test_controls::RestoreDefaults();  // the whole built-in table again
        HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
        ASSERT_NE(found, nullptr);
        const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(Module(), found)));
        ASSERT_LT(size, SizeofResource(Module(), found));
        kept_.assign(bytes, bytes + size);
        test_controls::SetLinkedResources({{type, MAKEINTRESOURCEW(id), kept_.data(), DWORD(kept_.size())}});
    }
    std::size_t Size(LPCWSTR type, WORD id)
    {
        return SizeofResource(Module(), FindResourceW(Module(), MAKEINTRESOURCEW(id), type));
    }

    std::vector<unsigned char> kept_;
};

TEST_F(DamagedResources, CutTemplatesAreRefused)
{
    std::size_t menuSize = Size(RT_MENU, IDM_MAIN), acceleratorSize = Size(RT_ACCELERATOR, IDA_MAIN),
                dialogSize = Size(RT_DIALOG, IDD_ABOUT), stringSize = Size(RT_STRING, IDS_TITLE / 16 + 1);
    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, menuSize / 2, menuSize - 1}) {
        ServeCut(RT_MENU, IDM_MAIN, cut);
        EXPECT_EQ(LoadMenuW(Module(), MAKEINTRESOURCEW(IDM_MAIN)), nullptr) << cut;
    }
    for (std::size_t cut : {std::size_t{0}, std::size_t{7}, acceleratorSize - 1}) {
        ServeCut(RT_ACCELERATOR, IDA_MAIN, cut);
        EXPECT_EQ(LoadAcceleratorsW(Module(), MAKEINTRESOURCEW(IDA_MAIN)), nullptr) << cut;
    }
    for (std::size_t cut : {std::size_t{0}, std::size_t{20}, dialogSize / 2, dialogSize - 1}) {
        ServeCut(RT_DIALOG, IDD_ABOUT, cut);
        EXPECT_EQ(DialogBoxParamW(Module(), MAKEINTRESOURCEW(IDD_ABOUT), nullptr, nullptr, 0), -1) << cut;
    }
    // The block ends with the count of string 111 (none): cutting 3 bytes cuts into 110.
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, stringSize - 3}) {
        ServeCut(RT_STRING, IDS_TITLE / 16 + 1, cut);
        EXPECT_EQ(LoadedString(IDS_JAPANESE), L"") << cut;  // the last string of the block is cut
    }
}

const display::Image& IconPicture(int size)
{
    HICON icon = user32::LoadIconOfSize(Module(), MAKEINTRESOURCEW(IDI_TEST), size);
    EXPECT_NE(icon, nullptr);
    const display::Image* image = user32::IconImage(icon);
    EXPECT_NE(image, nullptr);
    static const display::Image none;
    return image ? *image : none;
}

DWORD Pixel(const display::Image& image, int x, int y)
{
    return image.pixels[std::size_t(y) * image.width + std::size_t(x)];
}

// The test icon has a red 16 x 16 image, a green 32 x 32 one with its top-left quarter
// transparent through alpha, and a blue 48 x 48 one of 8 bits, its top-left quarter masked.
// Other sizes are scaled from the nearest larger image.
TEST(Icons, TheImageOfTheSizeAskedForIsChosenOrScaled)
{
    HICON icon = LoadIconW(Module(), MAKEINTRESOURCEW(IDI_TEST));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(Module(), MAKEINTRESOURCEW(IDI_TEST)), icon);  // shared
    const display::Image* standard = user32::IconImage(icon);
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(standard->width, 32u);  // the standard size
    EXPECT_EQ(Pixel(*standard, 24, 24), 0xFF00FF00u);

    struct Probe {
        int size;
        int x, y;
        DWORD pixel;  // 0 for a transparent one
    };
    const Probe probes[] = {
        {16, 8, 8, 0xFFFF0000u}, {32, 24, 24, 0xFF00FF00u}, {32, 24, 4, 0xFF00FF00u},  // rows are not upside down
        {32, 4, 4, 0},           {48, 40, 40, 0xFF0000FFu}, {48, 40, 4, 0xFF0000FFu},
        {48, 4, 4, 0},           {24, 20, 20, 0xFF00FF00u},  // from the 32 x 32 image
        {24, 2, 2, 0},
    };
    for (const Probe& p : probes) {
        const display::Image& image = IconPicture(p.size);
        ASSERT_EQ(image.width, unsigned(p.size));
        ASSERT_EQ(image.height, unsigned(p.size));
        DWORD pixel = Pixel(image, p.x, p.y);
        if (p.pixel)
            EXPECT_EQ(pixel, p.pixel) << p.size << " at " << p.x << "," << p.y;
        else
            EXPECT_EQ(pixel >> 24, 0u) << p.size << " at " << p.x << "," << p.y;
    }
}

LRESULT CALLBACK PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A window made without a menu gets its class's; the window manager shows the class's icon.
TEST(WindowClass, AWindowTakesItsClassMenuAndIcon)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = PlainProcedure;
    windowClass.hInstance = Module();
    windowClass.hIcon = LoadIconW(Module(), MAKEINTRESOURCEW(IDI_TEST));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDM_MAIN);
    windowClass.lpszClassName = L"ClassWithResources";
    ASSERT_NE(RegisterClassExW(&windowClass), 0);
    auto create = [&](HMENU menu) {
        return CreateWindowExW(0, L"ClassWithResources", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, menu,
                               Module(), nullptr);
    };
    HWND window = create(nullptr);
    ASSERT_NE(window, nullptr);
    HMENU menu = GetMenu(window);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(menu, 3), 0), UINT(IDC_ABOUT));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.bottom, 300 - 2 * 8 - 23 - GetSystemMetrics(SM_CYMENU));
    const display::Image& shown = user32::DisplayWindowOf(window)->icon;
    ASSERT_EQ(shown.width, 32u);
    EXPECT_EQ(Pixel(shown, 24, 24), 0xFF00FF00u);
    // A window given a menu of its own keeps that one; a bad menu handle makes no window.
    HMENU own = CreateMenu();
    HWND other = create(own);
    EXPECT_EQ(GetMenu(other), own);
    EXPECT_EQ(create(reinterpret_cast<HMENU>(ULONG_PTR{0x5E00})), nullptr);
    DestroyWindow(window);
    DestroyWindow(other);
    PumpMessages();
    UnregisterClassW(L"ClassWithResources", Module());
}

TEST(Icons, MissingIconsAndCursors)
{
    EXPECT_EQ(LoadIconW(Module(), MAKEINTRESOURCEW(4242)), nullptr);
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_NE(arrow, nullptr);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(LoadCursorW(nullptr, IDC_HAND), arrow);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(5)), nullptr);
}

}  // namespace
}  // namespace quorvane::tests

// Window classes and windows: registration, the messages of creation and destruction, the
// client and window rectangles, and the answers to bad handles.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Received> received;
LRESULT createResult = 0;
bool destroyInCreate = false;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back({message, wParam, message == WM_NCCREATE || message == WM_CREATE ? 0 : lParam});
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        EXPECT_EQ(std::wstring(create->lpszName), L"Recorded");
        EXPECT_EQ(create->lpCreateParams, reinterpret_cast<void*>(0x5678));
        // The client area has its size already while WM_CREATE runs.
        RECT client{};
        EXPECT_TRUE(GetClientRect(window, &client));
        if (create->style == LONG(WS_OVERLAPPEDWINDOW)) {
            EXPECT_EQ(client.right, 300);
        }
        if (destroyInCreate)
            DestroyWindow(window);
        return createResult;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"RecordingClass";
        atom_ = RegisterClassExW(&wc);
    }

    void SetUp() override
    {
        ASSERT_NE(atom_, 0);
        received.clear();
        createResult = 0;
        destroyInCreate = false;
    }

    HWND Create(DWORD style = WS_OVERLAPPEDWINDOW)
    {
        return CreateWindowExW(0, L"recordingclass", L"Recorded", style, 100, 50, 316, 239, nullptr, nullptr,
                               GetModuleHandleW(nullptr), reinterpret_cast<void*>(0x5678));
    }

    std::vector<UINT> Messages() const
    {
        std::vector<UINT> messages;
        for (const Received& r : received)
            messages.push_back(r.message);
        return messages;
    }

    static ATOM atom_;
};

ATOM WindowTest::atom_ = 0;

TEST_F(WindowTest, ClassesAreNamedOnceInAnyCaseOrByAtomAndStayWhileInUse)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = L"RECORDINGCLASS";  // the same name in other case
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    wc.cbSize = 0;
    wc.lpszClassName = L"Other";
    EXPECT_EQ(RegisterClassExW(&wc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(RegisterClassExW(nullptr), 0);

    HWND byAtom = CreateWindowExW(0, MAKEINTATOM(atom_), L"Recorded", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                  reinterpret_cast<void*>(0x5678));
    EXPECT_NE(byAtom, nullptr);
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"x", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_FALSE(UnregisterClassW(L"RecordingClass", nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_HAS_WINDOWS));
    DestroyWindow(byAtom);
    EXPECT_FALSE(UnregisterClassW(L"NoSuchClass", nullptr));
}

TEST_F(WindowTest, CreationSendsNcCreateCreateSizeAndMove)
{
    HWND window = Create();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
    // WS_OVERLAPPEDWINDOW: 8-pixel frame and a 23-pixel caption around 300 x 200.
    EXPECT_EQ(received[2].wParam, WPARAM(SIZE_RESTORED));
    EXPECT_EQ(received[2].lParam, MAKELPARAM(300, 200));
    EXPECT_EQ(received[3].lParam, MAKELPARAM(108, 81));
    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(window, &client));
    ASSERT_TRUE(GetWindowRect(window, &outer));
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.right, 300);
    EXPECT_EQ(client.bottom, 200);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 50);
    EXPECT_EQ(outer.right, 416);
    EXPECT_EQ(outer.bottom, 289);
    RECT adjusted{0, 0, 300, 200};
    ASSERT_TRUE(AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, FALSE, 0));
    EXPECT_EQ(adjusted.right - adjusted.left, outer.right - outer.left);
    EXPECT_EQ(adjusted.bottom - adjusted.top, outer.bottom - outer.top);
    EXPECT_TRUE(DestroyWindow(window));

    HWND popup = Create(WS_POPUP);  // no frame: the client area is the whole window
    ASSERT_TRUE(GetClientRect(popup, &client));
    EXPECT_EQ(client.right, 316);
    EXPECT_EQ(client.bottom, 239);
    DestroyWindow(popup);
}

TEST_F(WindowTest, DestructionSendsDestroyThenNcDestroyAndTheHandleDies)
{
    HWND window = Create();
    received.clear();
    EXPECT_TRUE(DestroyWindow(window));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    RECT rect{};
    EXPECT_FALSE(GetClientRect(window, &rect));
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
}

// WM_CREATE answering -1, or destroying the window itself: no window, and its end is sent.
TEST_F(WindowTest, CreationRefusedInWmCreateYieldsNoWindow)
{
    for (bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed in WM_CREATE" : "WM_CREATE answered -1");
        received.clear();
        createResult = destroy ? 0 : -1;
        destroyInCreate = destroy;
        EXPECT_EQ(Create(), nullptr);
        EXPECT_EQ(Messages(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    }
}

TEST_F(WindowTest, WithoutADisplayToShowThemTopLevelWindowsAreNotCreated)
{
    HWND parent = Create();
    ASSERT_NE(parent, nullptr);
    received.clear();
    ASSERT_TRUE(quorvane::test_controls::SetWindowsRefused(true));
    EXPECT_EQ(Create(), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_DEVICE_NOT_AVAILABLE));
    EXPECT_TRUE(received.empty());  // the procedure never heard of it
    // A child is shown in its parent's display window.
    HWND child = CreateWindowExW(0, L"RecordingClass", L"Recorded", WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                 GetModuleHandleW(nullptr), reinterpret_cast<void*>(0x5678));
    EXPECT_NE(child, nullptr);
    quorvane::test_controls::SetWindowsRefused(false);
    HWND later = Create();
    EXPECT_NE(later, nullptr);
    DestroyWindow(later);
    DestroyWindow(parent);
}

TEST_F(WindowTest, ChildWindowsGoWithTheirParent)
{
    HWND parent = Create();
    HWND child = CreateWindowExW(0, L"RecordingClass", L"Recorded", WS_CHILD, 5, 6, 20, 10, parent, nullptr, nullptr,
                                 reinterpret_cast<void*>(0x5678));
    ASSERT_NE(child, nullptr);
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 108 + 5);  // the parent's client origin plus the child's position
    EXPECT_EQ(rect.top, 81 + 6);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(CreateWindowExW(0, L"RecordingClass", L"x", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_TLW_WITH_WSCHILD));
}

// A parent given without WS_CHILD makes an owned top-level window: screen coordinates, not one of
// its owner's children (a click in the owner beside it is the owner's), gone with its owner.
TEST_F(WindowTest, AWindowMadeWithAParentButNotAsChildIsOwned)
{
    HWND owner = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND popup = CreateWindowExW(0, L"RecordingClass", L"Recorded", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, owner,
                                 nullptr, nullptr, reinterpret_cast<void*>(0x5678));
    ASSERT_NE(popup, nullptr);
    RECT rect{};
    GetWindowRect(popup, &rect);
    EXPECT_EQ(std::vector<LONG>({rect.left, rect.top, rect.right, rect.bottom}), std::vector<LONG>({50, 50, 250, 150}));
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
    EXPECT_EQ(GetParent(popup), owner);  // a pop-up's owner, as on Windows
    EXPECT_EQ(GetAncestor(popup, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetWindow(owner, GW_CHILD), nullptr);
    struct Click {
        HWND into;
        int x, y;  // client coordinates of `into`
    };
    for (Click click : {Click{owner, 60, 60}, Click{popup, 10, 10}}) {  // the first is beside the pop-up
        quorvane::test_controls::InjectMouseButton(click.into, quorvane::test_controls::MouseButton::Left, true,
                                                   click.x, click.y);
        MSG down{};
        ASSERT_TRUE(PeekMessageW(&down, nullptr, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(down.hwnd, click.into);
        EXPECT_EQ(down.lParam, MAKELPARAM(click.x, click.y));
        quorvane::test_controls::InjectMouseButton(click.into, quorvane::test_controls::MouseButton::Left, false,
                                                   click.x, click.y);
    }
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(popup));
}

}  // namespace

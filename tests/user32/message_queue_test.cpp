// The message queue: the order in which messages come out, the quit request, filters, and
// GetMessageW sleeping until the display has something.
#include <gtest/gtest.h>
#include <quorvane_testing.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <thread>

#include "recording_window.h"
#include "user32/thread_state.h"
#include "user32/window.h"

namespace quorvane::tests {
namespace {

using test_controls::InjectMouseMove;

using MessageQueueTest = RecordingWindowTest;

TEST_F(MessageQueueTest, PostedMessagesComeBeforeInputAndPaintComesLast)
{
    ShowWindow(window_.Handle(), SW_SHOW);  // shown: it needs painting
    ASSERT_TRUE(InjectMouseMove(window_.Handle(), 10, 20));
    ASSERT_TRUE(PostMessageW(window_.Handle(), WM_USER, 1, 2));
    std::vector<MSG> taken = PumpMessages();
    ASSERT_EQ(MessageIds(taken), (std::vector<UINT>{WM_USER, WM_MOUSEMOVE, WM_PAINT}));
    EXPECT_EQ(taken[0].wParam, 1u);
    EXPECT_EQ(taken[0].lParam, 2);
    EXPECT_EQ(taken[1].hwnd, window_.Handle());
    EXPECT_EQ(taken[1].lParam, MAKELPARAM(10, 20));
    EXPECT_TRUE(PumpMessages().empty());  // the default procedure validated the window
}

// A click whose handler destroys its window and makes another: the close request still waiting
// for the first window reaches no window, though the new one may get the first one's freed
// display window (a release build reuses the address at once).
TEST_F(MessageQueueTest, EventsOfADestroyedWindowReachNoWindowMadeAfterIt)
{
    HWND first = window_.Handle();
    const display::Window* shown = user32::DisplayWindowOf(first);
    std::unique_ptr<RecordingWindow> next;
    std::ptrdiff_t stillWaiting = -1;
    window_.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) {
            DestroyWindow(first);
            stillWaiting =
                std::ranges::count(user32::CurrentThreadState().deviceEvents, shown, &display::Event::window);
            next = std::make_unique<RecordingWindow>();
        }
        return std::nullopt;
    };
    ASSERT_TRUE(test_controls::InjectMouseButton(first, test_controls::MouseButton::Left, true, 10, 10));
    ASSERT_TRUE(test_controls::InjectCloseRequest(first));
    PumpMessages();
    EXPECT_EQ(stillWaiting, 0);
    ASSERT_TRUE(next && IsWindow(next->Handle()));
    EXPECT_TRUE(next->Of(WM_CLOSE).empty());
}

TEST_F(MessageQueueTest, TheQuitCodeComesOutOfGetMessageAfterPostedMessagesAndBeforeInput)
{
    ASSERT_TRUE(InjectMouseMove(window_.Handle(), 1, 1));
    PostMessageW(window_.Handle(), WM_USER, 0, 0);
    PostQuitMessage(7);
    MSG msg{};
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_USER));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);  // the quit request is taken once
    EXPECT_EQ(msg.message, UINT(WM_MOUSEMOVE));
}

TEST_F(MessageQueueTest, PeekCanLeaveMessagesAndFilterThem)
{
    PostMessageW(window_.Handle(), WM_USER, 0, 0);
    PostMessageW(nullptr, WM_USER + 1, 0, 0);  // to the thread
    PostMessageW(window_.Handle(), WM_KEYDOWN, VK_F2, 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE));
    EXPECT_EQ(msg.message, UINT(WM_KEYDOWN));
    ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 1));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(MessageIds(PumpMessages()), (std::vector<UINT>{WM_USER, WM_KEYDOWN}));
    EXPECT_EQ(DispatchMessageW(&msg), 0);  // a thread message goes to no procedure
}

TEST_F(MessageQueueTest, GetMessageSleepsUntilTheDisplayDeliversAnEvent)
{
    std::atomic<bool> injected = false;
    std::thread device([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        injected = true;
        InjectMouseMove(window_.Handle(), 5, 6);
    });
    MSG msg{};
    BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    bool arrivedAfterInjection = injected;
    device.join();
    EXPECT_EQ(result, TRUE);
    EXPECT_TRUE(arrivedAfterInjection);
    EXPECT_EQ(msg.message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(msg.lParam, MAKELPARAM(5, 6));
}

TEST_F(MessageQueueTest, MessagesOfADestroyedWindowAreDropped)
{
    RecordingWindow other;
    PostMessageW(other.Handle(), WM_USER, 0, 0);
    InjectMouseMove(other.Handle(), 3, 3);
    PostMessageW(window_.Handle(), WM_USER, 0, 0);
    DestroyWindow(other.Handle());
    std::vector<MSG> taken = PumpMessages();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].hwnd, window_.Handle());
    EXPECT_FALSE(PostMessageW(other.Handle(), WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    MSG msg{};
    EXPECT_EQ(GetMessageW(&msg, other.Handle(), 0, 0), -1);
}

TEST_F(MessageQueueTest, SendMessageReentersTheProcedureBeforeReturning)
{
    std::vector<UINT> order;
    window_.handler = [&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        order.push_back(message);
        if (message == WM_USER)
            return SendMessageW(window_.Handle(), WM_USER + 1, 0, 0) + 1;
        if (message == WM_USER + 1)
            return 41;
        return std::nullopt;
    };
    EXPECT_EQ(SendMessageW(window_.Handle(), WM_USER, 0, 0), 42);
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER + 1}));
    MSG posted{window_.Handle(), WM_USER + 1, 0, 0, 0, {}};
    EXPECT_EQ(DispatchMessageW(&posted), 41);
}

}  // namespace
}  // namespace quorvane::tests

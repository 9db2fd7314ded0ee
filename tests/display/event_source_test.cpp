// The headless display's event source: waiting without spinning until an event comes from
// another thread, late reports of full screen, and the events of a destroyed window.
#include <gtest/gtest.h>

#include <thread>

#include "display/display.h"

namespace {

using namespace quorvane::display;

class EventSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        modes_ = driver_.Modes();
        desktop_ = driver_.DesktopMode();
        Event stale;
        while (driver_.PollEvent(stale)) {
        }
        window_ = driver_.CreateDisplayWindow(WindowDesc{"w", 40, 30, 200, 100, true});
    }
    void TearDown() override
    {
        driver_.DestroyDisplayWindow(window_);
        driver_.ConfigureModes(modes_, desktop_);
        Event stale;
        while (driver_.PollEvent(stale)) {
        }
    }

    Driver& driver_ = CurrentDriver();
    std::vector<Mode> modes_;
    Mode desktop_;
    Window* window_ = nullptr;
};

TEST_F(EventSourceTest, WaitingEndsWhenAnotherThreadDeliversAnEvent)
{
    Event event;
    EXPECT_FALSE(driver_.PollEvent(event));
    EXPECT_FALSE(driver_.WaitEvent(event, 0));
    std::thread device([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        driver_.InjectEvent(Event{.type = EventType::KeyDown, .window = window_, .key = keys::f1});
    });
    ASSERT_TRUE(driver_.WaitEvent(event, -1));
    device.join();
    EXPECT_EQ(event.type, EventType::KeyDown);
    EXPECT_EQ(event.key, keys::f1);
    EXPECT_EQ(event.window, window_);
}

TEST_F(EventSourceTest, FullScreenMovesTheSurfaceAndSaysSoLate)
{
    ASSERT_TRUE(driver_.EnterFullScreen(window_, Mode{800, 600, 0}));
    EXPECT_EQ(driver_.DisplayWindowRect(window_), (Rect{0, 0, 800, 600}));
    Event event;
    ASSERT_TRUE(driver_.PollEvent(event));
    EXPECT_EQ(event.type, EventType::WindowChanged);
    EXPECT_EQ(event.window, window_);
    driver_.LeaveFullScreen(window_);
    EXPECT_EQ(driver_.DisplayWindowRect(window_), (Rect{40, 30, 200, 100}));
    ASSERT_TRUE(driver_.PollEvent(event));
    EXPECT_EQ(event.type, EventType::WindowChanged);
}

TEST_F(EventSourceTest, ADesktopChangeIsAnEvent)
{
    Mode desktop = driver_.DesktopMode();
    ASSERT_TRUE(driver_.ConfigureModes(driver_.Modes(), Mode{1024, 768, 60}));
    Event event;
    ASSERT_TRUE(driver_.PollEvent(event));
    EXPECT_EQ(event.type, EventType::DesktopChanged);
    ASSERT_TRUE(driver_.ConfigureModes(driver_.Modes(), Mode{1024, 768, 75}));  // the same size
    EXPECT_FALSE(driver_.PollEvent(event));
    driver_.ConfigureModes(driver_.Modes(), desktop);
}

TEST_F(EventSourceTest, ADestroyedWindowsInputStaysWithoutItAndTheRestGoes)
{
    Window* doomed = driver_.CreateDisplayWindow(WindowDesc{"d", 0, 0, 10, 10, true});
    driver_.InjectEvent(Event{.type = EventType::MouseButtonUp, .window = doomed});
    driver_.InjectEvent(Event{.type = EventType::CloseRequest, .window = doomed});
    driver_.InjectEvent(Event{.type = EventType::CloseRequest, .window = window_});
    driver_.DestroyDisplayWindow(doomed);
    Event event;
    ASSERT_TRUE(driver_.PollEvent(event));
    EXPECT_EQ(event.type, EventType::MouseButtonUp);
    EXPECT_EQ(event.window, nullptr);
    ASSERT_TRUE(driver_.PollEvent(event));
    EXPECT_EQ(event.window, window_);
    EXPECT_FALSE(driver_.PollEvent(event));
}

}  // namespace

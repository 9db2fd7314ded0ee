// The headless display's event source: late reports of full screen, and the events of a
// destroyed window. (Waiting for events and desktop changes are tested through user32.)
#include <gtest/gtest.h>

#include "display/display.h"
#include "display/simulated_display.h"

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
        simulated_.ConfigureModes(modes_, desktop_);
        Event stale;
        while (driver_.PollEvent(stale)) {
        }
    }

    Driver& driver_ = CurrentDriver();
    SimulatedDisplay& simulated_ = *CurrentSimulatedDisplay();
    std::vector<Mode> modes_;
    Mode desktop_;
    Window* window_ = nullptr;
};

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

TEST_F(EventSourceTest, ADestroyedWindowsInputStaysWithoutItAndTheRestGoes)
{
    Window* doomed = driver_.CreateDisplayWindow(WindowDesc{"d", 0, 0, 10, 10, true});
    simulated_.InjectEvent(Event{.type = EventType::MouseButtonUp, .window = doomed});
    simulated_.InjectEvent(Event{.type = EventType::CloseRequest, .window = doomed});
    simulated_.InjectEvent(Event{.type = EventType::CloseRequest, .window = window_});
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

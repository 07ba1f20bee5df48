#include "rules/taskbar_place.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TaskbarPlace, TheClockMonitorsTaskbarTakesTheClockAtItsFarEnd) {
    const Place primary{0, 1032, 1920, 48}, second{1920, 1392, 2560, 48}, top{-1280, 0, 1280, 40};
    const Place full{0, 0, 1920, 1080}, right{1920, 0, 2560, 1440}, left{-1280, 0, 1280, 1024};
    const struct {
        std::vector<Place> taskbars; // the primary's first
        Place monitor;               // that holds the clock's centre
        int factor, taskbar;
        Place clock; // on the chosen taskbar's face, which is all of it
    } cases[] = {
        {{{0, 2064, 3840, 96}}, {0, 0, 3840, 2160}, 2, 0, {3704, 0, 112, 96}},
        {{primary, second}, right, 1, 1, {2492, 0, 56, 48}},
        {{primary, second}, full, 1, 0, {1852, 0, 56, 48}},
        {{primary, second, top}, left, 1, 2, {1212, 0, 56, 40}}, // at the screen's top
        {{primary, second}, left, 1, 0, {1852, 0, 56, 48}},      // a monitor without one
        {{{0, 0, 124, 2160}}, {0, 0, 3840, 2160}, 2, 0, {0, 2076, 124, 60}}, // vertical
    };
    for (const auto& c : cases) {
        const int chosen = TaskbarOnMonitor(c.taskbars, c.monitor);
        ASSERT_EQ(chosen, c.taskbar) << "row " << &c - cases;
        const Place& bar = c.taskbars[static_cast<std::size_t>(chosen)];
        EXPECT_EQ(ClockPlaceOnTaskbar({0, 0, bar.width, bar.height}, Scale(c.factor)), c.clock)
            << "row " << &c - cases;
    }
    EXPECT_EQ(ClockPlaceOnTaskbar({4, 2, 1000, 44}, Scale()), (Place{936, 2, 56, 44})) << "inset";
    EXPECT_EQ(TaskbarOnMonitor({}, full), -1) << "no taskbar at all";
}

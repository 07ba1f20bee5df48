#include "rules/taskbar_place.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TaskbarPlace, TheClockMonitorsTaskbarTakesTheClockAtItsFarEnd) {
    const Place primary{0, 1032, 1920, 48};
    const Place second{1920, 1392, 2560, 48};
    const Place leftAtTop{-1280, 0, 1280, 40};
    const struct {
        const char* what;
        std::vector<Place> taskbars;
        Place monitor;
        int factor;
        int taskbar;
        Place clock; // on the chosen taskbar, whose face is all of it
    } cases[] = {
        {"Windows 11", {primary}, {0, 0, 1920, 1080}, 1, 0, {1852, 0, 56, 48}},
        {"small taskbar", {{0, 1048, 1920, 32}}, {0, 0, 1920, 1080}, 1, 0, {1852, 0, 56, 32}},
        {"192 DPI", {{0, 2064, 3840, 96}}, {0, 0, 3840, 2160}, 2, 0, {3704, 0, 112, 96}},
        {"clock on the second monitor",
         {primary, second},
         {1920, 0, 2560, 1440},
         1,
         1,
         {2492, 0, 56, 48}},
        {"clock on the primary", {primary, second}, {0, 0, 1920, 1080}, 1, 0, {1852, 0, 56, 48}},
        {"left monitor, taskbar at the top",
         {primary, second, leftAtTop},
         {-1280, 0, 1280, 1024},
         1,
         2,
         {1212, 0, 56, 40}},
        {"monitor without a taskbar",
         {primary, second},
         {-1280, 0, 1280, 1024},
         1,
         0,
         {1852, 0, 56, 48}},
        {"vertical taskbar", {{0, 0, 62, 1080}}, {0, 0, 1920, 1080}, 1, 0, {0, 1038, 62, 30}},
        {"vertical at 192 DPI", {{0, 0, 124, 2160}}, {0, 0, 3840, 2160}, 2, 0, {0, 2076, 124, 60}},
    };
    for (const auto& c : cases) {
        const int chosen = TaskbarOnMonitor(c.taskbars, c.monitor);
        ASSERT_EQ(chosen, c.taskbar) << c.what;
        const Place& bar = c.taskbars[static_cast<std::size_t>(chosen)];
        EXPECT_EQ(ClockPlaceOnTaskbar({0, 0, bar.width, bar.height}, Scale(c.factor)), c.clock)
            << c.what;
    }
    EXPECT_EQ(ClockPlaceOnTaskbar({4, 2, 1000, 44}, Scale()), (Place{936, 2, 56, 44}))
        << "inset face";
    EXPECT_EQ(TaskbarOnMonitor({}, {0, 0, 1920, 1080}), -1) << "no taskbar at all";
}

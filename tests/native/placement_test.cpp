#include "rules/placement.h"

#include <gtest/gtest.h>

namespace {
const ScreenArea kScreen{0, 0, 1024, 768};

WindowPlace Pull(int left, int top, int width = 154, int height = 69, ScreenArea screen = kScreen) {
    return PullOntoScreen({left, top, width, height}, screen);
}
} // namespace

TEST(PullOntoScreen, WindowBeyondTheRightOrBottomEdgeComesBack) {
    EXPECT_EQ(Pull(5000, 10).left, 1024 - 154);
    EXPECT_EQ(Pull(10, 5000).top, 768 - 69);
    WindowPlace both = Pull(5000, 5000);
    EXPECT_EQ(both.left, 870);
    EXPECT_EQ(both.top, 699);
}

TEST(PullOntoScreen, WindowBeyondTheLeftOrTopEdgeComesBack) {
    EXPECT_EQ(Pull(-500, 10).left, 0);
    EXPECT_EQ(Pull(10, -500).top, 0);
}

TEST(PullOntoScreen, OverlappingOrTouchingWindowsStay) {
    EXPECT_EQ(Pull(10, -30).top, -30);    // still overlaps by 39 rows
    EXPECT_EQ(Pull(1024, 10).left, 1024); // left equal to the width is not beyond it
    EXPECT_EQ(Pull(-154, 10).left, -154); // left + width equal to 0 is not beyond it
    EXPECT_EQ(Pull(10, 768).top, 768);
    EXPECT_EQ(Pull(10, -69).top, -69);
    EXPECT_EQ(Pull(1023, 767).left, 1023);
}

TEST(PullOntoScreen, SecondMonitorIsPartOfTheDesktop) {
    // A 1920-wide primary monitor with a second one to its left.
    const ScreenArea desktop{-1280, 0, 3200, 1080};
    EXPECT_EQ(Pull(-1000, 100, 154, 69, desktop).left, -1000);
    EXPECT_EQ(Pull(-2000, 100, 154, 69, desktop).left, -1280);
    EXPECT_EQ(Pull(5000, 100, 154, 69, desktop).left, 1920 - 154);
}

TEST(PullOntoNearestMonitor, WindowOnNoMonitorGoesIntoTheNearestWorkArea) {
    // Work areas leave a 40-pixel taskbar at the bottom of each monitor.
    auto monitor = [](int left, int top, int width, int height) {
        return MonitorArea{{left, top, width, height}, {left, top, width, height - 40}};
    };
    const std::vector<MonitorArea> sideBySide{monitor(0, 0, 1920, 1080),
                                              monitor(1920, 0, 1280, 720)};
    const std::vector<MonitorArea> stacked{monitor(0, 0, 1920, 1080), monitor(0, 1080, 1280, 1024)};
    const std::vector<MonitorArea> leftOfPrimary{monitor(-1280, 200, 1280, 800),
                                                 monitor(0, 0, 1920, 1080)};
    const struct {
        const char* what;
        const std::vector<MonitorArea>* monitors;
        WindowPlace window;
        int left, top;
    } cases[] = {
        {"dead corner below the smaller right monitor",
         &sideBySide,
         {2500, 900, 154, 69},
         2500,
         720 - 40 - 69},
        {"on the smaller monitor: stays", &sideBySide, {2500, 600, 154, 69}, 2500, 600},
        {"overlaps the small monitor by a pixel: stays",
         &sideBySide,
         {2500, 719, 154, 69},
         2500,
         719},
        {"dead corner right of the lower smaller monitor",
         &stacked,
         {1500, 1500, 154, 69},
         1280 - 154,
         1500},
        {"dead corner above the left monitor, negative coordinates",
         &leftOfPrimary,
         {-700, 20, 154, 69},
         -700,
         200},
        {"dead corner below the left monitor",
         &leftOfPrimary,
         {-300, 1050, 154, 69},
         -300,
         1000 - 40 - 69},
        {"wider than the work area: its left edge",
         &sideBySide,
         {2000, 760, 1500, 69},
         1920,
         720 - 40 - 69},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const WindowPlace placed = PullOntoNearestMonitor(c.window, *c.monitors);
        EXPECT_EQ(placed.left, c.left);
        EXPECT_EQ(placed.top, c.top);
        EXPECT_EQ(placed.width, c.window.width);
    }
    EXPECT_EQ(PullOntoNearestMonitor({5, 6, 7, 8}, {}).left, 5);
}

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

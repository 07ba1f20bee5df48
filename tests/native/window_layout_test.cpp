#include "rules/window_layout.h"

#include <gtest/gtest.h>

#include <vector>

TEST(WindowLayout, DesktopSizesOfTheStylesAndAnalogModes) {
    struct Case {
        bool mini, analog;
        int width, height;
    } cases[] = {
        {false, false, 154, 69},
        {false, true, 154, 69},
        {true, false, 85, 32},
        {true, true, 82, 69},
    };
    for (const Case& c : cases) {
        WindowSize size = DesktopWindowSize(c.mini, c.analog);
        EXPECT_EQ(size.width, c.width) << "mini " << c.mini << " analog " << c.analog;
        EXPECT_EQ(size.height, c.height) << "mini " << c.mini << " analog " << c.analog;
    }
}

TEST(WindowLayout, SecondsShowOnlyInARowWiderThanFiftyPixels) {
    EXPECT_FALSE(SmallRowShowsSeconds(0));
    EXPECT_FALSE(SmallRowShowsSeconds(37));
    EXPECT_FALSE(SmallRowShowsSeconds(50));
    EXPECT_TRUE(SmallRowShowsSeconds(51));
    EXPECT_TRUE(SmallRowShowsSeconds(56));
    EXPECT_TRUE(SmallRowShowsSeconds(400));
}

TEST(WindowLayout, TaskbarCellsAreCentredWithIntegerDivision) {
    EXPECT_EQ(TaskbarCellTop(29), 9);  // 14 - 5
    EXPECT_EQ(TaskbarCellTop(30), 10); // 15 - 5
    EXPECT_EQ(TaskbarCellTop(19), 4);
    EXPECT_EQ(TaskbarCellTop(9), -1); // a thin area crops the glyphs at the top
}

TEST(WindowLayout, DefaultLeftIsFlushWithTheRightEdge) {
    EXPECT_EQ(DefaultWindowLeft(1024, 154), 870);
    EXPECT_EQ(DefaultWindowLeft(1920, 85), 1835);
}

TEST(FitToTrayClock, FirstTickAfterEnteringAlwaysRefits) {
    // Entering the style makes the row as high as the area; the fit wants one pixel less.
    TrayFit fit = FitToTrayClock(62, 30, 62, 30);
    EXPECT_TRUE(fit.refit);
    EXPECT_EQ(fit.row.left, 0);
    EXPECT_EQ(fit.row.top, 0);
    EXPECT_EQ(fit.row.width, 62);
    EXPECT_EQ(fit.row.height, 29);
    EXPECT_EQ(fit.window.width, 62);
    EXPECT_EQ(fit.window.height, 29);
    EXPECT_EQ(fit.cellTop, 9);
    EXPECT_TRUE(fit.seconds);
}

TEST(FitToTrayClock, FittedRowIsLeftAlone) {
    TrayFit fit = FitToTrayClock(62, 30, 62, 29);
    EXPECT_FALSE(fit.refit);
    EXPECT_EQ(fit.row.width, 62);
    EXPECT_EQ(fit.row.height, 29);
}

TEST(FitToTrayClock, FollowsTheAreaAcrossFiftyPixels) {
    struct Step {
        int areaWidth, areaHeight;
        int rowWidth, rowHeight; // the row before the check
        bool refit, seconds;
        int cellTop;
    } steps[] = {
        {62, 30, 62, 29, false, true, 9},  // steady
        {50, 30, 62, 29, true, false, 9},  // narrowed to 50: no seconds
        {50, 30, 50, 29, false, false, 9}, // steady again
        {51, 30, 50, 29, true, true, 9},   // one wider: seconds again
        {51, 40, 51, 29, true, true, 14},  // taller: cells move down
        {51, 40, 51, 39, false, true, 14},
    };
    int index = 0;
    for (const Step& s : steps) {
        TrayFit fit = FitToTrayClock(s.areaWidth, s.areaHeight, s.rowWidth, s.rowHeight);
        EXPECT_EQ(fit.refit, s.refit) << "step " << index;
        EXPECT_EQ(fit.seconds, s.seconds) << "step " << index;
        EXPECT_EQ(fit.cellTop, s.cellTop) << "step " << index;
        EXPECT_EQ(fit.window.width, s.areaWidth) << "step " << index;
        EXPECT_EQ(fit.window.height, s.areaHeight - 1) << "step " << index;
        ++index;
    }
}

TEST(FitToTrayClock, OnlyTheWidthOrOnlyTheHeightChangedStillRefits) {
    EXPECT_TRUE(FitToTrayClock(70, 30, 62, 29).refit);
    EXPECT_TRUE(FitToTrayClock(62, 31, 62, 29).refit);
}

TEST(WindowLayout, PanelPlacesOfTheDesktopStyles) {
    EXPECT_EQ(kAlarmLineUnderDigits.left, 20);
    EXPECT_EQ(kAlarmLineUnderDigits.top, 39);
    EXPECT_EQ(kAlarmLineUnderDigits.height, 17);
    EXPECT_EQ(kMiniTimeRow.left, 20);
    EXPECT_EQ(kMiniTimeRow.top, 4);
    EXPECT_EQ(kMiniTimeRow.height, 19);
    // The mini window (85 wide) shows the whole 56-wide row beside the grip.
    WindowSize mini = DesktopWindowSize(true, false);
    EXPECT_LT(kMiniTimeRow.left + kMiniTimeRow.width, mini.width);
    // The alarm line beside the analog clock lies outside the 82-wide mini analog window.
    EXPECT_GT(kAlarmLineBesideClockLeft, DesktopWindowSize(true, true).width);
}

TEST(WindowLayout, TrayClockAreaTakesTheClockOnlyWhenShownAndLargeEnough) {
    EXPECT_TRUE(TrayClockAreaUsable(true, 62, 30));
    EXPECT_TRUE(TrayClockAreaUsable(true, 33, 11)); // hours and minutes just fit
    EXPECT_FALSE(TrayClockAreaUsable(false, 62, 30));
    EXPECT_FALSE(TrayClockAreaUsable(true, 0, 0));
    EXPECT_FALSE(TrayClockAreaUsable(true, 32, 30));
    EXPECT_FALSE(TrayClockAreaUsable(true, 62, 10));
}

TEST(WindowLayoutScaled, SizesPlacesAndTaskbarCellsAtAFactor) {
    const WindowSize standard = DesktopWindowSize(false, true, Scale(2));
    const WindowSize mini = DesktopWindowSize(true, false, Scale(3));
    const Place row = Scale(2)(Place{20, 39, 56, 17});
    EXPECT_EQ((std::vector<int>{standard.width, standard.height, mini.width, mini.height}),
              (std::vector<int>{308, 138, 255, 96}));
    EXPECT_EQ((std::vector<int>{row.left, row.top, row.width, row.height}),
              (std::vector<int>{40, 78, 112, 34}));
    // Cell tops: 9 × factor high glyphs centred, half rounded up.
    EXPECT_EQ((std::vector<int>{TaskbarCellTop(29), TaskbarCellTop(29, Scale(2)),
                                TaskbarCellTop(40, Scale(3)), TaskbarCellTop(17, Scale(2))}),
              (std::vector<int>{9, 5, 6, -1}));
    EXPECT_FALSE(SmallRowShowsSeconds(101, Scale(2)));
    EXPECT_TRUE(SmallRowShowsSeconds(102, Scale(2)));
    const TrayFit fit = FitToTrayClock(120, 30, 120, 30, Scale(2));
    EXPECT_EQ((std::vector<int>{fit.window.height, fit.cellTop, fit.seconds}),
              (std::vector<int>{29, 5, 1}));
}

TEST(WindowLayoutScaled, TheTaskbarTakesTheLargestFactorThatFitsItsClockArea) {
    const struct {
        int monitorFactor, areaRight, areaBottom, factor;
    } cases[] = {
        {1, 200, 60, 1}, // 96 DPI stays 1 however large the area
        {2, 100, 30, 2}, // a 30-pixel area at 192 DPI
        {2, 62, 30, 1},  // too narrow for the doubled hours and minutes
        {2, 66, 30, 2},  // just wide enough
        {2, 100, 18, 1}, // too low for 18-high glyphs
        {4, 200, 30, 3}, // 4 does not fit, 3 does
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TaskbarScale(Scale(c.monitorFactor), c.areaRight, c.areaBottom).Factor(),
                  c.factor)
            << "x" << c.monitorFactor << " in " << c.areaRight << " x " << c.areaBottom;
    }
}

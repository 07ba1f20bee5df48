#include "rules/display_plan.h"
#include "rules/spoken_clock.h"

#include <gtest/gtest.h>

namespace {
constexpr int E = -1; // an empty cell
}

TEST(DisplayPlan, TimeCellsBlankOnlyTheHourTens) {
    const int base = 30; // plain LCD
    EXPECT_EQ(TimeCellGlyphs("09:05:03", base), (std::array<int, 6>{E, 39, 30, 35, 30, 33}));
    EXPECT_EQ(TimeCellGlyphs("10:00:00", base), (std::array<int, 6>{31, 30, 30, 30, 30, 30}));
    EXPECT_EQ(TimeCellGlyphs("00:00:00", 0), (std::array<int, 6>{E, 0, 0, 0, 0, 0}));
    EXPECT_EQ(TimeCellGlyphs("23:59:59", 50), (std::array<int, 6>{52, 53, 55, 59, 55, 59}));
}

TEST(DisplayPlan, TimeTextIsAlwaysTwoDigitTwentyFourHour) {
    EXPECT_EQ(FormatTimeText({2024, 3, 1, 9, 5, 3}), "09:05:03");
    EXPECT_EQ(FormatTimeText({2024, 3, 1, 0, 0, 0}), "00:00:00");
    EXPECT_EQ(FormatTimeText({2024, 3, 1, 23, 59, 59}), "23:59:59");
}

TEST(DisplayPlan, DateCellsForTheFirstOfMarch) {
    LocalTime day{2024, 3, 1, 12, 0, 0};
    EXPECT_EQ(FormatDateText(day), "01.03.2024");
    EXPECT_EQ(DateCellGlyphs(FormatDateText(day), 10),
              (std::array<int, 8>{E, 11, 10, 13, 12, 10, 12, 14}));
    // The month's tens digit and the year's digits are drawn even when 0.
    EXPECT_EQ(DateCellGlyphs("31.12.2000", 0), (std::array<int, 8>{3, 1, 1, 2, 2, 0, 0, 0}));
}

TEST(DisplayPlan, CharactersThatAreNoDigitsLeaveTheirCellsEmpty) {
    EXPECT_EQ(TimeCellGlyphs("1a:b5:--", 0), (std::array<int, 6>{1, E, E, 5, E, E}));
    EXPECT_EQ(TimeCellGlyphs("", 0), (std::array<int, 6>{E, E, E, E, E, E}));
    EXPECT_EQ(DateCellGlyphs("1.3.24", 0), (std::array<int, 8>{1, E, E, 2, E, E, E, E}));
}

TEST(DisplayPlan, AlarmLineAtHalfPastSeven) {
    AlarmLineCells cells = AlarmLine("07", "30", 30, 3);
    EXPECT_EQ(cells.image11, 75);
    EXPECT_EQ(cells.image12, 81);
    EXPECT_EQ(cells.image9, E);
    EXPECT_EQ(cells.image13, E);
    EXPECT_EQ(cells.image14, 37);
    EXPECT_EQ(cells.image10, 63);
    EXPECT_EQ(cells.image15, 33);
    EXPECT_EQ(cells.image16, 30);
}

TEST(DisplayPlan, EmptyHourClearsTheWholeAlarmLine) {
    AlarmLineCells cells = AlarmLine("", "30", 0, 0);
    for (int glyph : {cells.image9, cells.image10, cells.image11, cells.image12, cells.image13,
                      cells.image14, cells.image15, cells.image16}) {
        EXPECT_EQ(glyph, E);
    }
}

TEST(DisplayPlan, BadAlarmTextsNeverGiveMadeUpGlyphs) {
    // One digit, letters, a sign: the cells without a digit stay empty.
    AlarmLineCells one = AlarmLine("7", "5", 0, 0);
    EXPECT_EQ(one.image13, 7);
    EXPECT_EQ(one.image14, E);
    EXPECT_EQ(one.image15, 5);
    EXPECT_EQ(one.image16, E);
    AlarmLineCells letters = AlarmLine("ab", "-1", 20, 2);
    EXPECT_EQ(letters.image13, E);
    EXPECT_EQ(letters.image14, E);
    EXPECT_EQ(letters.image15, E);
    EXPECT_EQ(letters.image16, 21);
    EXPECT_EQ(letters.image11, 74);
    AlarmLineCells big = AlarmLine("99", "99", 0, 0);
    EXPECT_EQ(big.image13, 9);
    EXPECT_EQ(big.image16, 9);
}

TEST(SpokenClock, TheWeekdayAcrossLeapDaysAndTheAlarmInTwoDigits) {
    EXPECT_EQ(SpokenDate({2024, 2, 29}), "Donnerstag, 29. Februar 2024");
    EXPECT_EQ(SpokenDate({2100, 3, 1}), "Montag, 1. März 2100");
    EXPECT_EQ(SpokenAlarm("7", "5"), "Wecker 07:05");
    EXPECT_EQ(SpokenAlarm("", ""), "");
}

TEST(DisplayStyles, SettingsValuesMatchExactlyAndCaseSensitively) {
    ASSERT_NE(FindStyleBySettingsValue("LCD"), nullptr);
    EXPECT_EQ(FindStyleBySettingsValue("LCD")->styleIndex, 3);
    EXPECT_EQ(FindStyleBySettingsValue("LEDGruen")->styleIndex, 0);
    EXPECT_EQ(FindStyleBySettingsValue("Klappziffer")->styleIndex, 5);
    EXPECT_EQ(FindStyleBySettingsValue("lcd"), nullptr);
    EXPECT_EQ(FindStyleBySettingsValue("LCD "), nullptr);
    EXPECT_EQ(FindStyleBySettingsValue(std::string(5000, 'L')), nullptr);
    for (const DisplayStyle& style : kDisplayStyles) {
        EXPECT_EQ(&kDisplayStyles[static_cast<std::size_t>(style.styleIndex)], &style);
    }
}

TEST(DisplayStyles, ColoursOfTheStyleTable) {
    EXPECT_EQ(kDisplayStyles[3].panelColor, RgbColor(100, 145, 102));
    EXPECT_EQ(kDisplayStyles[2].panelColor, RgbColor(0, 255, 255));
    EXPECT_EQ(kDisplayStyles[0].handColor, RgbColor(0, 255, 0));
    EXPECT_EQ(kDisplayStyles[1].faceImage, 102);
    EXPECT_EQ(RgbColor(1, 2, 3), 0x030201u);
}

TEST(GripDots, TenAndNineDotsInTheStandardWindowTwoAndOneInTheMini) {
    auto count = [](const std::vector<GripSquare>& squares, int left) {
        int n = 0;
        for (const auto& s : squares) {
            n += s.left == left;
        }
        return n;
    };
    auto standard = GripDots(false, false);
    EXPECT_EQ(count(standard, 6), 10);
    EXPECT_EQ(count(standard, 11), 9);
    auto mini = GripDots(true, false);
    EXPECT_EQ(count(mini, 6), 2);
    EXPECT_EQ(count(mini, 10), 1);
    // The analog clock always has the full column.
    EXPECT_EQ(count(GripDots(true, true), 6), 10);
    // Every shadow square sits one pixel right and down of its highlight.
    for (std::size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(standard[i].left, standard[i + 10].left + 1);
        EXPECT_EQ(standard[i].top, standard[i + 10].top + 1);
        EXPECT_FALSE(standard[i].highlight);
        EXPECT_TRUE(standard[i + 10].highlight);
    }
    EXPECT_EQ(standard[9].top, 42);
}

#include "controls/gradient_rules.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kLightBlue = 16765363; // red 179, green 208, blue 255

int Extent(const GradientBand& band, bool vertical) {
    return vertical ? band.bottom - band.top : band.right - band.left;
}

// Bands follow one another without gaps and fill the whole side.
void ExpectTiled(const std::vector<GradientBand>& bands, int side, bool vertical) {
    int edge = 0;
    for (std::size_t i = 0; i < bands.size(); ++i) {
        const int start = vertical ? bands[i].top : bands[i].left;
        EXPECT_EQ(start, edge) << "band " << i;
        edge += Extent(bands[i], vertical);
    }
    EXPECT_EQ(edge, side);
}

} // namespace

TEST(GradientRules, MulDivRoundsHalvesAwayFromZero) {
    struct Case {
        int a, b, c, expected;
    } cases[] = {
        {1, 70, 60, 1},   {59, 70, 60, 69}, {1, 1, 2, 1},
        {3, 1, 2, 2},     {-1, 1, 2, -1},   {1, -3, 2, -2},
        {1, 255, 2, 128}, {7, 5, 0, -1},    {100000, 100000, 100000, 100000},
        {-5, 2, -4, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MulDivRounded(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
    }
}

TEST(GradientRules, AboutBoxStripRunsFromLightBlueOnePixelWideToWhite) {
    const auto bands =
        GradientBands(70, 309, clWhite, kLightBlue, TFillDirection::fdRightToLeft, 60);
    ASSERT_EQ(bands.size(), 60u);
    EXPECT_EQ(bands.front().color, kLightBlue);
    EXPECT_EQ(bands.front().left, 0);
    EXPECT_EQ(bands.front().right, 1);
    EXPECT_EQ(bands.back().color, clWhite);
    EXPECT_EQ(bands.back().right, 70);
    ExpectTiled(bands, 70, false);
    for (std::size_t i = 0; i < bands.size(); ++i) {
        EXPECT_TRUE(Extent(bands[i], false) == 1 || Extent(bands[i], false) == 2) << "band " << i;
        EXPECT_EQ(bands[i].top, 0);
        EXPECT_EQ(bands[i].bottom, 309);
    }
    // Red climbs from 179 to 255 over 59 steps: band 30 lies a little past half-way.
    EXPECT_EQ(bands[30].color & 0xFF, 179u + 39u);
}

TEST(GradientRules, OneColourFillsEverythingWithTheStartOfTheDirection) {
    const TColor begin = 0x123456, end = 0xABCDEF;
    struct Case {
        TFillDirection direction;
        TColor expected;
    } cases[] = {
        {TFillDirection::fdTopToBottom, begin},
        {TFillDirection::fdLeftToRight, begin},
        {TFillDirection::fdBottomToTop, end},
        {TFillDirection::fdRightToLeft, end},
    };
    for (const Case& c : cases) {
        const auto bands = GradientBands(40, 30, begin, end, c.direction, 1);
        ASSERT_EQ(bands.size(), 1u);
        EXPECT_EQ(bands[0].color, c.expected) << static_cast<int>(c.direction);
        EXPECT_EQ(bands[0].left, 0);
        EXPECT_EQ(bands[0].top, 0);
        EXPECT_EQ(bands[0].right, 40);
        EXPECT_EQ(bands[0].bottom, 30);
    }
}

TEST(GradientRules, ShortSideLeavesSomeBandsEmptyButKeepsBothEndColours) {
    for (auto direction : {TFillDirection::fdTopToBottom, TFillDirection::fdBottomToTop}) {
        // 40 rows for 60 bands: every third band has no row of its own.
        const auto bands = GradientBands(105, 40, clBlack, clWhite, direction, 60);
        ASSERT_EQ(bands.size(), 60u);
        ExpectTiled(bands, 40, true);
        std::vector<TColor> visible;
        int empty = 0;
        for (const auto& band : bands) {
            if (Extent(band, true) == 0) {
                ++empty;
            } else {
                visible.push_back(band.color);
            }
        }
        EXPECT_EQ(empty, 20);
        ASSERT_EQ(visible.size(), 40u);
        const bool reversed = direction == TFillDirection::fdBottomToTop;
        EXPECT_EQ(visible.front(), reversed ? clWhite : clBlack);
        EXPECT_EQ(visible.back(), reversed ? clBlack : clWhite);
    }
}

TEST(GradientRules, ColoursStepEvenlyPerComponentAndDownwardsToo) {
    const auto bands = GradientBands(3, 3, 0x00FF00, 0xFF0000, TFillDirection::fdLeftToRight, 3);
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_EQ(bands[0].color, 0x00FF00u);
    // Green falls by 127.5 and blue climbs by 127.5: both round away from zero.
    EXPECT_EQ(bands[1].color, 0x807F00u);
    EXPECT_EQ(bands[2].color, 0xFF0000u);
    // A count above the side still yields every band; 0 is taken as one band.
    EXPECT_EQ(GradientBands(3, 3, 0, 0, TFillDirection::fdLeftToRight, 255).size(), 255u);
    EXPECT_EQ(GradientBands(3, 3, 0, 0, TFillDirection::fdLeftToRight, 0).size(), 1u);
}

#include "controls/explbtn_rules.h"

#include <gtest/gtest.h>

namespace {
using A = TAlignment;
using L = TButtonLayout;
} // namespace

TEST(ExplorerButtonRules, LayoutTable) {
    struct Case {
        const char* name;
        ButtonLayoutInput in;
        ButtonLayout expected;
    } cases[] = {
        // The main window's button: mark only, right-aligned.
        {"menu button", {14, 10, 0, 0, 0, 0, true, A::taRightJustify}, {0, 0, 1, 5, 0, 0}},
        {"caption centred", {50, 40, 30, 13, 0, 0, false, A::taCenter}, {0, 0, 10, 13, 30, 13}},
        {"caption and mark", {50, 40, 30, 13, 0, 0, true, A::taCenter}, {0, 0, 5, 13, 30, 13}},
        // 60 is cut to W - 4 = 46, the mark takes 10 more, then tw is cut to W - 14.
        {"long caption, mark",
         {50, 40, 60, 13, 0, 0, true, A::taLeftJustify},
         {0, 0, 3, 13, 36, 13}},
        {"bitmap top",
         {50, 40, 30, 13, 16, 16, false, A::taCenter, L::blBitmapTop},
         {17, 4, 10, 22, 30, 13}},
        {"bitmap top, left",
         {50, 40, 30, 13, 16, 16, false, A::taLeftJustify, L::blBitmapTop},
         {3, 4, 3, 22, 30, 13}},
        {"bitmap bottom, right, mark",
         {50, 40, 30, 13, 16, 16, true, A::taRightJustify, L::blBitmapBottom},
         {21, 19, 17, 4, 30, 13}},
        // 40 + 16 + 2 > 46: the caption gives way to 28.
        {"bitmap left, centred",
         {50, 40, 40, 13, 16, 16, false, A::taCenter, L::blBitmapLeft},
         {2, 12, 20, 13, 28, 13}},
        {"bitmap left, right",
         {50, 40, 20, 13, 16, 16, false, A::taRightJustify, L::blBitmapLeft},
         {9, 12, 27, 13, 20, 13}},
        {"bitmap right, left",
         {50, 40, 20, 13, 16, 16, false, A::taLeftJustify, L::blBitmapRight},
         {25, 12, 3, 13, 20, 13}},
        {"bitmap right, right",
         {50, 40, 20, 13, 16, 16, false, A::taRightJustify, L::blBitmapRight},
         {31, 12, 9, 13, 20, 13}},
        {"bitmap right, centred",
         {50, 40, 20, 13, 16, 16, false, A::taCenter, L::blBitmapRight},
         {28, 12, 6, 13, 20, 13}},
        // (9 - 20 - 16 - 2) div 2 truncates toward zero: -14, not -15.
        {"too small, top",
         {10, 9, 30, 20, 16, 16, false, A::taLeftJustify, L::blBitmapTop},
         {3, -14, 3, 4, 6, 20}},
        {"bitmap only",
         {50, 40, 0, 0, 16, 16, false, A::taCenter, L::blBitmapTop},
         {17, 12, 25, 28, 0, 0}},
        {"word wrap trims to W - tx - 5",
         {50, 40, 46, 26, 0, 0, false, A::taLeftJustify, L::blBitmapTop, true},
         {0, 0, 3, 7, 42, 26}},
    };
    for (const Case& c : cases) {
        const ButtonLayout got = LayOutExplorerButton(c.in);
        const ButtonLayout& e = c.expected;
        EXPECT_EQ(got.bx, e.bx) << c.name;
        EXPECT_EQ(got.by, e.by) << c.name;
        EXPECT_EQ(got.tx, e.tx) << c.name;
        EXPECT_EQ(got.ty, e.ty) << c.name;
        EXPECT_EQ(got.tw, e.tw) << c.name;
        EXPECT_EQ(got.th, e.th) << c.name;
    }
}

TEST(ExplorerButtonRules, MenuButtonMarkIsFourRowsFromXFourAndMovesWhenPressed) {
    const ButtonLayoutInput menuButton{14, 10, 0, 0, 0, 0, true, A::taRightJustify};
    const ButtonLayout layout = LayOutExplorerButton(menuButton);
    const auto runs = PopupMarkRuns(PopupMarkPlace(menuButton, layout, false));
    const PixelRun expected[] = {{4, 4, 7}, {5, 5, 5}, {6, 6, 3}, {7, 7, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(runs[i].x, expected[i].x) << "row " << i;
        EXPECT_EQ(runs[i].y, expected[i].y) << "row " << i;
        EXPECT_EQ(runs[i].length, expected[i].length) << "row " << i;
    }
    const Point pressed = PopupMarkPlace(menuButton, layout, true);
    EXPECT_EQ(pressed.x, 5);
    EXPECT_EQ(pressed.y, 6);
    // With a bitmap the mark sits right of the bitmap itself, not of bw.
    const ButtonLayoutInput withBitmap{
        50, 40, 30, 13, 16, 16, true, A::taRightJustify, L::blBitmapBottom};
    const Point beside = PopupMarkPlace(withBitmap, LayOutExplorerButton(withBitmap), false);
    EXPECT_EQ(beside.x, 21 + 16 + 3);
    EXPECT_EQ(beside.y, 19 + 8);
}

TEST(ExplorerButtonRules, GreyThresholdsOfTheThreeShadings) {
    struct Case {
        TShadingType shading;
        int t1, t2, t3;
    } cases[] = {
        {TShadingType::stLight, 205, 127, 68},
        {TShadingType::stMedium, 553, 231, 57},
        {TShadingType::stDark, 335, 274, 175},
    };
    // A colour whose components add up to sum (0 to 765).
    auto withSum = [](int sum) {
        const int r = std::min(sum, 255), g = std::min(sum - r, 255), b = sum - r - g;
        return static_cast<TColor>(r | (g << 8) | (b << 16));
    };
    for (const Case& c : cases) {
        const int shading = static_cast<int>(c.shading);
        EXPECT_EQ(GreyLevelOf(withSum(765), c.shading), GreyLevel::White) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(c.t1 + 1), c.shading), GreyLevel::White) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(c.t1), c.shading), GreyLevel::Highlight) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(c.t2 + 1), c.shading), GreyLevel::Highlight) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(c.t2), c.shading), GreyLevel::Shadow) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(c.t3 + 1), c.shading), GreyLevel::Shadow) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(c.t3), c.shading), GreyLevel::Black) << shading;
        EXPECT_EQ(GreyLevelOf(withSum(0), c.shading), GreyLevel::Black) << shading;
    }
    // Only the low three bytes count.
    EXPECT_EQ(GreyLevelOf(0xFF000000, TShadingType::stMedium), GreyLevel::Black);
}

TEST(ExplorerButtonRules, BevelShadesByLookAndStyle) {
    struct Case {
        BevelLook look;
        TBevelStyle style;
        BevelShade first, second;
    } cases[] = {
        {BevelLook::Hot, TBevelStyle::bsRaised, BevelShade::Highlight, BevelShade::Shadow},
        {BevelLook::Hot, TBevelStyle::bsLowered, BevelShade::Shadow, BevelShade::Highlight},
        {BevelLook::Pressed, TBevelStyle::bsRaised, BevelShade::Shadow, BevelShade::Highlight},
        {BevelLook::Pressed, TBevelStyle::bsLowered, BevelShade::Highlight, BevelShade::Shadow},
    };
    for (const Case& c : cases) {
        const BevelShades got = BevelShadesOf(c.look, c.style);
        EXPECT_EQ(got.first, c.first) << static_cast<int>(c.look) << static_cast<int>(c.style);
        EXPECT_EQ(got.second, c.second) << static_cast<int>(c.look) << static_cast<int>(c.style);
    }
}

TEST(ExplorerButtonRules, StripAcceleratorsForTheHint) {
    struct Case {
        const char* caption;
        const char* hint;
    } cases[] = {
        {"Suchen && &Ersetzen", "Suchen & Ersetzen"},
        {"&Datei", "Datei"},
        {"Ende&", "Ende&"}, // the last character is never looked at
        {"a&&", "a&"},
        {"&&&x", "&x"},
        {"&", "&"},
        {"", ""},
        {"Grün&ton", "Grünton"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StripAccelerators(c.caption), c.hint) << c.caption;
    }
}

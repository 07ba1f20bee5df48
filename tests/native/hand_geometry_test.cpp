#include "analogclock/hand_geometry_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(HandGeometry, AnglesAtHalfPastThreeAndFortyFiveSeconds) {
    EXPECT_NEAR(HourHandAngle(15, 30), 15.5 * kPi / 6, 1e-12);
    EXPECT_NEAR(MinuteHandAngle(30), kPi, 1e-12);
    EXPECT_NEAR(SecondHandAngle(45), 1.5 * kPi, 1e-12);
}

TEST(HandGeometry, AfternoonHourAngleGoesPastAFullTurn) {
    EXPECT_NEAR(HourHandAngle(13, 0), 2 * kPi + kPi / 6, 1e-12);
    EXPECT_NEAR(HourHandAngle(0, 0), 0.0, 0.0);
    // The minutes move the hour hand, the seconds do not move the minute hand.
    EXPECT_NEAR(HourHandAngle(2, 15), 2.25 * kPi / 6, 1e-12);
}

TEST(HandGeometry, RoundsHalvesToEven) {
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(RoundHalfEven(1.5L), 2);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(-0.5L), 0);
    EXPECT_EQ(RoundHalfEven(-1.5L), -2);
    EXPECT_EQ(RoundHalfEven(2.4999L), 2);
    EXPECT_EQ(RoundHalfEven(-2.6L), -3);
}

TEST(HandGeometry, HandOfRadius19AroundTheMiniFace) {
    const ClockPoint centre{23, 23};
    EXPECT_EQ(HandEnds(centre, SecondHandAngle(15), 0, 19).tip, (ClockPoint{42, 23}));
    EXPECT_EQ(HandEnds(centre, SecondHandAngle(0), 0, 19).tip, (ClockPoint{23, 4}));
    EXPECT_EQ(HandEnds(centre, SecondHandAngle(30), 0, 19).tip, (ClockPoint{23, 42}));
    EXPECT_EQ(HandEnds(centre, SecondHandAngle(45), 0, 19).tip, (ClockPoint{4, 23}));
}

TEST(HandGeometry, HalfPastThreeOnTheDefaultFace) {
    const ClockPoint centre{50, 50};
    // Hour hand of 33 at 15.5 hours: sin 465 deg = 0.9659, cos = -0.2588.
    HandLine hours = HandEnds(centre, HourHandAngle(15, 30), 0, 33);
    EXPECT_EQ(hours.tip, (ClockPoint{50 + 32, 50 + 9}));
    EXPECT_FALSE(hours.hasBack);
    EXPECT_EQ(hours.back, centre);
    // Minute hand at six, second hand at nine with its tail towards three.
    EXPECT_EQ(HandEnds(centre, MinuteHandAngle(30), 0, 43).tip, (ClockPoint{50, 93}));
    HandLine seconds = HandEnds(centre, SecondHandAngle(45), 10, 48);
    EXPECT_EQ(seconds.tip, (ClockPoint{2, 50}));
    EXPECT_EQ(seconds.back, (ClockPoint{60, 50}));
    EXPECT_TRUE(seconds.hasBack);
}

TEST(HandGeometry, BackEndLiesOppositeTheTip) {
    const ClockPoint centre{50, 50};
    // 10 seconds: sin 60 deg x 20 = 17.32, cos 60 deg x 20 = 10.
    HandLine line = HandEnds(centre, SecondHandAngle(10), 10, 20);
    EXPECT_EQ(line.tip, (ClockPoint{67, 40}));
    EXPECT_EQ(line.back, (ClockPoint{50 - 9, 50 + 5}));
}

TEST(HandGeometry, LineLeavesTheEndPixelOut) {
    auto horizontal = LinePixels({23, 23}, {27, 23});
    ASSERT_EQ(horizontal.size(), 4u);
    EXPECT_EQ(horizontal.front(), (ClockPoint{23, 23}));
    EXPECT_EQ(horizontal.back(), (ClockPoint{26, 23}));

    auto upwards = LinePixels({5, 5}, {5, 2});
    ASSERT_EQ(upwards.size(), 3u);
    EXPECT_EQ(upwards[2], (ClockPoint{5, 3}));

    auto diagonal = LinePixels({0, 0}, {-3, 3});
    ASSERT_EQ(diagonal.size(), 3u);
    EXPECT_EQ(diagonal[1], (ClockPoint{-1, 1}));
    EXPECT_EQ(diagonal[2], (ClockPoint{-2, 2}));

    EXPECT_TRUE(LinePixels({7, 7}, {7, 7}).empty());
}

TEST(HandGeometry, SlopedLineStepsOnePixelAtATime) {
    const ClockPoint from{50, 50};
    const ClockPoint to{82, 59};
    auto pixels = LinePixels(from, to);
    ASSERT_EQ(pixels.size(), 32u);
    EXPECT_EQ(pixels.front(), from);
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        EXPECT_EQ(pixels[i].x - pixels[i - 1].x, 1) << i;
        int dy = pixels[i].y - pixels[i - 1].y;
        EXPECT_TRUE(dy == 0 || dy == 1) << i;
    }
    // The next step would land on the end point.
    EXPECT_EQ(pixels.back().x, 81);
    EXPECT_GE(pixels.back().y, 58);
    // And it stays within half a pixel of the ideal line.
    for (const ClockPoint& p : pixels) {
        double ideal = 50 + (p.x - 50) * 9.0 / 32.0;
        EXPECT_LE(std::fabs(p.y - ideal), 0.5 + 1e-9) << p.x;
    }
}

TEST(HandGeometry, CentreRoundsTowardsZero) {
    EXPECT_EQ(FaceCentre(47, 47), (ClockPoint{23, 23}));
    EXPECT_EQ(FaceCentre(100, 100), (ClockPoint{50, 50}));
    EXPECT_EQ(FaceCentre(101, 7), (ClockPoint{50, 3}));
}

TEST(HandGeometry, TheScaledPivotLiesInTheMiddleOfItsPixelBlock) {
    EXPECT_EQ(ScaledPivot({23, 23}, 1), (ClockPoint{23, 23}));
    EXPECT_EQ(ScaledPivot({23, 23}, 2), (ClockPoint{47, 47}));
    EXPECT_EQ(ScaledPivot({23, 5}, 3), (ClockPoint{70, 16}));
    // The seconds hand of a doubled clock at 15 s: twice as long from the doubled pivot.
    EXPECT_EQ(HandEnds(ScaledPivot({23, 23}, 2), SecondHandAngle(15), 0, 38).tip,
              (ClockPoint{85, 47}));
}

} // namespace

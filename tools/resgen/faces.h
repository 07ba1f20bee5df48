#pragma once
// The analog clock's face pictures: the five small faces of the main window,
// one per mark colour, and the clock component's default face.
#include "image.h"

#include <array>
#include <vector>

namespace faces {

constexpr int kSmallFaceSize = 47;
// The small faces' ground, which the clock treats as transparent.
constexpr Rgb kSmallFaceGround{128, 128, 128};

struct SmallFace {
    int number; // resource FACE<number>
    Rgb marks;
};
// 101 black, 102 red, 103 lime, 104 white, 105 aqua.
const std::array<SmallFace, 5>& SmallFaces();

// Grey everywhere but for the twelve hour marks: bars at 12, 3, 6 and 9 and
// short diagonals pointing at the centre for the other hours.
Image DrawSmallFace(Rgb marks);
// The 16 colours of the small faces' bitmaps (the standard VGA set, which
// holds the ground and every mark colour).
const std::vector<Rgb>& SmallFacePalette();

constexpr int kSampleClockSize = 100;
// The default face's ground, the clock component's default transparent colour.
constexpr Rgb kSampleClockGround{128, 128, 0};

// A round white dial with a dark rim, minute dots and hour bars on olive.
Image DrawSampleClock();
const std::vector<Rgb>& SampleClockPalette();

} // namespace faces

#pragma once
// The analog clock's geometry, free of any window: hand angles, the end points
// of a hand, the pixels of a one-pixel line and the centre of a face.
#include <vector>

struct ClockPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(ClockPoint, ClockPoint) = default;
};

// Angles in radians, clockwise from twelve o'clock. The hour hand moves with
// the minutes; the minute hand jumps once a minute. Hours run 0 to 23, so the
// afternoon angles exceed a full turn, which the drawing does not mind.
double HourHandAngle(int hour, int minute);
double MinuteHandAngle(int minute);
double SecondHandAngle(int second);

// To the nearest integer, halves to the even neighbour.
long RoundHalfEven(long double value);

struct HandLine {
    ClockPoint back; // end of the short part behind the centre
    ClockPoint tip;
    bool hasBack = false; // a back radius of 0 draws nothing behind the centre
};

// Where a hand of the given lengths ends when it pivots at centre.
HandLine HandEnds(ClockPoint centre, double angle, int backRadius, int radius);

// The pixels a one-pixel line from `from` to `to` paints, in drawing order,
// leaving the end pixel out as the platform's line primitive does.
std::vector<ClockPoint> LinePixels(ClockPoint from, ClockPoint to);

// The middle of a face of the given size (halves rounded towards zero).
ClockPoint FaceCentre(int width, int height);

// The pivot of a face drawn larger by a whole factor: each pixel of the face
// is a factor × factor block, and the pivot lies where a pen factor pixels
// wide covers exactly the block of the 96-DPI pivot pixel.
ClockPoint ScaledPivot(ClockPoint pivot, int factor);

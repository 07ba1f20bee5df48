#include "analogclock/hand_geometry_rules.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>

namespace {
constexpr long double kPi = 3.141592653589793238462643383279502884L;
}

// Extended precision first, then handed on as a double like every angle.
double HourHandAngle(int hour, int minute) {
    long double hours = static_cast<long double>(hour) + static_cast<long double>(minute) / 60.0L;
    return static_cast<double>(hours * 2.0L * kPi / 12.0L);
}

double MinuteHandAngle(int minute) {
    return static_cast<double>(static_cast<long double>(minute) * 2.0L * kPi / 60.0L);
}

double SecondHandAngle(int second) {
    return static_cast<double>(static_cast<long double>(second) * 2.0L * kPi / 60.0L);
}

long RoundHalfEven(long double value) {
    // nearbyint follows the rounding mode, which might have been changed by
    // someone else; pin it to the default for the call.
    const int previous = std::fegetround();
    if (previous != FE_TONEAREST) {
        std::fesetround(FE_TONEAREST);
    }
    long double rounded = std::nearbyint(value);
    if (previous != FE_TONEAREST) {
        std::fesetround(previous);
    }
    return static_cast<long>(rounded);
}

HandLine HandEnds(ClockPoint centre, double angle, int backRadius, int radius) {
    // Turned by three quarters so that angle 0 points up on a screen whose y
    // grows downwards; stored as a double before the products are formed.
    const double theta = angle + static_cast<double>(3.0L * kPi / 2.0L);
    const long double c = std::cos(static_cast<long double>(theta));
    const long double s = std::sin(static_cast<long double>(theta));
    HandLine line;
    line.back = {centre.x - static_cast<int>(RoundHalfEven(c * backRadius)),
                 centre.y - static_cast<int>(RoundHalfEven(s * backRadius))};
    line.tip = {centre.x + static_cast<int>(RoundHalfEven(c * radius)),
                centre.y + static_cast<int>(RoundHalfEven(s * radius))};
    line.hasBack = backRadius != 0;
    return line;
}

std::vector<ClockPoint> LinePixels(ClockPoint from, ClockPoint to) {
    std::vector<ClockPoint> pixels;
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    const int steps = dx > dy ? dx : dy;
    pixels.reserve(static_cast<std::size_t>(steps));
    int x = from.x;
    int y = from.y;
    // Bresenham: walk the major axis one pixel at a time and step the minor
    // axis when the error passes half a pixel; the end point is never reached.
    int error = (dx > dy ? dx : -dy) / 2;
    for (int i = 0; i < steps; ++i) {
        pixels.push_back({x, y});
        const int before = error;
        if (before > -dx) {
            error -= dy;
            x += stepX;
        }
        if (before < dy) {
            error += dx;
            y += stepY;
        }
    }
    return pixels;
}

ClockPoint FaceCentre(int width, int height) {
    return {width / 2, height / 2};
}

ClockPoint ScaledPivot(ClockPoint pivot, int factor) {
    return {pivot.x * factor + factor / 2, pivot.y * factor + factor / 2};
}

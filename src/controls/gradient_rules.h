#pragma once
// The band arithmetic of the gradient fill, without a window: where each solid
// band lies and which colour it has. Band 0 is always the top or left band.
#include "toolkit/color_rules.h"

#include <cstdint>
#include <vector>

enum class TFillDirection { fdTopToBottom, fdBottomToTop, fdLeftToRight, fdRightToLeft };

struct GradientBand {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    TColor color = clBlack; // plain $00BBGGRR, never a system colour
};

// The platform's MulDiv: a * b / c in 64 bits, rounded to the nearest integer
// with halves away from zero; -1 when c is 0.
int MulDivRounded(int a, int b, int c);

// The bands of a width × height gradient from beginColor to endColor (both
// plain colours) in the given direction. numberOfColors is the property's
// byte: 1 to 255; 0 is taken as 1. Bands may be empty when the rectangle is
// narrower than their number.
std::vector<GradientBand> GradientBands(int width, int height, TColor beginColor, TColor endColor,
                                        TFillDirection direction, int numberOfColors);

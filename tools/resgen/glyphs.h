#pragma once
// The two glyph strips of the digital display. Each strip is one horizontal
// row of equally sized cells; glyph i occupies the cells' i-th column.
//
// Index layout (s = display style 0..5, d = digit 0..9), shared by both strips:
//   10 * s + d   digit d in style s
//   60 + s       colon of style s (only the leftmost columns are ever shown)
// and in the small strip only:
//   66 + s       date dot, 72 + s letter A, 78 + s letter L
#include "image.h"

namespace glyphs {

// Display styles in the order of their numbers.
enum Style { kLedGreen, kLedRed, kLcdLit, kLcdPlain, kLedMatrix, kFlipDigits, kStyleCount };

constexpr int kLargeWidth = 16;
constexpr int kLargeHeight = 27;
constexpr int kLargeCount = 66;
constexpr int kSmallWidth = 5;
constexpr int kSmallHeight = 9;
constexpr int kSmallCount = 84;

constexpr int DigitIndex(int style, int digit) {
    return 10 * style + digit;
}
constexpr int ColonIndex(int style) {
    return 60 + style;
}
constexpr int DateDotIndex(int style) {
    return 66 + style;
}
constexpr int LetterAIndex(int style) {
    return 72 + style;
}
constexpr int LetterLIndex(int style) {
    return 78 + style;
}

// The colour a style's cells are filled with and the colour of its fully lit
// strokes. Unlit segments, shadows, tiles and soft edges use other shades.
struct StyleColours {
    Rgb background;
    Rgb ink;
};
StyleColours ColoursOf(int style);

// ImageList1: 66 glyphs of 16 × 27, all opaque.
Image DrawLargeStrip();
// ImageList2: 84 glyphs of 5 × 9, all opaque.
Image DrawSmallStrip();

// One cell cut out of a strip (cells are as wide as the strip is high apart).
Image Glyph(const Image& strip, int cellWidth, int index);

} // namespace glyphs

#include "glyphs.h"

#include "raster.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace glyphs {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLime{0, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kAqua{0, 255, 255};
constexpr Rgb kLcdGreen{99, 148, 99};

// Everything a style needs beyond its background and ink. Unlit segments are
// kept faint so that the lit ones read at a glance, as on a real display.
struct Look {
    Rgb background;
    Rgb ink;
    Rgb unlit;
    Rgb shadow;
    bool hasShadow = false;
};

Look LookOf(int style) {
    switch (style) {
    case kLedGreen:
        return {kBlack, kLime, Rgb{0, 38, 6}, {}, false};
    case kLedRed:
        return {kBlack, kRed, Rgb{42, 2, 0}, {}, false};
    case kLcdLit:
        return {kAqua, kBlack, Rgb{0, 222, 226}, {}, false};
    case kLcdPlain:
        return {kLcdGreen, kBlack, Rgb{91, 138, 91}, Rgb{60, 94, 60}, true};
    case kLedMatrix:
        return {kBlack, kAqua, Rgb{0, 30, 36}, {}, false};
    case kFlipDigits:
        return {kBlack, kWhite, kBlack, {}, false};
    }
    throw std::out_of_range("no such display style");
}

// The symbols that the strips hold besides the digits 0..9.
constexpr int kLetterA = 10;
constexpr int kLetterL = 11;

// Coverage layers of one glyph before colouring: how much of each pixel is a
// lit stroke and how much an unlit one.
struct Layers {
    Layers(int w, int h)
        : width(w), height(h), ink(static_cast<std::size_t>(w * h)),
          unlit(static_cast<std::size_t>(w * h)) {}
    int width, height;
    std::vector<double> ink, unlit;
    double& Ink(int x, int y) { return ink[static_cast<std::size_t>(y * width + x)]; }
    double& Unlit(int x, int y) { return unlit[static_cast<std::size_t>(y * width + x)]; }
    double InkAt(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height
                   ? 0
                   : ink[static_cast<std::size_t>(y * width + x)];
    }
};

// Paints the layers over the style's background: the shadow falls one pixel
// down and to the right of the lit strokes, as the liquid's shadow on the
// mirror behind a plain LCD does.
Image Compose(const Layers& layers, const Look& look) {
    Image image(layers.width, layers.height, look.background);
    for (int y = 0; y < layers.height; ++y) {
        for (int x = 0; x < layers.width; ++x) {
            Rgb colour = look.background;
            if (look.hasShadow) {
                colour = Mix(colour, look.shadow, layers.InkAt(x - 1, y - 1));
            }
            const std::size_t i = static_cast<std::size_t>(y * layers.width + x);
            colour = Mix(colour, look.unlit, layers.unlit[i]);
            colour = Mix(colour, look.ink, layers.ink[i]);
            image.at(x, y) = colour;
        }
    }
    return image;
}

// --- Seven segments -------------------------------------------------------

// Segments a (top), b (upper right), c (lower right), d (bottom), e (lower
// left), f (upper left), g (middle) as bits 0..6.
constexpr std::array<unsigned, 12> kSegments = {
    0b0111111, 0b0000110, 0b1011011, 0b1001111, 0b1100110, 0b1101101,
    0b1111101, 0b0000111, 0b1111111, 0b1101111, 0b1110111, 0b0111000,
};

std::vector<Point> HorizontalSegment(double x0, double x1, double y, double half) {
    return {{x0, y}, {x0 + half, y - half}, {x1 - half, y - half},
            {x1, y}, {x1 - half, y + half}, {x0 + half, y + half}};
}

std::vector<Point> VerticalSegment(double y0, double y1, double x, double half) {
    return {{x, y0}, {x + half, y0 + half}, {x + half, y1 - half},
            {x, y1}, {x - half, y1 - half}, {x - half, y0 + half}};
}

// Large segments 3 pixels thick in a 12 × 23 box at (2, 2). They meet with
// mitred ends and a thin gap, so each bar stays recognisable on its own.
std::array<std::vector<Point>, 7> LargeSegments() {
    const double half = 1.5, gap = 0.6;
    const double left = 2 + half, right = 14 - half;
    const double top = 2 + half, middle = 13.5, bottom = 25 - half;
    return {
        HorizontalSegment(left + gap, right - gap, top, half),
        VerticalSegment(top + gap, middle - gap, right, half),
        VerticalSegment(middle + gap, bottom - gap, right, half),
        HorizontalSegment(left + gap, right - gap, bottom, half),
        VerticalSegment(middle + gap, bottom - gap, left, half),
        VerticalSegment(top + gap, middle - gap, left, half),
        HorizontalSegment(left + gap, right - gap, middle, half),
    };
}

Layers LargeSevenSegment(int symbol) {
    static const auto segments = LargeSegments();
    const unsigned lit = kSegments[static_cast<std::size_t>(symbol)];
    Layers layers(kLargeWidth, kLargeHeight);
    for (int y = 0; y < kLargeHeight; ++y) {
        for (int x = 0; x < kLargeWidth; ++x) {
            auto inSegments = [&](bool wantLit) {
                return [&, wantLit](Point p) {
                    for (unsigned s = 0; s < 7; ++s) {
                        if (((lit >> s) & 1U) == wantLit && InsideConvexPolygon(segments[s], p)) {
                            return true;
                        }
                    }
                    return false;
                };
            };
            layers.Ink(x, y) = Coverage(x, y, inSegments(true));
            layers.Unlit(x, y) = Coverage(x, y, inSegments(false));
        }
    }
    return layers;
}

// Small segments are single pixels: bars of three between the corner pixels
// of a 5 × 9 box. A corner lights with any bar that touches it, so that a 1
// or a 7 stays one unbroken stroke.
Layers SmallSevenSegment(int symbol) {
    const unsigned lit = kSegments[static_cast<std::size_t>(symbol)];
    struct Bar {
        int x, y, dx, dy;
    };
    // Each bar's first pixel and direction; bars run over three pixels.
    constexpr std::array<Bar, 7> bars = {{
        {1, 0, 1, 0},
        {4, 1, 0, 1},
        {4, 5, 0, 1},
        {1, 8, 1, 0},
        {0, 5, 0, 1},
        {0, 1, 0, 1},
        {1, 4, 1, 0},
    }};
    // The corners (x, y) and the bars meeting there.
    struct Corner {
        int x, y;
        unsigned bars;
    };
    constexpr std::array<Corner, 6> corners = {{
        {0, 0, 0b0100001},
        {4, 0, 0b0000011},
        {0, 4, 0b1110000},
        {4, 4, 0b1000110},
        {0, 8, 0b0011000},
        {4, 8, 0b0001100},
    }};
    Layers layers(kSmallWidth, kSmallHeight);
    for (unsigned s = 0; s < 7; ++s) {
        const Bar& bar = bars[s];
        for (int i = 0; i < 3; ++i) {
            double& target = ((lit >> s) & 1U)
                                 ? layers.Ink(bar.x + i * bar.dx, bar.y + i * bar.dy)
                                 : layers.Unlit(bar.x + i * bar.dx, bar.y + i * bar.dy);
            target = 1;
        }
    }
    for (const Corner& corner : corners) {
        (lit & corner.bars ? layers.Ink(corner.x, corner.y) : layers.Unlit(corner.x, corner.y)) = 1;
    }
    return layers;
}

// --- Dot matrix -------------------------------------------------------------

// A classic 5 × 7 character set for the large matrix ('#' = lit dot).
const std::array<std::array<const char*, 7>, 10>& MatrixFont5x7() {
    static const std::array<std::array<const char*, 7>, 10> font = {{
        {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
        {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
        {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
        {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
        {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
        {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
        {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
        {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
        {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
        {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
    }};
    return font;
}

// The small matrix has room for 3 × 5 dots with a dark pixel between
// neighbours, which keeps the look of separate dots even at 5 × 9.
const std::array<std::array<const char*, 5>, 12>& MatrixFont3x5() {
    static const std::array<std::array<const char*, 5>, 12> font = {{
        {"###", "#.#", "#.#", "#.#", "###"},
        {".#.", "##.", ".#.", ".#.", "###"},
        {"###", "..#", "###", "#..", "###"},
        {"###", "..#", ".##", "..#", "###"},
        {"#.#", "#.#", "###", "..#", "..#"},
        {"###", "#..", "###", "..#", "###"},
        {"###", "#..", "###", "#.#", "###"},
        {"###", "..#", "..#", ".#.", ".#."},
        {"###", "#.#", "###", "#.#", "###"},
        {"###", "#.#", "###", "..#", "###"},
        {".#.", "#.#", "###", "#.#", "#.#"},
        {"#..", "#..", "#..", "#..", "###"},
    }};
    return font;
}

// Large matrix dots are 2 × 2 on a 3-pixel pitch, starting at (1, 3), so the
// 5 × 7 grid sits centred like the segment digits.
Layers LargeMatrix(int digit) {
    Layers layers(kLargeWidth, kLargeHeight);
    const auto& rows = MatrixFont5x7()[static_cast<std::size_t>(digit)];
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            const bool lit = rows[static_cast<std::size_t>(row)][column] == '#';
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const int x = 1 + 3 * column + dx, y = 3 + 3 * row + dy;
                    (lit ? layers.Ink(x, y) : layers.Unlit(x, y)) = 1;
                }
            }
        }
    }
    return layers;
}

Layers SmallMatrix(int symbol) {
    Layers layers(kSmallWidth, kSmallHeight);
    const auto& rows = MatrixFont3x5()[static_cast<std::size_t>(symbol)];
    for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
            // Unlit dots are left out here: at this size they drown the digit.
            if (rows[static_cast<std::size_t>(row)][column] == '#') {
                layers.Ink(2 * column, 2 * row) = 1;
            }
        }
    }
    return layers;
}

// --- Flip digits ------------------------------------------------------------

constexpr Rgb kTile{34, 34, 34};
constexpr Rgb kTileLower{24, 24, 24};
constexpr Rgb kSplit{128, 128, 128};

// Pen strokes of a bold digit in a unit box (x right, y down).
std::vector<Stroke> FlipStrokes(int digit) {
    auto join = [](Stroke a, const Stroke& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    switch (digit) {
    case 0:
        return {
            join(join(Arc({0.5, 0.26}, 0.5, 0.26, 180, 360), Arc({0.5, 0.74}, 0.5, 0.26, 0, 180)),
                 {{0, 0.26}})};
    case 1:
        return {{{0.58, 0}, {0.58, 1}}, {{0.58, 0}, {0.18, 0.24}}};
    case 2:
        return {join(Arc({0.5, 0.27}, 0.5, 0.27, 160, 385), {{0, 1}, {1, 1}})};
    case 3:
        return {Arc({0.5, 0.25}, 0.46, 0.25, 205, 450), Arc({0.5, 0.75}, 0.5, 0.25, 270, 515)};
    case 4:
        return {{{0.74, 1}, {0.74, 0}, {0, 0.68}, {1, 0.68}}};
    case 5: {
        Stroke bowl = Arc({0.5, 0.69}, 0.5, 0.31, 215, 515);
        return {join({{0.95, 0}, {0.1, 0}}, bowl)};
    }
    case 6:
        return {Arc({0.98, 0.69}, 0.98, 0.69, 266, 180), Arc({0.5, 0.69}, 0.5, 0.31, 0, 360)};
    case 7:
        return {{{0, 0}, {1, 0}, {0.32, 1}}};
    case 8:
        return {Arc({0.5, 0.23}, 0.42, 0.23, 0, 360), Arc({0.5, 0.73}, 0.5, 0.27, 0, 360)};
    case 9: {
        // A 6 turned upside down.
        std::vector<Stroke> strokes = FlipStrokes(6);
        for (Stroke& stroke : strokes) {
            for (Point& p : stroke) {
                p = {1 - p.x, 1 - p.y};
            }
        }
        return strokes;
    }
    }
    throw std::out_of_range("no such digit");
}

bool InsideRoundedRect(Point p, double left, double top, double right, double bottom,
                       double radius) {
    const double cx = std::clamp(p.x, left + radius, right - radius);
    const double cy = std::clamp(p.y, top + radius, bottom - radius);
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom &&
           std::hypot(p.x - cx, p.y - cy) <= radius;
}

// A card with a lighter upper flap, a grey hinge line across the middle and a
// bold white digit. The hinge crosses the digit too, as on a real card.
Image LargeFlip(int digit) {
    constexpr double left = 1, top = 1, right = 15, bottom = 26;
    constexpr int hinge = 13;
    std::vector<Stroke> strokes = FlipStrokes(digit);
    const double boxX = 4.3, boxY = 5, boxW = 7.4, boxH = 17;
    for (Stroke& stroke : strokes) {
        for (Point& p : stroke) {
            p = {boxX + p.x * boxW, boxY + p.y * boxH};
        }
    }
    Image image(kLargeWidth, kLargeHeight, kBlack);
    for (int y = 0; y < kLargeHeight; ++y) {
        for (int x = 0; x < kLargeWidth; ++x) {
            const double tile = Coverage(
                x, y, [&](Point p) { return InsideRoundedRect(p, left, top, right, bottom, 2.5); });
            Rgb colour = Mix(kBlack, y < hinge ? kTile : kTileLower, tile);
            colour = Mix(colour, kWhite,
                         Coverage(x, y, [&](Point p) { return InsideStrokes(strokes, 1.45, p); }));
            if (y == hinge && tile > 0) {
                colour = Mix(kBlack, kSplit, tile);
            }
            image.at(x, y) = colour;
        }
    }
    return image;
}

// 5 × 9 digits and letters for the small flip cards.
const std::array<std::array<const char*, 9>, 12>& FlipFont5x9() {
    static const std::array<std::array<const char*, 9>, 12> font = {{
        {".###.", "##.##", "##.##", "##.##", "##.##", "##.##", "##.##", "##.##", ".###."},
        {"..##.", ".###.", "####.", "..##.", "..##.", "..##.", "..##.", "..##.", "..##."},
        {".###.", "##.##", "...##", "...##", "..##.", ".##..", "##...", "##...", "#####"},
        {".###.", "##.##", "...##", "...##", "..##.", "...##", "...##", "##.##", ".###."},
        {"...##", "..###", ".#.##", "#..##", "#..##", "#####", "...##", "...##", "...##"},
        {"#####", "##...", "##...", "####.", "...##", "...##", "...##", "##.##", ".###."},
        {"..##.", ".##..", "##...", "##...", "####.", "##.##", "##.##", "##.##", ".###."},
        {"#####", "...##", "...##", "..##.", "..##.", ".##..", ".##..", ".##..", ".##.."},
        {".###.", "##.##", "##.##", "##.##", ".###.", "##.##", "##.##", "##.##", ".###."},
        {".###.", "##.##", "##.##", "##.##", ".####", "...##", "...##", "..##.", ".##.."},
        {".###.", "##.##", "##.##", "##.##", "##.##", "#####", "##.##", "##.##", "##.##"},
        {"##...", "##...", "##...", "##...", "##...", "##...", "##...", "##...", "#####"},
    }};
    return font;
}

// Small cards fill the whole cell; the display's one-pixel gaps between
// cells keep them apart. The hinge line shows only beside the strokes, so
// that the narrow digits keep every pixel.
Image SmallFlip(int symbol) {
    const auto& rows = FlipFont5x9()[static_cast<std::size_t>(symbol)];
    Image image(kSmallWidth, kSmallHeight);
    for (int y = 0; y < kSmallHeight; ++y) {
        for (int x = 0; x < kSmallWidth; ++x) {
            Rgb colour = y == 4 ? kSplit : y < 4 ? kTile : kTileLower;
            if (rows[static_cast<std::size_t>(y)][x] == '#') {
                colour = kWhite;
            }
            image.at(x, y) = colour;
        }
    }
    return image;
}

// --- Separators -------------------------------------------------------------

// The large colon lives in the three leftmost columns: two 3 × 3 dots, or
// 2 × 2 dots lined up with the matrix grid. The rest stays background.
Image LargeColon(int style) {
    const Look look = LookOf(style);
    Layers layers(3, kLargeHeight);
    if (style == kLedMatrix) {
        for (int y : {6, 7, 18, 19}) {
            layers.Ink(0, y) = layers.Ink(1, y) = 1;
        }
    } else {
        for (int y : {6, 7, 8, 17, 18, 19}) {
            layers.Ink(0, y) = layers.Ink(1, y) = layers.Ink(2, y) = 1;
        }
    }
    Image image(kLargeWidth, kLargeHeight, look.background);
    image.blit(Compose(layers, look), 0, 0);
    return image;
}

// Small separators use only the leftmost column: the colon's dots at rows 2
// and 6, the date dot at the bottom row.
Image SmallSeparator(int style, std::initializer_list<int> rows) {
    const Look look = LookOf(style);
    Layers layers(1, kSmallHeight);
    for (int y : rows) {
        layers.Ink(0, y) = 1;
    }
    Image image(kSmallWidth, kSmallHeight, look.background);
    image.blit(Compose(layers, look), 0, 0);
    return image;
}

Image LargeDigit(int style, int digit) {
    switch (style) {
    case kLedMatrix:
        return Compose(LargeMatrix(digit), LookOf(style));
    case kFlipDigits:
        return LargeFlip(digit);
    default:
        return Compose(LargeSevenSegment(digit), LookOf(style));
    }
}

Image SmallSymbol(int style, int symbol) {
    switch (style) {
    case kLedMatrix:
        return Compose(SmallMatrix(symbol), LookOf(style));
    case kFlipDigits:
        return SmallFlip(symbol);
    default:
        return Compose(SmallSevenSegment(symbol), LookOf(style));
    }
}

} // namespace

StyleColours ColoursOf(int style) {
    const Look look = LookOf(style);
    return {look.background, look.ink};
}

Image DrawLargeStrip() {
    Image strip(kLargeWidth * kLargeCount, kLargeHeight);
    for (int style = 0; style < kStyleCount; ++style) {
        for (int digit = 0; digit < 10; ++digit) {
            strip.blit(LargeDigit(style, digit), kLargeWidth * DigitIndex(style, digit), 0);
        }
        strip.blit(LargeColon(style), kLargeWidth * ColonIndex(style), 0);
    }
    return strip;
}

Image DrawSmallStrip() {
    Image strip(kSmallWidth * kSmallCount, kSmallHeight);
    for (int style = 0; style < kStyleCount; ++style) {
        for (int digit = 0; digit < 10; ++digit) {
            strip.blit(SmallSymbol(style, digit), kSmallWidth * DigitIndex(style, digit), 0);
        }
        strip.blit(SmallSeparator(style, {2, 6}), kSmallWidth * ColonIndex(style), 0);
        strip.blit(SmallSeparator(style, {8}), kSmallWidth * DateDotIndex(style), 0);
        strip.blit(SmallSymbol(style, kLetterA), kSmallWidth * LetterAIndex(style), 0);
        strip.blit(SmallSymbol(style, kLetterL), kSmallWidth * LetterLIndex(style), 0);
    }
    return strip;
}

Image Glyph(const Image& strip, int cellWidth, int index) {
    Image glyph(cellWidth, strip.height());
    for (int y = 0; y < strip.height(); ++y) {
        for (int x = 0; x < cellWidth; ++x) {
            glyph.at(x, y) = strip.at(index * cellWidth + x, y);
        }
    }
    return glyph;
}

} // namespace glyphs

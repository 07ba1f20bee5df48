#include "faces.h"
#include "glyphs.h"
#include "image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

using namespace glyphs;

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kWhite{255, 255, 255};
const Rgb kGrey{128, 128, 128};
const Rgb kLime{0, 255, 0};
const Rgb kRed{255, 0, 0};
const Rgb kAqua{0, 255, 255};
const Rgb kLcdGreen{99, 148, 99};
const Rgb kOlive{128, 128, 0};

const Image& LargeStrip() {
    static const Image strip = DrawLargeStrip();
    return strip;
}

const Image& SmallStrip() {
    static const Image strip = DrawSmallStrip();
    return strip;
}

const Image& SampleClock() {
    static const Image clock = faces::DrawSampleClock();
    return clock;
}

Image Large(int index) {
    return Glyph(LargeStrip(), kLargeWidth, index);
}
Image Small(int index) {
    return Glyph(SmallStrip(), kSmallWidth, index);
}

bool Same(const Image& a, const Image& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (!(a.at(x, y) == b.at(x, y))) {
                return false;
            }
        }
    }
    return true;
}

int CountColour(const Image& image, Rgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.at(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// A reader for the two BMP flavours the generator writes, independent of the
// encoder, so that what the resource compiler embeds can be checked.
struct DecodedBmp {
    std::uint32_t fileSize = 0, pixelOffset = 0, headerSize = 0, compression = 0, colours = 0;
    int width = 0, height = 0, bits = 0;
    std::vector<Rgb> palette;
    std::vector<Rgb> pixels; // top-down
    Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

DecodedBmp Decode(const std::vector<std::uint8_t>& bytes) {
    DecodedBmp bmp;
    EXPECT_EQ(bytes.at(0), 'B');
    EXPECT_EQ(bytes.at(1), 'M');
    bmp.fileSize = Read32(bytes, 2);
    bmp.pixelOffset = Read32(bytes, 10);
    bmp.headerSize = Read32(bytes, 14);
    bmp.width = static_cast<int>(Read32(bytes, 18));
    bmp.height = static_cast<int>(Read32(bytes, 22));
    bmp.bits = bytes.at(28) | bytes.at(29) << 8;
    bmp.compression = Read32(bytes, 30);
    bmp.colours = Read32(bytes, 46);
    for (std::uint32_t i = 0; i < bmp.colours; ++i) {
        const std::size_t at = 14 + bmp.headerSize + 4 * i;
        bmp.palette.push_back(Rgb{bytes.at(at + 2), bytes.at(at + 1), bytes.at(at), 255});
    }
    const int rowBytes = (bmp.width * bmp.bits + 31) / 32 * 4;
    for (int y = 0; y < bmp.height; ++y) {
        const std::size_t row =
            bmp.pixelOffset + static_cast<std::size_t>((bmp.height - 1 - y) * rowBytes);
        for (int x = 0; x < bmp.width; ++x) {
            if (bmp.bits == 32) {
                const std::size_t at = row + 4 * static_cast<std::size_t>(x);
                bmp.pixels.push_back(
                    Rgb{bytes.at(at + 2), bytes.at(at + 1), bytes.at(at), bytes.at(at + 3)});
            } else {
                const std::uint8_t pair = bytes.at(row + static_cast<std::size_t>(x / 2));
                const int index = x % 2 == 0 ? pair >> 4 : pair & 15;
                bmp.pixels.push_back(bmp.palette.at(static_cast<std::size_t>(index)));
            }
        }
    }
    return bmp;
}

void ExpectSamePixels(const DecodedBmp& bmp, const Image& image) {
    ASSERT_EQ(bmp.width, image.width());
    ASSERT_EQ(bmp.height, image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ASSERT_EQ(bmp.At(x, y), image.at(x, y)) << x << "," << y;
        }
    }
}

bool IsSevenSegment(int style) {
    return style <= kLcdPlain;
}

} // namespace

TEST(ArtworkStrips, HaveTheCellSizesAndCountsOfTheIndexLayout) {
    EXPECT_EQ(LargeStrip().width(), 16 * 66);
    EXPECT_EQ(LargeStrip().height(), 27);
    EXPECT_EQ(SmallStrip().width(), 5 * 84);
    EXPECT_EQ(SmallStrip().height(), 9);
    EXPECT_EQ(DigitIndex(3, 7), 37);
    EXPECT_EQ(ColonIndex(5), 65);
    EXPECT_EQ(DateDotIndex(0), 66);
    EXPECT_EQ(LetterAIndex(2), 74);
    EXPECT_EQ(LetterLIndex(5), 83);
}

TEST(ArtworkStrips, EveryPixelIsOpaque) {
    for (const Image* strip : {&LargeStrip(), &SmallStrip()}) {
        for (int y = 0; y < strip->height(); ++y) {
            for (int x = 0; x < strip->width(); ++x) {
                ASSERT_EQ(strip->at(x, y).a, 255) << x << "," << y;
            }
        }
    }
}

TEST(ArtworkStrips, StylesUseTheirPanelAndInkColours) {
    const Rgb backgrounds[] = {kBlack, kBlack, kAqua, kLcdGreen, kBlack, kBlack};
    const Rgb inks[] = {kLime, kRed, kBlack, kBlack, kAqua, kWhite};
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(style);
        EXPECT_EQ(ColoursOf(style).background, backgrounds[style]);
        EXPECT_EQ(ColoursOf(style).ink, inks[style]);
        for (int digit = 0; digit < 10; ++digit) {
            const Image large = Large(DigitIndex(style, digit));
            // The cell's corners are the panel colour, so cells join seamlessly.
            EXPECT_EQ(large.at(0, 0), backgrounds[style]);
            EXPECT_EQ(large.at(15, 26), backgrounds[style]);
            EXPECT_GT(CountColour(large, inks[style]), 20);
            EXPECT_GT(CountColour(Small(DigitIndex(style, digit)), inks[style]), 4);
        }
    }
}

TEST(ArtworkStrips, LargeColonHasTwoDotsInTheThreeLeftColumns) {
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(style);
        const Image colon = Large(ColonIndex(style));
        const Rgb ink = ColoursOf(style).ink;
        const Rgb background = ColoursOf(style).background;
        const int dot = style == kLedMatrix ? 2 : 3;
        for (int y = 0; y < kLargeHeight; ++y) {
            const bool upper = y >= 6 && y <= 8, lower = y >= 17 && y <= 19;
            int inkInRow = 0;
            for (int x = 0; x < 3; ++x) {
                inkInRow += colon.at(x, y) == ink ? 1 : 0;
            }
            if (!upper && !lower) {
                EXPECT_EQ(inkInRow, 0) << y;
            } else if (dot == 3) {
                EXPECT_EQ(inkInRow, 3) << y;
            }
            for (int x = 3; x < kLargeWidth; ++x) {
                ASSERT_EQ(colon.at(x, y), background) << x << "," << y;
            }
        }
        EXPECT_EQ(CountColour(colon, ink), 2 * dot * dot);
    }
}

TEST(ArtworkStrips, SmallSeparatorsUseTheLeftColumnOnly) {
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(style);
        const Rgb ink = ColoursOf(style).ink;
        const Rgb background = ColoursOf(style).background;
        const Image colon = Small(ColonIndex(style));
        const Image dot = Small(DateDotIndex(style));
        for (int y = 0; y < kSmallHeight; ++y) {
            EXPECT_EQ(colon.at(0, y) == ink, y == 2 || y == 6) << y;
            EXPECT_EQ(dot.at(0, y) == ink, y == 8) << y;
            for (int x = 1; x < kSmallWidth; ++x) {
                EXPECT_EQ(colon.at(x, y), background);
                EXPECT_EQ(dot.at(x, y), background);
            }
        }
    }
}

TEST(ArtworkStrips, LettersAAndLHaveTheirShapes) {
    for (int style = 0; style < kStyleCount; ++style) {
        SCOPED_TRACE(style);
        const Rgb ink = ColoursOf(style).ink;
        const Image a = Small(LetterAIndex(style));
        const Image l = Small(LetterLIndex(style));
        // L: an upright on the left and a foot, nothing at the top right.
        EXPECT_EQ(l.at(0, 0), ink);
        EXPECT_EQ(l.at(0, 8), ink);
        EXPECT_EQ(l.at(4, 8), ink);
        EXPECT_NE(l.at(4, 0), ink);
        // A: two legs that stand apart at the bottom.
        EXPECT_EQ(a.at(0, 8), ink);
        EXPECT_EQ(a.at(4, 8), ink);
        EXPECT_NE(a.at(2, 8), ink);
        EXPECT_FALSE(Same(a, l));
        for (int digit = 0; digit < 10; ++digit) {
            EXPECT_FALSE(Same(a, Small(DigitIndex(style, digit)))) << digit;
            EXPECT_FALSE(Same(l, Small(DigitIndex(style, digit)))) << digit;
        }
    }
}

TEST(ArtworkStrips, TheTenDigitsOfEachStyleDiffer) {
    for (int style = 0; style < kStyleCount; ++style) {
        for (int a = 0; a < 10; ++a) {
            for (int b = a + 1; b < 10; ++b) {
                EXPECT_FALSE(Same(Large(DigitIndex(style, a)), Large(DigitIndex(style, b))))
                    << style << ": " << a << " " << b;
                EXPECT_FALSE(Same(Small(DigitIndex(style, a)), Small(DigitIndex(style, b))))
                    << style << ": " << a << " " << b;
            }
        }
    }
}

TEST(ArtworkStrips, StylesDifferFromEachOther) {
    for (int s = 0; s < kStyleCount; ++s) {
        for (int t = s + 1; t < kStyleCount; ++t) {
            EXPECT_FALSE(Same(Large(DigitIndex(s, 8)), Large(DigitIndex(t, 8)))) << s << t;
            EXPECT_FALSE(Same(Small(DigitIndex(s, 8)), Small(DigitIndex(t, 8)))) << s << t;
        }
    }
}

TEST(ArtworkStrips, EightLightsEverySegmentOfTheOtherDigits) {
    for (int style = 0; style < kStyleCount; ++style) {
        if (!IsSevenSegment(style)) {
            continue;
        }
        SCOPED_TRACE(style);
        const Rgb ink = ColoursOf(style).ink;
        for (auto glyph : {&Large, &Small}) {
            const Image eight = glyph(DigitIndex(style, 8));
            const int eightInk = CountColour(eight, ink);
            for (int digit = 0; digit < 10; ++digit) {
                if (digit == 8) {
                    continue;
                }
                const Image other = glyph(DigitIndex(style, digit));
                EXPECT_LT(CountColour(other, ink), eightInk) << digit;
                for (int y = 0; y < other.height(); ++y) {
                    for (int x = 0; x < other.width(); ++x) {
                        if (other.at(x, y) == ink) {
                            ASSERT_EQ(eight.at(x, y), ink) << digit << " at " << x << "," << y;
                        }
                    }
                }
            }
            // The one uses the fewest segments of all.
            const int oneInk = CountColour(glyph(DigitIndex(style, 1)), ink);
            for (int digit = 0; digit < 10; ++digit) {
                if (digit != 1) {
                    EXPECT_GT(CountColour(glyph(DigitIndex(style, digit)), ink), oneInk) << digit;
                }
            }
        }
    }
}

TEST(ArtworkStrips, MatrixInkLiesOnSeparateDots) {
    for (int digit = 0; digit < 10; ++digit) {
        const Image large = Large(DigitIndex(kLedMatrix, digit));
        const Image small = Small(DigitIndex(kLedMatrix, digit));
        for (int y = 0; y < kLargeHeight; ++y) {
            for (int x = 0; x < kLargeWidth; ++x) {
                if (large.at(x, y) == kAqua) {
                    // 2 × 2 dots on a 3-pixel pitch from (1, 3): a dark gap between dots.
                    EXPECT_NE((x - 1) % 3, 2) << digit << " at " << x << "," << y;
                    EXPECT_NE((y - 3) % 3, 2) << digit << " at " << x << "," << y;
                    EXPECT_GE(x, 1);
                    EXPECT_GE(y, 3);
                }
            }
        }
        for (int y = 0; y < kSmallHeight; ++y) {
            for (int x = 0; x < kSmallWidth; ++x) {
                if (small.at(x, y) == kAqua) {
                    EXPECT_TRUE(x % 2 == 0 && y % 2 == 0) << digit << " at " << x << "," << y;
                } else {
                    EXPECT_EQ(small.at(x, y), kBlack);
                }
            }
        }
    }
}

TEST(ArtworkStrips, FlipCardsAreSplitByAGreyLine) {
    for (int digit = 0; digit < 10; ++digit) {
        const Image large = Large(DigitIndex(kFlipDigits, digit));
        for (int x = 1; x < 15; ++x) {
            EXPECT_EQ(large.at(x, 13), kGrey) << digit << " at " << x;
        }
        EXPECT_EQ(large.at(0, 13), kBlack);
        EXPECT_EQ(large.at(15, 13), kBlack);
        // The card is dark, not the panel's black, so that it stands out.
        const Rgb card = large.at(2, 3);
        EXPECT_NE(card, kBlack);
        EXPECT_LT(card.r + card.g + card.b, 3 * 64);
        const Image small = Small(DigitIndex(kFlipDigits, digit));
        int greyOnHinge = 0;
        for (int x = 0; x < kSmallWidth; ++x) {
            greyOnHinge += small.at(x, 4) == kGrey ? 1 : 0;
            EXPECT_TRUE(small.at(x, 4) == kGrey || small.at(x, 4) == kWhite);
        }
        EXPECT_GT(greyOnHinge, 0) << digit;
    }
}

TEST(ArtworkBmp, StripsRoundTripAsThirtyTwoBitBitmaps) {
    for (const Image* strip : {&LargeStrip(), &SmallStrip()}) {
        const std::vector<std::uint8_t> bytes = EncodeBmp32(*strip);
        const DecodedBmp bmp = Decode(bytes);
        EXPECT_EQ(bmp.fileSize, bytes.size());
        EXPECT_EQ(bmp.fileSize, 54U + 4U * static_cast<unsigned>(strip->width() * strip->height()));
        EXPECT_EQ(bmp.pixelOffset, 54U);
        EXPECT_EQ(bmp.headerSize, 40U);
        EXPECT_EQ(bmp.bits, 32);
        EXPECT_EQ(bmp.compression, 0U);
        EXPECT_EQ(bmp.colours, 0U);
        ExpectSamePixels(bmp, *strip);
    }
}

TEST(ArtworkBmp, FacesRoundTripAsSixteenColourBitmaps) {
    for (const faces::SmallFace& face : faces::SmallFaces()) {
        const Image image = faces::DrawSmallFace(face.marks);
        const std::vector<std::uint8_t> bytes = EncodeBmp4(image, faces::SmallFacePalette());
        const DecodedBmp bmp = Decode(bytes);
        // 47 pixels of 4 bits need 24 bytes per row, padded to whole 32-bit words.
        EXPECT_EQ(bmp.fileSize, bytes.size());
        EXPECT_EQ(bmp.fileSize, 14U + 40U + 16U * 4U + 24U * 47U);
        EXPECT_EQ(bmp.pixelOffset, 14U + 40U + 16U * 4U);
        EXPECT_EQ(bmp.bits, 4);
        EXPECT_EQ(bmp.colours, 16U);
        EXPECT_EQ(bmp.palette, faces::SmallFacePalette());
        ExpectSamePixels(bmp, image);
    }
    const Image& clock = SampleClock();
    const DecodedBmp bmp = Decode(EncodeBmp4(clock, faces::SampleClockPalette()));
    EXPECT_EQ(bmp.bits, 4);
    EXPECT_EQ(bmp.width, 100);
    EXPECT_EQ(bmp.height, 100);
    ExpectSamePixels(bmp, clock);
}

TEST(ArtworkFaces, FiveFacesWithTheirMarkColours) {
    const auto& all = faces::SmallFaces();
    const int numbers[] = {101, 102, 103, 104, 105};
    const Rgb marks[] = {kBlack, kRed, kLime, kWhite, kAqua};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].number, numbers[i]);
        EXPECT_EQ(all[i].marks, marks[i]);
    }
}

TEST(ArtworkFaces, TwelveMarksOfOneHundredAndFourPixelsOnGrey) {
    for (const faces::SmallFace& face : faces::SmallFaces()) {
        SCOPED_TRACE(face.number);
        const Image image = faces::DrawSmallFace(face.marks);
        ASSERT_EQ(image.width(), 47);
        ASSERT_EQ(image.height(), 47);
        EXPECT_EQ(CountColour(image, face.marks), 104);
        EXPECT_EQ(CountColour(image, kGrey), 47 * 47 - 104);
        // The bars at twelve, six, nine and three.
        for (int y = 0; y < 4; ++y) {
            for (int x = 22; x <= 24; ++x) {
                EXPECT_EQ(image.at(x, y), face.marks);
                EXPECT_EQ(image.at(x, 46 - y), face.marks);
                EXPECT_EQ(image.at(y, x), face.marks);
                EXPECT_EQ(image.at(46 - y, x), face.marks);
            }
        }
        EXPECT_EQ(image.at(22, 4), kGrey);
        EXPECT_EQ(image.at(21, 0), kGrey);
        // One o'clock: the square at (33, 4) without the corners (33, 4) and
        // (35, 6), so its diagonal runs from (35, 4) towards the centre.
        EXPECT_EQ(image.at(33, 4), kGrey);
        EXPECT_EQ(image.at(35, 6), kGrey);
        for (auto [x, y] :
             {std::pair{35, 4}, {34, 5}, {33, 6}, {34, 4}, {33, 5}, {35, 5}, {34, 6}}) {
            EXPECT_EQ(image.at(x, y), face.marks) << x << "," << y;
        }
        // Ten o'clock: the square at (4, 11); its diagonal runs down to the right.
        EXPECT_EQ(image.at(4, 11), face.marks);
        EXPECT_EQ(image.at(6, 13), face.marks);
        EXPECT_EQ(image.at(6, 11), kGrey);
        EXPECT_EQ(image.at(4, 13), kGrey);
    }
}

TEST(ArtworkFaces, SmallFaceLooksTheSameAfterAQuarterTurnOrAMirror) {
    const Image image = faces::DrawSmallFace(kRed);
    for (int y = 0; y < 47; ++y) {
        for (int x = 0; x < 47; ++x) {
            ASSERT_EQ(image.at(x, y), image.at(46 - y, x)) << x << "," << y;
            ASSERT_EQ(image.at(x, y), image.at(46 - x, y)) << x << "," << y;
        }
    }
}

TEST(ArtworkFaces, SampleClockIsARoundDialOnOlive) {
    const Image& clock = SampleClock();
    ASSERT_EQ(clock.width(), 100);
    ASSERT_EQ(clock.height(), 100);
    EXPECT_LE(faces::SampleClockPalette().size(), 16U);
    EXPECT_EQ(faces::kSampleClockGround, kOlive);
    // The clock takes its transparent colour from the bottom-left pixel.
    EXPECT_EQ(clock.at(0, 99), kOlive);
    EXPECT_EQ(clock.at(0, 0), kOlive);
    EXPECT_EQ(clock.at(99, 99), kOlive);
    std::set<std::uint32_t> colours;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const Rgb p = clock.at(x, y);
            colours.insert(static_cast<std::uint32_t>(p.r << 16 | p.g << 8 | p.b));
            const int dx = x - 50, dy = y - 50;
            if (dx * dx + dy * dy <= 48 * 48) {
                ASSERT_NE(p, kOlive) << x << "," << y;
            }
            if (dx * dx + dy * dy >= 50 * 50) {
                ASSERT_EQ(p, kOlive) << x << "," << y;
            }
        }
    }
    EXPECT_LE(colours.size(), 16U);
    // Dark hour marks at twelve and three, a white dial between them and the hub.
    EXPECT_EQ(clock.at(50, 10), kBlack);
    EXPECT_EQ(clock.at(90, 50), kBlack);
    EXPECT_EQ(clock.at(50, 25), kWhite);
    EXPECT_EQ(clock.at(50, 50), kBlack);
}

TEST(ArtworkFaces, SampleClockDialIsFourFoldSymmetric) {
    // A quarter turn about the hands' pivot, pixel (50, 50).
    const Image& clock = SampleClock();
    int differing = 0;
    for (int y = 1; y < 100; ++y) {
        for (int x = 1; x < 100; ++x) {
            differing += clock.at(x, y) == clock.at(100 - y, x) ? 0 : 1;
        }
    }
    EXPECT_EQ(differing, 0);
}

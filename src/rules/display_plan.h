#pragma once
// What the digital display shows, worked out without a window: the display
// styles, and which glyph of a strip goes into which cell for a time, a date
// and an alarm line.
#include "toolkit/local_time_rules.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// $00BBGGRR, the platform's colour layout.
constexpr std::uint32_t RgbColor(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b) << 16;
}

struct DisplayStyle {
    int styleIndex;
    const char* settingsValue; // under [Clock] "Display"
    const char* caption;       // the menu item's caption
    std::uint32_t panelColor;
    std::uint32_t handColor;
    int faceImage; // 101 to 105: which face picture the analog clock shows
};

// Indexed by StyleIndex: 0 green LED, 1 red LED, 2 illuminated LCD, 3 LCD,
// 4 LED dot matrix, 5 flip digits.
extern const std::array<DisplayStyle, 6> kDisplayStyles;

// Glyph index bases of the separators and letters; StyleIndex is added.
constexpr int kColonGlyph = 60;
constexpr int kDateDotGlyph = 66;
constexpr int kLetterAGlyph = 72;
constexpr int kLetterLGlyph = 78;
// A cell that is cleared instead of given a glyph.
constexpr int kEmptyCell = -1;

// The style whose settings value is exactly the first 20 characters of value
// (letter case counts); null when none is.
const DisplayStyle* FindStyleBySettingsValue(std::string_view value);

// Always two-digit 24-hour "hh:nn:ss", whatever the user's locale says, because
// the cells and the alarm check read fixed positions of it.
std::string FormatTimeText(const LocalTime& time);
// "dd.mm.yyyy".
std::string FormatDateText(const LocalTime& time);

// The glyph of one digit character, or kEmptyCell for anything that is no digit.
int DigitGlyph(char digit, int glyphBase);

// The six time cells (hour tens .. second units) from characters 1, 2, 4, 5,
// 7, 8 of a time text; the hour tens cell is empty when it is "0".
std::array<int, 6> TimeCellGlyphs(std::string_view timeText, int glyphBase);

// The eight date cells (day tens .. year units) from characters 1, 2, 4, 5,
// 7, 8, 9, 10 of a date text; the day tens cell is empty when it is "0".
std::array<int, 8> DateCellGlyphs(std::string_view dateText, int glyphBase);

// The small row as the alarm line: cells Image9 to Image16 (Image9 is always empty).
struct AlarmLineCells {
    int image9 = kEmptyCell;
    int image10 = kEmptyCell; // colon
    int image11 = kEmptyCell; // A
    int image12 = kEmptyCell; // L
    int image13 = kEmptyCell; // alarm hour tens
    int image14 = kEmptyCell;
    int image15 = kEmptyCell; // alarm minute tens
    int image16 = kEmptyCell;
};
// An empty hour clears the whole line. Missing or non-digit characters give
// empty cells rather than made-up glyphs.
AlarmLineCells AlarmLine(std::string_view hour, std::string_view minute, int glyphBase,
                         int styleIndex);

// The raised grip dots at the window's left edge: squares in the button
// shadow or highlight colour, right and bottom exclusive.
struct GripSquare {
    int left, top, right, bottom;
    bool highlight;
};
std::vector<GripSquare> GripDots(bool mini, bool analog);

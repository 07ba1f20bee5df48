#include "rules/display_plan.h"

#include "toolkit/string_rules.h"

#include <cstdio>

const std::array<DisplayStyle, 6> kDisplayStyles = {{
    {0, "LEDGruen", "LED -Display &Grün", RgbColor(0, 0, 0), RgbColor(0, 255, 0), 103},
    {1, "LEDRot", "LED -Display &Rot", RgbColor(0, 0, 0), RgbColor(255, 0, 0), 102},
    {2, "LCDBeleuchtet", "LCD -Display &bel.", RgbColor(0, 255, 255), RgbColor(0, 0, 0), 101},
    {3, "LCD", "&LCD -Display", RgbColor(100, 145, 102), RgbColor(0, 0, 0), 101},
    {4, "LEDMatrix", "LED -Pu&nktmatrix", RgbColor(0, 0, 0), RgbColor(0, 255, 255), 105},
    {5, "Klappziffer", "&Klappziffer -Display", RgbColor(0, 0, 0), RgbColor(255, 255, 255), 104},
}};

const DisplayStyle* FindStyleBySettingsValue(std::string_view value) {
    const std::string compared = LeftUtf8(value, 20);
    for (const DisplayStyle& style : kDisplayStyles) {
        if (compared == style.settingsValue) {
            return &style;
        }
    }
    return nullptr;
}

std::string FormatTimeText(const LocalTime& time) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02d:%02d:%02d", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return text;
}

std::string FormatDateText(const LocalTime& time) {
    char text[16];
    std::snprintf(text, sizeof(text), "%02d.%02d.%04d", time.day % 100, time.month % 100,
                  time.year % 10000);
    return text;
}

int DigitGlyph(char digit, int glyphBase) {
    return digit >= '0' && digit <= '9' ? glyphBase + (digit - '0') : kEmptyCell;
}

namespace {

// Character at a 1-based position, or 0 when the text is shorter.
char At(std::string_view text, std::size_t position) {
    return position <= text.size() ? text[position - 1] : '\0';
}

// A leading digit that is blanked when it is "0".
int LeadingDigitGlyph(char digit, int glyphBase) {
    return digit == '0' ? kEmptyCell : DigitGlyph(digit, glyphBase);
}

} // namespace

std::array<int, 6> TimeCellGlyphs(std::string_view timeText, int glyphBase) {
    return {LeadingDigitGlyph(At(timeText, 1), glyphBase), DigitGlyph(At(timeText, 2), glyphBase),
            DigitGlyph(At(timeText, 4), glyphBase),        DigitGlyph(At(timeText, 5), glyphBase),
            DigitGlyph(At(timeText, 7), glyphBase),        DigitGlyph(At(timeText, 8), glyphBase)};
}

std::array<int, 8> DateCellGlyphs(std::string_view dateText, int glyphBase) {
    return {LeadingDigitGlyph(At(dateText, 1), glyphBase), DigitGlyph(At(dateText, 2), glyphBase),
            DigitGlyph(At(dateText, 4), glyphBase),        DigitGlyph(At(dateText, 5), glyphBase),
            DigitGlyph(At(dateText, 7), glyphBase),        DigitGlyph(At(dateText, 8), glyphBase),
            DigitGlyph(At(dateText, 9), glyphBase),        DigitGlyph(At(dateText, 10), glyphBase)};
}

AlarmLineCells AlarmLine(std::string_view hour, std::string_view minute, int glyphBase,
                         int styleIndex) {
    AlarmLineCells cells;
    if (hour.empty()) {
        return cells;
    }
    cells.image13 = LeadingDigitGlyph(At(hour, 1), glyphBase);
    cells.image14 = DigitGlyph(At(hour, 2), glyphBase);
    cells.image15 = DigitGlyph(At(minute, 1), glyphBase);
    cells.image16 = DigitGlyph(At(minute, 2), glyphBase);
    cells.image10 = kColonGlyph + styleIndex;
    cells.image11 = kLetterAGlyph + styleIndex;
    cells.image12 = kLetterLGlyph + styleIndex;
    return cells;
}

std::vector<GripSquare> GripDots(bool mini, bool analog) {
    const int n = mini && !analog ? 2 : 10;
    std::vector<GripSquare> squares;
    for (int i = 0; i < n; ++i) {
        squares.push_back({6, 6 + 4 * i, 8, 8 + 4 * i, false});
    }
    for (int i = 0; i < n; ++i) {
        squares.push_back({5, 5 + 4 * i, 7, 7 + 4 * i, true});
    }
    for (int i = 0; i < n - 1; ++i) {
        squares.push_back({11, 8 + 4 * i, 13, 10 + 4 * i, false});
    }
    for (int i = 0; i < n - 1; ++i) {
        squares.push_back({10, 7 + 4 * i, 12, 9 + 4 * i, true});
    }
    return squares;
}

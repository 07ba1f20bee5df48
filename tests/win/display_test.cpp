// The digital display of the main window with the time set by the test:
// which glyph lands in which cell, and what choosing a style stores.
#include "rules/display_plan.h"
#include "app/form1.h"
#include "settings/program_objects.h"
#include "main_window_test.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// The bitmap's pixels as 0x00RRGGBB, read through a copy into a DIB section
// (the bitmap itself stays selected into its canvas).
std::vector<std::uint32_t> Pixels(const TBitmap& bitmap) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        BitmapDc dc(copy.get());
        BitBlt(dc.get(), 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Canvas(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(source, source + bitmap.Width() * bitmap.Height());
    for (auto& p : pixels) {
        p &= 0xFFFFFF;
    }
    return pixels;
}

class DisplayTest : public MainWindowTest {
  protected:
    DisplayTest() { now = {2024, 3, 1, 9, 5, 3}; }

    static constexpr int E = -1; // an empty cell
};

} // namespace

TEST_F(DisplayTest, FirstStartShowsPlainLcdTimeAndDate) {
    Create();
    EXPECT_EQ(StyleIndex, 3);
    EXPECT_EQ(GlyphBase, 30);
    EXPECT_TRUE(Probe().Item("LCD -Display").Checked());
    EXPECT_FALSE(Probe().Item("LED -Display Grün").Checked());
    EXPECT_EQ(Probe().Colour(ClockRow::Large), RgbColor(100, 145, 102));
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{E, 39, 63, 30, 35, 63, 30, 33}));
    EXPECT_EQ(Probe().Glyphs(ClockRow::Date),
              (std::vector<int>{E, 31, 69, 30, 33, 69, 32, 30, 32, 34}));
    // No alarm section: the alarm line is empty.
    EXPECT_EQ(Probe().Glyphs(ClockRow::Small), (std::vector<int>{E, E, E, E, E, E, E, E}));
    // Showing a style that was read stores nothing.
    EXPECT_EQ(folder.Read("Tikkora.ini").find("Display"), std::string::npos);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DisplayTest, EveryTickRedrawsTheTimeAndMidnightBlanksTheHourTens) {
    Create();
    now = {2024, 3, 1, 10, 0, 0};
    Probe().Tick();
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{31, 30, 63, 30, 30, 63, 30, 30}));
    now = {2024, 3, 2, 0, 0, 0};
    Probe().Tick();
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{E, 30, 63, 30, 30, 63, 30, 30}));
    // The date waits for the minute event.
    EXPECT_EQ(Probe().Glyphs(ClockRow::Date)[1], 31);
    Probe().MinuteTick();
    EXPECT_EQ(Probe().Glyphs(ClockRow::Date)[1], 32);
}

TEST_F(DisplayTest, ARedrawShowsTimeAndDateOfOneReadingOfTheClock) {
    Create();
    // Midnight passes between the first reading and any later one.
    int reads = 0;
    seams::SetClockForTest([&] {
        return ++reads == 1 ? LocalTime{2024, 3, 1, 23, 59, 59} : LocalTime{2024, 3, 2, 0, 0, 0};
    });
    Probe().Redraw();
    seams::SetClockForTest([this] { return now; });
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{32, 33, 63, 35, 39, 63, 35, 39}));
    EXPECT_EQ(Probe().Glyphs(ClockRow::Date),
              (std::vector<int>{E, 31, 69, 30, 33, 69, 32, 30, 32, 34}));
}

TEST_F(DisplayTest, ChoosingAStyleStoresItAndRedrawsEverything) {
    Create();
    Probe().Choose("LED -Display Rot");
    EXPECT_TRUE(Probe().Item("LED -Display Rot").Checked());
    EXPECT_FALSE(Probe().Item("LCD -Display").Checked());
    EXPECT_EQ(GlyphBase, 10);
    EXPECT_NE(folder.Read("Tikkora.ini").find("Display=LEDRot"), std::string::npos);
    EXPECT_EQ(Probe().Colour(ClockRow::Large), RgbColor(0, 0, 0));
    EXPECT_EQ(Probe().Colour(ClockRow::Small), RgbColor(0, 0, 0));
    EXPECT_EQ(Probe().Colour(ClockRow::Date), RgbColor(0, 0, 0));
    EXPECT_EQ(Probe().Colour(ClockRow::AnalogClock), RgbColor(255, 0, 0));
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large), (std::vector<int>{E, 19, 61, 10, 15, 61, 10, 13}));
    EXPECT_EQ(Probe().Glyphs(ClockRow::Date)[2], 67);

    Probe().Choose("LCD -Display bel.");
    EXPECT_NE(folder.Read("Tikkora.ini").find("Display=LCDBeleuchtet"), std::string::npos);
    EXPECT_EQ(Probe().Colour(ClockRow::Large), RgbColor(0, 255, 255));
    EXPECT_EQ(Probe().Glyphs(ClockRow::Large)[1], 29);

    Probe().Choose("LCD -Display");
    EXPECT_NE(folder.Read("Tikkora.ini").find("Display=LCD\r"), std::string::npos);
}

TEST_F(DisplayTest, ReapplyingWithoutASenderStoresNothing) {
    folder.Write("Tikkora.ini", "[Clock]\r\nDisplay=LEDRot\r\n");
    Create();
    EXPECT_TRUE(Probe().Item("LED -Display Rot").Checked());
    EXPECT_EQ(StyleIndex, 1);
    std::string before = folder.Read("Tikkora.ini");
    Probe().Redraw();
    EXPECT_EQ(folder.Read("Tikkora.ini"), before);
    EXPECT_EQ(Probe().Colour(ClockRow::AnalogClock), RgbColor(255, 0, 0));
}

TEST_F(DisplayTest, UnknownOrMiscasedStyleShowsGreenLedAndKeepsTheValue) {
    for (std::string value : {std::string("lcd"), std::string(5000, 'X'), std::string("")}) {
        folder.Write("Tikkora.ini", "[Clock]\r\nDisplay=" + value + "\r\n");
        Create();
        EXPECT_TRUE(Probe().Item("LED -Display Grün").Checked()) << value.substr(0, 10);
        EXPECT_EQ(StyleIndex, 0);
        EXPECT_EQ(Probe().Colour(ClockRow::AnalogClock), RgbColor(0, 255, 0));
        EXPECT_NE(folder.Read("Tikkora.ini").find("Display=" + value.substr(0, 100)),
                  std::string::npos);
        form.reset();
    }
}

TEST_F(DisplayTest, ActiveAlarmIsShownInTheSmallRowAndCanBeCleared) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=07\r\nMinute=30\r\n");
    Create();
    EXPECT_EQ(Probe().Glyphs(ClockRow::Small),
              (std::vector<int>{72 + 3, 78 + 3, E, E, 37, 63, 33, 30}));
    form->alarmdisplay("", "");
    EXPECT_EQ(Probe().Glyphs(ClockRow::Small), (std::vector<int>{E, E, E, E, E, E, E, E}));
    form->alarmdisplay("23", "59");
    EXPECT_EQ(Probe().Glyphs(ClockRow::Small), (std::vector<int>{75, 81, E, 32, 33, 63, 35, 39}));
}

TEST_F(DisplayTest, BadAlarmValuesShowNoAlarmLineAndRaiseNothing) {
    // A time that never rings is not shown as one.
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=ab\r\nMinute=7\r\n");
    Create();
    EXPECT_EQ(Probe().Glyphs(ClockRow::Small), (std::vector<int>{E, E, E, E, E, E, E, E}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DisplayTest, MiniStyleShowsTheTimeInTheSmallRowWithBothColonsAlarmOrNot) {
    Create();
    Probe().Item("&Mini").SetChecked(true);
    for (const char* alarmHour : {"07", ""}) {
        form->alarmdisplay(alarmHour, "30");
        Probe().Tick();
        EXPECT_EQ(Probe().Glyphs(ClockRow::Small),
                  (std::vector<int>{E, 39, 63, 30, 35, 63, 30, 33}))
            << alarmHour;
    }
}

TEST_F(DisplayTest, GripDotsArePaintedAtTheLeftEdge) {
    Create();
    TBitmap canvas;
    canvas.SetSize(20, 50);
    {
        RECT all{0, 0, 20, 50};
        FillRect(canvas.Canvas(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        SendMessageW(form->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Canvas()),
                     PRF_CLIENT);
    }
    std::vector<std::uint32_t> pixels = Pixels(canvas);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * 20 + x)]; };
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    auto asDib = [](COLORREF c) {
        return static_cast<std::uint32_t>(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
    };
    EXPECT_EQ(at(5, 5), asDib(highlight));
    EXPECT_EQ(at(7, 7), asDib(shadow));
    EXPECT_EQ(at(10, 7), asDib(highlight));
    EXPECT_EQ(at(12, 9), asDib(shadow));
    EXPECT_EQ(at(5, 41), asDib(highlight)); // the tenth dot
}

TEST_F(DisplayTest, PanelsPaintTheirCellsOntoTheScreen) {
    folder.Write("Tikkora.ini", "[Clock]\r\nDisplay=LEDRot\r\n");
    Create();
    TBitmap printed;
    printed.SetSize(123, 51);
    SendMessageW(Probe().Window(ClockRow::Large), WM_PRINTCLIENT,
                 reinterpret_cast<WPARAM>(printed.Canvas()), PRF_CLIENT);
    std::vector<std::uint32_t> pixels = Pixels(printed);
    auto inkIn = [&](int left, int right) {
        int ink = 0;
        for (int y = 6; y < 33; ++y) {
            for (int x = left; x < right; ++x) {
                ink += pixels[static_cast<std::size_t>(y * 123 + x)] == 0xFF0000u; // red
            }
        }
        return ink;
    };
    EXPECT_EQ(inkIn(6, 22), 0) << "the hour tens of 09:05:03 is empty";
    EXPECT_GT(inkIn(22, 38), 20) << "the 9";
    EXPECT_GT(inkIn(100, 116), 20) << "the 3";
    EXPECT_EQ(pixels[static_cast<std::size_t>(3 * 123 + 119)], 0u) << "black panel";
}

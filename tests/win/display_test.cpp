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

    // The glyph a cell shows: its index in the strip, -1 when empty,
    // -2 when it matches no glyph of the strip.
    int GlyphIn(const TImage& cell, const TImageList& strip) {
        if (!cell.HasPicture()) {
            return -1;
        }
        std::vector<std::uint32_t> shown = Pixels(cell.Picture());
        TBitmap glyph;
        for (int index = 0; index < strip.Count(); ++index) {
            strip.GetBitmap(index, glyph);
            if (Pixels(glyph) == shown) {
                return index;
            }
        }
        return -2;
    }
    std::vector<int> LargeRow() {
        std::vector<int> glyphs;
        for (TImage* cell : {Probe().Display().Image1.get(), Probe().Display().Image2.get(),
                             Probe().Display().Image7.get(), Probe().Display().Image3.get(),
                             Probe().Display().Image4.get(), Probe().Display().Image8.get(),
                             Probe().Display().Image5.get(), Probe().Display().Image6.get()}) {
            glyphs.push_back(GlyphIn(*cell, Probe().Display().ImageList1));
        }
        return glyphs;
    }
    std::vector<int> SmallRow() {
        std::vector<int> glyphs;
        for (TImage* cell : {Probe().Display().Image11.get(), Probe().Display().Image12.get(),
                             Probe().Display().Image9.get(), Probe().Display().Image13.get(),
                             Probe().Display().Image14.get(), Probe().Display().Image10.get(),
                             Probe().Display().Image15.get(), Probe().Display().Image16.get()}) {
            glyphs.push_back(GlyphIn(*cell, Probe().Display().ImageList2));
        }
        return glyphs;
    }
    std::vector<int> DateRow() {
        std::vector<int> glyphs;
        for (TImage* cell : {Probe().Display().Image21.get(), Probe().Display().Image22.get(),
                             Probe().Display().Image29.get(), Probe().Display().Image23.get(),
                             Probe().Display().Image24.get(), Probe().Display().Image30.get(),
                             Probe().Display().Image25.get(), Probe().Display().Image26.get(),
                             Probe().Display().Image27.get(), Probe().Display().Image28.get()}) {
            glyphs.push_back(GlyphIn(*cell, Probe().Display().ImageList2));
        }
        return glyphs;
    }

    static constexpr int E = -1; // an empty cell
};

} // namespace

TEST_F(DisplayTest, StripsAreLoadedFromTheResources) {
    Create();
    EXPECT_EQ(Probe().Display().ImageList1.Count(), 66);
    EXPECT_EQ(Probe().Display().ImageList2.Count(), 84);
}

TEST_F(DisplayTest, FirstStartShowsPlainLcdTimeAndDate) {
    Create();
    EXPECT_EQ(StyleIndex, 3);
    EXPECT_EQ(GlyphBase, 30);
    EXPECT_TRUE(Probe().Item("LCD -Display").Checked());
    EXPECT_FALSE(Probe().Item("LED -Display Grün").Checked());
    EXPECT_EQ(Probe().Layout().LargeRow().Color(), RgbColor(100, 145, 102));
    EXPECT_EQ(LargeRow(), (std::vector<int>{E, 39, 63, 30, 35, 63, 30, 33}));
    EXPECT_EQ(DateRow(), (std::vector<int>{E, 31, 69, 30, 33, 69, 32, 30, 32, 34}));
    // No alarm section: the alarm line is empty.
    EXPECT_EQ(SmallRow(), (std::vector<int>{E, E, E, E, E, E, E, E}));
    // Showing a style that was read stores nothing.
    EXPECT_EQ(folder.Read("Tikkora.ini").find("Display"), std::string::npos);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DisplayTest, EveryTickRedrawsTheTimeAndMidnightBlanksTheHourTens) {
    Create();
    now = {2024, 3, 1, 10, 0, 0};
    Probe().Tick();
    EXPECT_EQ(LargeRow(), (std::vector<int>{31, 30, 63, 30, 30, 63, 30, 30}));
    now = {2024, 3, 2, 0, 0, 0};
    Probe().Tick();
    EXPECT_EQ(LargeRow(), (std::vector<int>{E, 30, 63, 30, 30, 63, 30, 30}));
    // The date waits for the minute event.
    EXPECT_EQ(DateRow()[1], 31);
    Probe().MinuteTick();
    EXPECT_EQ(DateRow()[1], 32);
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
    EXPECT_EQ(LargeRow(), (std::vector<int>{32, 33, 63, 35, 39, 63, 35, 39}));
    EXPECT_EQ(DateRow(), (std::vector<int>{E, 31, 69, 30, 33, 69, 32, 30, 32, 34}));
}

TEST_F(DisplayTest, ChoosingAStyleStoresItAndRedrawsEverything) {
    Create();
    Probe().Choose("LED -Display Rot");
    EXPECT_TRUE(Probe().Item("LED -Display Rot").Checked());
    EXPECT_FALSE(Probe().Item("LCD -Display").Checked());
    EXPECT_EQ(GlyphBase, 10);
    EXPECT_NE(folder.Read("Tikkora.ini").find("Display=LEDRot"), std::string::npos);
    EXPECT_EQ(Probe().Layout().LargeRow().Color(), RgbColor(0, 0, 0));
    EXPECT_EQ(Probe().Layout().SmallRow().Color(), RgbColor(0, 0, 0));
    EXPECT_EQ(Probe().Layout().DateRow().Color(), RgbColor(0, 0, 0));
    EXPECT_EQ(Probe().Layout().AnalogClock().HoursHand().Color(), RgbColor(255, 0, 0));
    EXPECT_EQ(Probe().Layout().AnalogClock().SecondsHand().Color(), RgbColor(255, 0, 0));
    EXPECT_EQ(LargeRow(), (std::vector<int>{E, 19, 61, 10, 15, 61, 10, 13}));
    EXPECT_EQ(DateRow()[2], 67);

    Probe().Choose("LCD -Display bel.");
    EXPECT_NE(folder.Read("Tikkora.ini").find("Display=LCDBeleuchtet"), std::string::npos);
    EXPECT_EQ(Probe().Layout().LargeRow().Color(), RgbColor(0, 255, 255));
    EXPECT_EQ(LargeRow()[1], 29);

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
    EXPECT_EQ(Probe().Layout().AnalogClock().MinutesHand().Color(), RgbColor(255, 0, 0));
}

TEST_F(DisplayTest, UnknownOrMiscasedStyleShowsGreenLedAndKeepsTheValue) {
    for (std::string value : {std::string("lcd"), std::string(5000, 'X'), std::string("")}) {
        folder.Write("Tikkora.ini", "[Clock]\r\nDisplay=" + value + "\r\n");
        Create();
        EXPECT_TRUE(Probe().Item("LED -Display Grün").Checked()) << value.substr(0, 10);
        EXPECT_EQ(StyleIndex, 0);
        EXPECT_EQ(Probe().Layout().AnalogClock().HoursHand().Color(), RgbColor(0, 255, 0));
        EXPECT_NE(folder.Read("Tikkora.ini").find("Display=" + value.substr(0, 100)),
                  std::string::npos);
        form.reset();
    }
}

TEST_F(DisplayTest, ActiveAlarmIsShownInTheSmallRowAndCanBeCleared) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=07\r\nMinute=30\r\n");
    Create();
    EXPECT_EQ(SmallRow(), (std::vector<int>{72 + 3, 78 + 3, E, E, 37, 63, 33, 30}));
    form->alarmdisplay("", "");
    EXPECT_EQ(SmallRow(), (std::vector<int>{E, E, E, E, E, E, E, E}));
    form->alarmdisplay("23", "59");
    EXPECT_EQ(SmallRow(), (std::vector<int>{75, 81, E, 32, 33, 63, 35, 39}));
}

TEST_F(DisplayTest, BadAlarmValuesLeaveCellsEmptyAndRaiseNothing) {
    folder.Write("Tikkora.ini", "[Wecker]\r\nAktiv=1\r\nStunde=ab\r\nMinute=7\r\n");
    Create();
    EXPECT_EQ(SmallRow(), (std::vector<int>{75, 81, E, E, E, 63, 37, E}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(DisplayTest, MiniStyleShowsTheTimeInTheSmallRowWithBothColonsAlarmOrNot) {
    Create();
    Probe().Item("&Mini").SetChecked(true);
    for (const char* alarmHour : {"07", ""}) {
        form->alarmdisplay(alarmHour, "30");
        Probe().Tick();
        EXPECT_EQ(SmallRow(), (std::vector<int>{E, 39, 63, 30, 35, 63, 30, 33})) << alarmHour;
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
    SendMessageW(Probe().Layout().LargeRow().Handle(), WM_PRINTCLIENT,
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

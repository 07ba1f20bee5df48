// The clock window moved to a monitor of another DPI, in this process: it
// grows by the whole factor, glyph and face pixels become blocks of one
// colour, and back at 96 DPI it is what it was.
#include "main_window_test.h"

#include <vector>

namespace {

// What Windows sends when the window has been dragged onto a monitor of that DPI.
void MoveToMonitorOfDpi(HWND window, int dpi) {
    RECT suggested{300, 200, 800, 500};
    SendMessageW(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
}

// The pixels of a picture drawn larger by factor, each read back from the
// block it should fill whole; a pixel that differs from its block's corner
// counts as 0xFFFFFFFF, which no pixel of a 96-DPI picture is.
std::vector<COLORREF> Blocks(HBITMAP handle, int factor) {
    TBitmap picture;
    picture.AssignHandle(handle);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < picture.Height(); y += factor) {
        for (int x = 0; x < picture.Width(); x += factor) {
            COLORREF corner = GetPixel(picture.Canvas(), x, y);
            for (int i = 0; i < factor * factor; ++i) {
                if (GetPixel(picture.Canvas(), x + i % factor, y + i / factor) != corner) {
                    corner = 0xFFFFFFFF;
                }
            }
            pixels.push_back(corner);
        }
    }
    return pixels;
}

using MainWindowDpiTest = MainWindowTest;

TEST_F(MainWindowDpiTest, GrowsByTheFactorWithSharpPixelsAndShrinksBackAt96) {
    folder.Write("Tikkora.ini", "[Clock]\r\nStyle=Standard\r\n");
    HWND window = Create().Handle();
    const std::vector<COLORREF> glyph = Blocks(Probe().CellPicture(ClockRow::Large, 1), 1);
    const std::vector<COLORREF> face = Blocks(Probe().Face(), 1);
    ASSERT_FALSE(glyph.empty());

    MoveToMonitorOfDpi(window, 192);
    EXPECT_EQ(Probe().OuterSize().cx, 308);
    EXPECT_EQ(Probe().OuterSize().cy, 138);
    EXPECT_EQ(form->Left(), 300) << "the suggested place";
    EXPECT_EQ(Blocks(Probe().CellPicture(ClockRow::Large, 1), 2), glyph);
    EXPECT_EQ(Blocks(Probe().Face(), 2), face);
    EXPECT_EQ(Probe().ClockCentre().x, 47);
    EXPECT_EQ(Probe().SecondsHandRadius(), 38);

    MoveToMonitorOfDpi(window, 96);
    EXPECT_EQ(Probe().OuterSize().cx, 154);
    EXPECT_EQ(Probe().OuterSize().cy, 69);
    EXPECT_EQ(Blocks(Probe().CellPicture(ClockRow::Large, 1), 1), glyph);
}

} // namespace

// The clock window moved between monitors of different DPI, in this process:
// the layout grows by the whole factor, every glyph pixel becomes a block of
// one colour, and back at 96 DPI the window is what it was.
#include "main_window_test.h"
#include "toolkit/dpi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace {

SIZE OuterSize(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// What Windows sends when the window has been dragged onto a monitor of that DPI.
void MoveToMonitorOfDpi(HWND window, int dpi, int left, int top) {
    RECT suggested{left, top, left + 500, top + 300};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

std::vector<COLORREF> Pixels(const TBitmap& picture) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            pixels.push_back(GetPixel(picture.Canvas(), x, y));
        }
    }
    return pixels;
}

// Pixel (x, y) of the small picture is the whole factor × factor block at
// (x, y) × factor of the large one; a text says the first that is not.
std::string BlockMismatch(const std::vector<COLORREF>& small, int width, const TBitmap& large,
                          int factor) {
    const int height = static_cast<int>(small.size()) / width;
    if (large.Width() != width * factor || large.Height() != height * factor) {
        return "size " + std::to_string(large.Width()) + " x " + std::to_string(large.Height());
    }
    for (int y = 0; y < large.Height(); ++y) {
        for (int x = 0; x < large.Width(); ++x) {
            if (GetPixel(large.Canvas(), x, y) != small[(y / factor) * width + x / factor]) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    return "";
}

class MainWindowDpiTest : public MainWindowTest {
  protected:
    TForm1& CreateAt96(const std::string& settings) {
        folder.Write("Tikkora.ini", settings);
        TForm1& window = Create();
        if (WindowScaleFactor(window.Handle()) != 1) {
            // The moves below start from 96 DPI.
            ADD_FAILURE() << "the test prefix's screen is not at 96 DPI";
        }
        return window;
    }
};

TEST_F(MainWindowDpiTest, TheThreeStylesGrowByTheFactorAndShrinkBackAt96) {
    const struct {
        const char* settings;
        SIZE at96, at192, at288;
    } cases[] = {
        {"[Clock]\r\nStyle=Standard\r\nAnalog=0\r\n", {154, 69}, {308, 138}, {462, 207}},
        {"[Clock]\r\nStyle=Standard\r\nAnalog=1\r\n", {154, 69}, {308, 138}, {462, 207}},
        {"[Clock]\r\nStyle=Mini\r\nAnalog=0\r\n", {85, 32}, {170, 64}, {255, 96}},
        {"[Clock]\r\nStyle=Mini\r\nAnalog=1\r\n", {82, 69}, {164, 138}, {246, 207}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.settings);
        TForm1& window = CreateAt96(c.settings);
        HWND handle = window.Handle();
        EXPECT_EQ(OuterSize(handle).cx, c.at96.cx);
        EXPECT_EQ(OuterSize(handle).cy, c.at96.cy);
        MoveToMonitorOfDpi(handle, 192, 300, 200);
        EXPECT_EQ(OuterSize(handle).cx, c.at192.cx);
        EXPECT_EQ(OuterSize(handle).cy, c.at192.cy);
        EXPECT_EQ(window.Left(), 300) << "the suggested place";
        EXPECT_EQ(window.Top(), 200);
        MoveToMonitorOfDpi(handle, 288, 300, 200);
        EXPECT_EQ(OuterSize(handle).cx, c.at288.cx);
        EXPECT_EQ(OuterSize(handle).cy, c.at288.cy);
        MoveToMonitorOfDpi(handle, 96, 300, 200);
        EXPECT_EQ(OuterSize(handle).cx, c.at96.cx);
        EXPECT_EQ(OuterSize(handle).cy, c.at96.cy);
        form.reset();
    }
}

TEST_F(MainWindowDpiTest, At192DpiPanelsCellsAndHandsAreDoubled) {
    TForm1& window = CreateAt96("[Clock]\r\nStyle=Standard\r\nAnalog=0\r\nDisplay=LCD\r\n");
    MoveToMonitorOfDpi(window.Handle(), 192, 100, 100);
    const struct {
        const char* name;
        RECT bounds, expected;
    } places[] = {
        {"large row", window.Panel1->Bounds(), {38, 12, 38 + 246, 12 + 102}},
        {"alarm line", window.Panel3->Bounds(), {40, 78, 40 + 112, 78 + 34}},
        {"menu button holder", window.Panel2->Bounds(), {2, 92, 2 + 34, 92 + 24}},
        {"date row", window.Panel4->Bounds(), {116, 68, 116 + 118, 68 + 30}},
        {"hour units cell", window.Image2->Bounds(), {44, 12, 44 + 32, 12 + 54}},
        {"alarm hour cell", window.Image13->Bounds(), {44, 8, 44 + 10, 8 + 18}},
    };
    for (const auto& p : places) {
        EXPECT_EQ(p.bounds.left, p.expected.left) << p.name;
        EXPECT_EQ(p.bounds.top, p.expected.top) << p.name;
        EXPECT_EQ(p.bounds.right, p.expected.right) << p.name;
        EXPECT_EQ(p.bounds.bottom, p.expected.bottom) << p.name;
    }
    EXPECT_EQ(window.AMClock1->Center().X(), 47);
    EXPECT_EQ(window.AMClock1->Center().Y(), 47);
    EXPECT_EQ(window.AMClock1->HoursHand().Radius(), 24);
    EXPECT_EQ(window.AMClock1->MinutesHand().Radius(), 34);
    EXPECT_EQ(window.AMClock1->SecondsHand().Radius(), 38);
    EXPECT_EQ(window.AMClock1->HoursHand().Width(), 4);
    EXPECT_EQ(window.AMClock1->SecondsHand().Width(), 2);
    EXPECT_EQ(window.ExplorerButton1->Width(), 28);
    EXPECT_EQ(window.ExplorerButton1->Scale(), 2);
}

TEST_F(MainWindowDpiTest, GlyphAndFacePixelsBecomeBlocksOfOneColour) {
    // 12:00:30, alarm at 17:45: every cell drawn is a glyph.
    TForm1& window = CreateAt96("[Clock]\r\nStyle=Standard\r\nAnalog=0\r\nDisplay=LEDGruen\r\n"
                                "[Wecker]\r\nAktiv=1\r\nStunde=17\r\nMinute=45\r\n");
    TImage* cells[] = {window.Image2.get(), window.Image7.get(), window.Image13.get(),
                       window.Image22.get()};
    std::vector<std::vector<COLORREF>> at96;
    std::vector<int> widths;
    for (TImage* cell : cells) {
        ASSERT_TRUE(cell->HasPicture()) << widths.size();
        at96.push_back(Pixels(cell->Picture()));
        widths.push_back(cell->Picture().Width());
    }
    TBitmap face96Bitmap;
    face96Bitmap.AssignHandle(window.FacePicture(101).get());
    const std::vector<COLORREF> face96Pixels = Pixels(face96Bitmap);

    for (int factor : {2, 3}) {
        MoveToMonitorOfDpi(window.Handle(), 96 * factor, 100, 100);
        for (std::size_t i = 0; i < std::size(cells); ++i) {
            EXPECT_EQ(BlockMismatch(at96[i], widths[i], cells[i]->Picture(), factor), "")
                << "cell " << i << " x" << factor;
        }
        TBitmap face;
        face.AssignHandle(window.FacePicture(101).get());
        EXPECT_EQ(BlockMismatch(face96Pixels, face96Bitmap.Width(), face, factor), "")
            << "face x" << factor;
    }
    MoveToMonitorOfDpi(window.Handle(), 96, 100, 100);
    for (std::size_t i = 0; i < std::size(cells); ++i) {
        EXPECT_EQ(Pixels(cells[i]->Picture()), at96[i]) << "cell " << i << " back at 96";
    }
}

} // namespace

// The real program on screens of 144 and 192 DPI: its window styles are the
// whole factor times their 96-DPI sizes, and each pixel of a digit is a
// factor × factor block of one colour.
#include "clock_process.h"
#include "log_pixels.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The first pixel of a cell that differs from its block's corner (blocks of
// factor × factor counted from the cell's corner), or an empty text.
std::string BrokenBlock(const Screenshot& shot, RECT cell, int factor) {
    for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
            if (shot.Pixel(x, y) != shot.Pixel(cell.left + (x - cell.left) / factor * factor,
                                               cell.top + (y - cell.top) / factor * factor)) {
                return std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    return "";
}

TEST(HighDpi, TheStylesAreTheFactorTimesTheir96DpiSizesWithSharpDigits) {
    // Screen pixels as they are, not as a 96-DPI program is shown them.
    ASSERT_TRUE(SetProcessDPIAware());
    const struct {
        const char* settings;
        int width, height; // at 96 DPI
    } cases[] = {
        {"Style=Standard\r\nAnalog=0\r\nDisplay=LEDGruen", 154, 69},
        {"Style=Standard\r\nAnalog=1", 154, 69},
        {"Style=Mini\r\nAnalog=0", 85, 32},
        {"Style=Mini\r\nAnalog=1", 82, 69},
    };
    const struct { int dpi, factor; } screens[] = {{144, 2}, {192, 2}};
    for (const auto& [dpi, factor] : screens) {
        const LogPixels screen(static_cast<DWORD>(dpi));
        for (const auto& c : cases) {
            ClockProcess clock(std::string("[Clock]\r\n") + c.settings +
                               "\r\nUhrposX=100\r\nUhrposY=100\r\n");
            ASSERT_TRUE(clock.Start());
            HWND window = clock.WaitForMainWindow();
            ASSERT_NE(window, nullptr) << c.settings;
            RECT r{};
            GetWindowRect(window, &r);
            // Stored positions are the screen's own pixels.
            EXPECT_EQ(r.left, 100) << c.settings;
            EXPECT_EQ(r.right - r.left, c.width * factor) << c.settings;
            EXPECT_EQ(r.bottom - r.top, c.height * factor) << c.settings;
            const RECT panel = PanelOnScreen(window, 123 * factor, 51 * factor);
            if (&c == &cases[0]) {
                // Once drawn, the minute units' cell has more than one colour.
                const RECT minuteUnits{61 * factor, 6 * factor, 77 * factor, 33 * factor};
                const RECT colon{40 * factor, 6 * factor, 43 * factor, 33 * factor};
                auto drawn = [&] {
                    const Screenshot shot(panel);
                    return BrokenBlock(shot, minuteUnits, 33 * factor) != "";
                };
                EXPECT_TRUE(WaitUntil(drawn, 5000));
                const Screenshot shot(panel);
                EXPECT_EQ(BrokenBlock(shot, minuteUnits, factor), "") << "minute units";
                EXPECT_EQ(BrokenBlock(shot, colon, factor), "") << "colon";
            }
            ASSERT_TRUE(clock.CloseAndWait());
        }
    }
}

} // namespace

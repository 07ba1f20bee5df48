// The real program on the screen at the screen's DPI: its three window styles
// are the whole factor times their 96-DPI sizes, and each pixel of a digit is
// a factor × factor block of one colour. Run at 96 DPI among the other tests,
// and at 144 and 192 DPI by high_dpi_logpixels.sh in a prefix of its own.
#include "clock_process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// Screen pixels as they are, not as a 96-DPI program would be shown them.
void BecomeDpiAware() {
    using SetContext = BOOL(WINAPI*)(HANDLE);
    HMODULE user = GetModuleHandleW(L"user32.dll");
    auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (!set || !set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) {
        using SetAware = BOOL(WINAPI*)();
        auto aware = reinterpret_cast<SetAware>(
            reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDPIAware")));
        if (aware) {
            aware();
        }
    }
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class HighDpi : public testing::Test {
  protected:
    void SetUp() override {
        BecomeDpiAware();
        const int dpi = ScreenDpi();
        // The script that sets the prefix's DPI says which it set; a DPI
        // that did not take would test 96 DPI twice.
        if (const char* expected = std::getenv("TIKKORA_EXPECT_DPI")) {
            ASSERT_EQ(dpi, std::atoi(expected)) << "the screen's DPI";
        }
        factor = (dpi + 48) / 96 < 1 ? 1 : (dpi + 48) / 96;
    }
    int factor = 1;
};

// The first cell whose pixels are not factor × factor blocks of one colour
// (blocks counted from the cell's corner), or an empty text.
std::string BrokenBlock(const Screenshot& shot, RECT cell, int factor) {
    for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
            const int blockX = cell.left + (x - cell.left) / factor * factor;
            const int blockY = cell.top + (y - cell.top) / factor * factor;
            if (shot.Pixel(x, y) != shot.Pixel(blockX, blockY)) {
                return "pixel " + std::to_string(x) + ", " + std::to_string(y);
            }
        }
    }
    return "";
}

TEST_F(HighDpi, TheStylesAreTheFactorTimesTheir96DpiSizes) {
    const struct {
        const char* settings;
        int width, height; // at 96 DPI
    } cases[] = {
        {"[Clock]\r\nStyle=Standard\r\nAnalog=0\r\n", 154, 69},
        {"[Clock]\r\nStyle=Standard\r\nAnalog=1\r\n", 154, 69},
        {"[Clock]\r\nStyle=Mini\r\nAnalog=0\r\n", 85, 32},
        {"[Clock]\r\nStyle=Mini\r\nAnalog=1\r\n", 82, 69},
    };
    for (const auto& c : cases) {
        ClockProcess clock(std::string(c.settings) + "UhrposX=100\r\nUhrposY=100\r\n");
        ASSERT_TRUE(clock.Start());
        HWND window = clock.WaitForMainWindow();
        ASSERT_NE(window, nullptr) << c.settings;
        RECT r{};
        GetWindowRect(window, &r);
        EXPECT_EQ(r.right - r.left, c.width * factor) << c.settings;
        EXPECT_EQ(r.bottom - r.top, c.height * factor) << c.settings;
        // Stored positions are the screen's own pixels.
        EXPECT_EQ(r.left, 100) << c.settings;
        EXPECT_EQ(r.top, 100) << c.settings;
        ASSERT_TRUE(clock.CloseAndWait());
        EXPECT_EQ(clock.Setting("Clock", "UhrposX"), "100");
    }
}

TEST_F(HighDpi, EachDigitPixelIsABlockOfOneColour) {
    ClockProcess clock("[Clock]\r\nStyle=Standard\r\nAnalog=0\r\nDisplay=LEDGruen\r\n"
                       "[Wecker]\r\nAktiv=1\r\nStunde=07\r\nMinute=38\r\n");
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT panel{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            panel = PanelOnScreen(window, 123 * factor, 51 * factor);
            return panel.right != 0;
        },
        5000));
    // Wait for ink in the minute units: the digits are drawn.
    const RECT minuteUnits{61 * factor, 6 * factor, 77 * factor, 33 * factor};
    ASSERT_TRUE(WaitUntil(
        [&] {
            Screenshot shot(panel);
            for (int y = minuteUnits.top; y < minuteUnits.bottom; ++y) {
                for (int x = minuteUnits.left; x < minuteUnits.right; ++x) {
                    if (shot.Pixel(x, y) == RGB(0, 255, 0)) {
                        return true;
                    }
                }
            }
            return false;
        },
        5000));
    Screenshot shot(panel);
    shot.Save(clock.Folder() + L"\\..\\tikkora-dpi-" + std::to_wstring(factor * 96) + L".bmp");
    EXPECT_EQ(BrokenBlock(shot, minuteUnits, factor), "") << "minute units";
    const RECT colon{40 * factor, 6 * factor, 43 * factor, 33 * factor};
    EXPECT_EQ(BrokenBlock(shot, colon, factor), "") << "colon";
    ASSERT_TRUE(clock.CloseAndWait());
}

} // namespace

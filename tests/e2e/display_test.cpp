// The real program's digit display, looked at on the screen.
#include "clock_process.h"

#include <gtest/gtest.h>

namespace {

bool Contains(const Screenshot& shot, RECT area, COLORREF colour) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (shot.Pixel(x, y) == colour) {
                return true;
            }
        }
    }
    return false;
}

bool SameArea(const Screenshot& a, const Screenshot& b, RECT area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

// Cells of the large row, relative to the panel.
const RECT kSecondUnits{100, 6, 116, 33};
const RECT kSeconds{84, 6, 116, 33};
const RECT kMinuteUnits{61, 6, 77, 33};

} // namespace

TEST(Display, EachStoredStyleShowsItsPanelAndGlyphColours) {
    struct Case {
        const char* value;
        COLORREF panel;
        COLORREF ink;
    } cases[] = {
        {"LEDGruen", RGB(0, 0, 0), RGB(0, 255, 0)},
        {"LEDRot", RGB(0, 0, 0), RGB(255, 0, 0)},
        {"LCDBeleuchtet", RGB(0, 255, 255), RGB(0, 0, 0)},
        {"LCD", RGB(100, 145, 102), RGB(0, 0, 0)},
        {"LEDMatrix", RGB(0, 0, 0), RGB(0, 255, 255)},
        {"Klappziffer", RGB(0, 0, 0), RGB(255, 255, 255)},
    };
    for (const Case& c : cases) {
        std::string settings = std::string("[Clock]\r\nDisplay=") + c.value + "\r\n";
        ClockProcess clock(settings);
        ASSERT_TRUE(clock.Start());
        HWND window = clock.WaitForMainWindow();
        ASSERT_NE(window, nullptr);
        RECT panel = WaitForDrawnDigits(window);
        ASSERT_NE(panel.right, 0) << c.value;
        Screenshot shot(panel);
        shot.Save(clock.Folder() + L"\\..\\tikkora-style-" +
                  std::wstring(c.value, c.value + strlen(c.value)) + L".bmp");
        EXPECT_EQ(shot.Pixel(119, 3), c.panel) << c.value;
        EXPECT_TRUE(Contains(shot, kMinuteUnits, c.ink) || Contains(shot, kSecondUnits, c.ink))
            << c.value << ": no glyph ink in the large row";
        ASSERT_TRUE(clock.CloseAndWait());
        // Showing the stored style stores nothing new.
        EXPECT_EQ(clock.Setting("Clock", "Display"), c.value);
    }
}

TEST(Display, LowerCaseLcdIsNoStyleAndTheValueStays) {
    ClockProcess clock("[Clock]\r\nDisplay=lcd\r\n");
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    Screenshot shot(WaitForDrawnDigits(window));
    EXPECT_EQ(shot.Pixel(119, 3), RGB(0, 0, 0));
    EXPECT_TRUE(Contains(shot, kMinuteUnits, RGB(0, 255, 0)) ||
                Contains(shot, kSecondUnits, RGB(0, 255, 0)));
    ASSERT_TRUE(clock.CloseAndWait());
    EXPECT_EQ(clock.Setting("Clock", "Display"), "lcd");
}

TEST(Display, TheSecondsMoveBetweenTwoScreenshots) {
    ClockProcess clock;
    ASSERT_TRUE(clock.Start());
    HWND window = clock.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    RECT panel = WaitForDrawnDigits(window);
    ASSERT_NE(panel.right, 0);
    Screenshot first(panel);
    EXPECT_TRUE(WaitUntil([&] { return !SameArea(first, Screenshot(panel), kSeconds); }, 5000))
        << "the seconds stood still";
    ASSERT_TRUE(clock.CloseAndWait());
}

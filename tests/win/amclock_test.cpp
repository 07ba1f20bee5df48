// The analog clock control: ticks driven directly with a set time, the real
// timer where the thread matters, and the painted pixels.
#include "analogclock/amclock.h"
#include "analogclock/hand_geometry_rules.h"
#include "pump.h"
#include "toolkit/application.h"
#include "toolkit/bitmap.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// Counts the paints of a clock window by standing in front of its procedure.
int g_paints = 0;
WNDPROC g_clockProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        ++g_paints;
    }
    return CallWindowProcW(g_clockProc, window, message, wParam, lParam);
}

// A 47 x 47 face as the main window uses: grey, with a black twelve o'clock
// bar (x 22-24, y 0-3) and a three o'clock bar (x 43-46, y 22-24).
HBITMAP MakeMiniFace() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 47, 47);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH grey = CreateSolidBrush(RGB(0x80, 0x80, 0x80));
    RECT all{0, 0, 47, 47};
    FillRect(dc, &all, grey);
    DeleteObject(grey);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    RECT twelve{22, 0, 25, 4};
    RECT three{43, 22, 47, 25};
    FillRect(dc, &twelve, black);
    FillRect(dc, &three, black);
    DeleteObject(black);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// The clock's frame as WM_PRINTCLIENT paints it, read back pixel by pixel.
class Frame {
  public:
    explicit Frame(TAMClock& clock) : width_(clock.Width()), height_(clock.Height()) {
        void* bits = nullptr;
        UniqueBitmap bitmap = CreateBitmap32(width_, height_, &bits);
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectGuard selected(dc.get(), bitmap.get());
        SendMessageW(clock.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()),
                     PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(pixels, pixels + width_ * height_);
    }
    COLORREF At(int x, int y) const {
        std::uint32_t p = pixels_.at(static_cast<std::size_t>(y * width_ + x));
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The colours alone, as OnScreen gives them.
    std::vector<std::uint32_t> Pixels() const {
        std::vector<std::uint32_t> colours = pixels_;
        for (std::uint32_t& p : colours) {
            p &= 0x00FFFFFF;
        }
        return colours;
    }

  private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

// What the clock's window shows now, copied from its DC.
std::vector<std::uint32_t> OnScreen(TAMClock& clock) {
    const int width = clock.Width();
    const int height = clock.Height();
    void* bits = nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    UniqueBitmap bitmap = CreateBitmap32(width, height, &bits);
    {
        SelectGuard select(dc.get(), bitmap.get());
        WindowDc window(clock.Handle());
        BitBlt(dc.get(), 0, 0, width, height, window.get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> copy(pixels, pixels + width * height);
    // The top byte is not part of the colour.
    for (std::uint32_t& p : copy) {
        p &= 0x00FFFFFF;
    }
    return copy;
}

class AMClockTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    void SetUp() override {
        ASSERT_NE(panel, nullptr);
        seams::SetClockForTest([this] { return now; });
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            messageBoxes.push_back(call);
            return IDOK;
        });
    }
    void TearDown() override { clock.reset(); }

    // One panel for all tests: taking a shown top-level window down again
    // costs Wine seconds without a window manager.
    static void SetUpTestSuite() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PanelProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AMClockTestPanel";
        RegisterClassW(&windowClass);
        panel = CreateWindowExW(0, L"AMClockTestPanel", L"", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(panel);
        panel = nullptr;
    }

    void SetTime(int hour, int minute, int second) {
        now.hour = hour;
        now.minute = minute;
        now.second = second;
    }

    // Logs every event of the clock in the order raised.
    void Log() {
        clock->OnSecond = [this](TAMClock* sender, std::uint16_t value) {
            EXPECT_EQ(sender, clock.get());
            log.push_back("second " + std::to_string(value));
        };
        clock->OnMinute = [this](TAMClock*, std::uint16_t value) {
            log.push_back("minute " + std::to_string(value));
        };
        clock->OnHour = [this](TAMClock*, std::uint16_t value) {
            log.push_back("hour " + std::to_string(value));
        };
        clock->OnTimer = [this](TAMClock*) { log.push_back("timer"); };
    }

    // A loaded clock on its own timer, every `interval` ms, whose every time
    // reading is one second on; `seconds` counts its OnSecond events.
    void RunSecondBySecond(int interval) {
        clock = std::make_unique<TAMClock>(panel);
        clock->Loaded();
        clock->SetInterval(interval);
        seams::SetClockForTest([this] {
            now.second = (now.second + 1) % 60;
            return now;
        });
        clock->OnSecond = [this](TAMClock*, std::uint16_t) { ++seconds; };
    }

    // The main window's instance.
    void MakeMiniClock() {
        clock = std::make_unique<TAMClock>(panel, 2, 2, 47, 47);
        clock->SetAutoCenter(false);
        clock->Center().SetX(23);
        clock->Center().SetY(23);
        clock->HoursHand().SetBackRadius(0);
        clock->HoursHand().SetColor(clBlack);
        clock->HoursHand().SetRadius(12);
        clock->MinutesHand().SetRadius(17);
        clock->SecondsHand().SetBackRadius(0);
        clock->SecondsHand().SetRadius(19);
        clock->SecondsHand().SetWidth(1);
        clock->SetTransparentColor(clGray);
        HBITMAP face = MakeMiniFace();
        clock->SetPicture(face);
        DeleteObject(face); // the clock keeps its own copy
        clock->Loaded();
    }

    LocalTime now{2024, 5, 17, 10, 20, 30, 0};
    static HWND panel;
    std::unique_ptr<TAMClock> clock;
    std::vector<std::string> log;
    std::vector<seams::MessageBoxCall> messageBoxes;
    int seconds = 0;
};

HWND AMClockTest::panel = nullptr;

TEST_F(AMClockTest, Defaults) {
    clock = std::make_unique<TAMClock>(panel);
    EXPECT_EQ(clock->Width(), 100);
    EXPECT_EQ(clock->Height(), 100);
    EXPECT_TRUE(clock->AutoCenter());
    EXPECT_EQ(clock->Center().X(), 50);
    EXPECT_EQ(clock->Center().Y(), 50);
    EXPECT_EQ(clock->Interval(), 0); // on the second
    EXPECT_EQ(clock->Priority(), TThreadPriority::tpNormal);
    EXPECT_FALSE(clock->Interactive());
    EXPECT_TRUE(clock->Transparent());
    EXPECT_EQ(clock->TransparentColor(), clOlive);
    EXPECT_TRUE(clock->ParentColor());
    // The default face is the program's SAMPLECLOCK bitmap when it is there;
    // loading it does not resize the control.
    const bool hasFace = FindResourceW(nullptr, L"SAMPLECLOCK", MAKEINTRESOURCEW(2)) != nullptr;
    EXPECT_EQ(clock->Picture() != nullptr, hasFace);

    struct Expected {
        THand& hand;
        int backRadius;
        TColor color;
        int radius;
        int width;
    } hands[] = {{clock->SecondsHand(), 10, clRed, 48, 1},
                 {clock->MinutesHand(), 0, clBlack, 43, 2},
                 {clock->HoursHand(), 0, clBlack, 33, 2}};
    for (const Expected& e : hands) {
        EXPECT_EQ(e.hand.BackRadius(), e.backRadius);
        EXPECT_EQ(e.hand.Color(), e.color);
        EXPECT_EQ(e.hand.Radius(), e.radius);
        EXPECT_EQ(e.hand.Width(), e.width);
        EXPECT_EQ(e.hand.Clock(), clock.get());
    }
    EXPECT_EQ(clock->Hour() + clock->Minute() + clock->Second(), 0);
}

TEST_F(AMClockTest, LoadedAnnouncesNothingForTheCurrentTime) {
    clock = std::make_unique<TAMClock>(panel);
    Log();
    SetTime(10, 20, 30);
    clock->Loaded();
    clock->ClockTick();
    EXPECT_EQ(log, (std::vector<std::string>{"timer"}));
    SetTime(10, 20, 31);
    clock->ClockTick();
    SetTime(10, 21, 0);
    clock->ClockTick();
    EXPECT_EQ(log, (std::vector<std::string>{"timer", "second 31", "timer", "second 0", "minute 21",
                                             "timer"}));
    EXPECT_EQ(clock->Hour(), 10);
    EXPECT_EQ(clock->Minute(), 21);
    EXPECT_EQ(clock->Second(), 0);
}

TEST_F(AMClockTest, MidnightRaisesSecondMinuteHourTimerAfterTheRepaint) {
    clock = std::make_unique<TAMClock>(panel);
    SetTime(23, 59, 59);
    clock->Loaded();
    clock->ClockTick(); // the hands show 23:59:59
    Log();
    bool shownBeforeEvents = false;
    clock->OnSecond = [&](TAMClock*, std::uint16_t value) {
        shownBeforeEvents = OnScreen(*clock) == Frame(*clock).Pixels();
        log.push_back("second " + std::to_string(value));
    };
    SetTime(0, 0, 0);
    const std::vector<std::uint32_t> before = OnScreen(*clock);
    clock->ClockTick();
    // The hands of midnight were on the window before any event ran.
    EXPECT_NE(OnScreen(*clock), before);
    EXPECT_TRUE(shownBeforeEvents);
    EXPECT_EQ(clock->Hour() + clock->Minute() + clock->Second(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"second 0", "minute 0", "hour 0", "timer"}));
}

TEST_F(AMClockTest, ATickDrawsOnlyWhenTheHandsMove) {
    clock = std::make_unique<TAMClock>(panel);
    SetTime(10, 20, 30);
    clock->Loaded();
    clock->ClockTick();
    // A mark on the window stays until the clock draws over it.
    auto mark = [this] {
        WindowDc dc(clock->Handle());
        UniqueBrush magenta(CreateSolidBrush(RGB(0xFF, 0, 0xFF)));
        RECT all{0, 0, clock->Width(), clock->Height()};
        FillRect(dc.get(), &all, magenta.get());
    };
    auto marked = [this] {
        const std::vector<std::uint32_t> screen = OnScreen(*clock);
        return std::count(screen.begin(), screen.end(), 0xFF00FFu) ==
               static_cast<std::ptrdiff_t>(screen.size());
    };
    mark();
    ASSERT_TRUE(marked());
    clock->ClockTick();
    EXPECT_TRUE(marked());
    SetTime(10, 20, 31);
    clock->ClockTick();
    EXPECT_FALSE(marked());
    EXPECT_EQ(OnScreen(*clock), Frame(*clock).Pixels());
    clock->SetVisible(false);
    SetTime(10, 20, 32);
    clock->ClockTick();
    EXPECT_EQ(clock->Second(), 32);
    clock->SetVisible(true);
    EXPECT_EQ(OnScreen(*clock), Frame(*clock).Pixels());
}

TEST_F(AMClockTest, TimeSetBackRaisesTheEarlierMinute) {
    clock = std::make_unique<TAMClock>(panel);
    SetTime(12, 31, 10);
    clock->Loaded();
    Log();
    SetTime(12, 30, 10);
    clock->ClockTick();
    EXPECT_EQ(log, (std::vector<std::string>{"minute 30", "timer"}));
}

TEST_F(AMClockTest, AHandlerMayDestroyTheClock) {
    clock = std::make_unique<TAMClock>(panel);
    SetTime(23, 59, 59);
    clock->Loaded();
    Log();
    clock->OnSecond = [&](TAMClock*, std::uint16_t) {
        log.push_back("second");
        clock.reset();
    };
    SetTime(0, 0, 0);
    clock->ClockTick();
    EXPECT_EQ(log, (std::vector<std::string>{"second"}));
}

TEST_F(AMClockTest, HiddenClockKeepsTickingDisabledOneDoesNot) {
    RunSecondBySecond(40);
    clock->SetVisible(false);
    EXPECT_FALSE(clock->Visible());
    EXPECT_TRUE(PumpUntil([&] { return seconds >= 3; }, 3000));

    clock->SetEnabled(false);
    EXPECT_FALSE(clock->Enabled());
    const int stoppedAt = seconds;
    PumpFor(250);
    EXPECT_EQ(seconds, stoppedAt);

    clock->SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return seconds > stoppedAt; }, 2000));
}

TEST_F(AMClockTest, AFrameThatCannotBeDrawnIsSkippedAndTheTicksGoOn) {
    RunSecondBySecond(30);
    // No bitmap of 3.6 GB can be made for the frame.
    clock->SetBounds(0, 0, 30000, 30000);
    EXPECT_TRUE(PumpUntil([&] { return seconds >= 3; }, 3000));
}

TEST_F(AMClockTest, SettersDoNothingForTheValueAlreadyHeld) {
    clock = std::make_unique<TAMClock>(panel);
    clock->Loaded();
    g_clockProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(clock->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    g_paints = 0;
    clock->SetInterval(0);
    clock->SetAutoCenter(true);
    clock->SetTransparentColor(clOlive);
    clock->SetTransparent(true);
    clock->SecondsHand().SetRadius(48);
    clock->SecondsHand().SetColor(clRed);
    clock->MinutesHand().SetWidth(2);
    clock->HoursHand().SetBackRadius(0);
    clock->SetPriority(TThreadPriority::tpNormal);
    EXPECT_EQ(g_paints, 0);

    clock->SetInterval(100);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(clock->Interval(), 100);
    clock->SecondsHand().SetRadius(40);
    EXPECT_EQ(g_paints, 2);
    clock->HoursHand().SetColor(clAqua);
    EXPECT_EQ(g_paints, 3);
    clock->SetPriority(TThreadPriority::tpLower);
    EXPECT_EQ(g_paints, 3); // passed on to the timer, no repaint
    EXPECT_EQ(clock->Priority(), TThreadPriority::tpLower);
}

TEST_F(AMClockTest, SettingTheCentreSwitchesAutoCenterOffAndBackOnRecentres) {
    clock = std::make_unique<TAMClock>(panel, 0, 0, 81, 61);
    clock->Loaded();
    EXPECT_EQ(clock->Center().X(), 40);
    EXPECT_EQ(clock->Center().Y(), 30);
    // Even the value it already holds switches AutoCenter off.
    clock->Center().SetX(40);
    EXPECT_FALSE(clock->AutoCenter());
    clock->Center().SetY(5);
    EXPECT_EQ(clock->Center().Y(), 5);
    EXPECT_FALSE(clock->AutoCenter());
    clock->SetAutoCenter(true);
    EXPECT_TRUE(clock->AutoCenter());
    EXPECT_EQ(clock->Center().X(), 40);
    EXPECT_EQ(clock->Center().Y(), 30);
    // A later resize does not move the centre.
    clock->SetBounds(0, 0, 120, 120);
    EXPECT_EQ(clock->Center().X(), 40);
}

TEST_F(AMClockTest, APictureResizesTheControlAndRecentres) {
    clock = std::make_unique<TAMClock>(panel);
    clock->Loaded();
    HBITMAP face = MakeMiniFace();
    clock->SetPicture(face);
    DeleteObject(face);
    EXPECT_NE(clock->Picture(), nullptr);
    EXPECT_EQ(clock->Width(), 47);
    EXPECT_EQ(clock->Height(), 47);
    EXPECT_EQ(clock->Center().X(), 23);
    EXPECT_EQ(clock->Center().Y(), 23);
    EXPECT_TRUE(clock->Transparent());
}

TEST_F(AMClockTest, TransparentTakesTheCornerColourAndNoColourLeavesItAlone) {
    clock = std::make_unique<TAMClock>(panel);
    clock->SetPicture(nullptr);
    EXPECT_EQ(clock->Picture(), nullptr);
    EXPECT_EQ(clock->Width(), 100);
    // Without a bitmap Transparent cannot change.
    const bool before = clock->Transparent();
    clock->SetTransparent(!before);
    EXPECT_EQ(clock->Transparent(), before);

    HBITMAP face = MakeMiniFace();
    clock->SetPicture(face);
    DeleteObject(face);
    clock->SetTransparentColor(clWhite); // switches it on
    EXPECT_TRUE(clock->Transparent());
    clock->SetTransparent(false);
    EXPECT_FALSE(clock->Transparent());
    EXPECT_EQ(clock->TransparentColor(), clGray); // the bottom-left pixel
    clock->SetTransparentColor(clNone);
    EXPECT_FALSE(clock->Transparent());
    clock->SetTransparentColor(clOlive);
    EXPECT_TRUE(clock->Transparent());
    clock->SetTransparentColor(clNone);
    EXPECT_TRUE(clock->Transparent());
}

TEST_F(AMClockTest, PaintsHandsOverTheFaceWithThePanelColourShowingThrough) {
    MakeMiniClock();
    const TColor panelColour = 0x00C08040;
    clock->ParentColorChanged(panelColour);
    clock->SecondsHand().SetColor(0xFF0000); // blue, to tell it from the others
    SetTime(9, 0, 15);
    clock->ClockTick();
    Frame frame(*clock);
    const COLORREF blue = RGB(0, 0, 0xFF);
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF panel = RGB(0x40, 0x80, 0xC0);

    // The second hand at a quarter past: every pixel of its line but the end.
    for (ClockPoint p : LinePixels({23, 23}, {42, 23})) {
        EXPECT_EQ(frame.At(p.x, p.y), blue) << p.x;
    }
    EXPECT_EQ(frame.At(42, 23), panel);
    // Minute hand up, hour hand towards nine.
    EXPECT_EQ(frame.At(23, 12), black);
    EXPECT_EQ(frame.At(14, 23), black);
    // The marks show unchanged, the grey ground shows the panel.
    EXPECT_EQ(frame.At(23, 1), black);
    EXPECT_EQ(frame.At(45, 23), black);
    EXPECT_EQ(frame.At(40, 40), panel);
    EXPECT_EQ(frame.At(0, 46), panel);

    // The ground under the face follows a new panel colour at once.
    clock->ParentColorChanged(0x00102030);
    Frame recoloured(*clock);
    EXPECT_EQ(recoloured.At(40, 40), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(recoloured.At(23, 1), black);

    clock->SetTransparent(false);
    Frame opaque(*clock);
    EXPECT_EQ(opaque.At(40, 40), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(opaque.At(23, 1), black);
}

TEST_F(AMClockTest, BeforeTheFirstTickAllHandsPointToTwelve) {
    clock = std::make_unique<TAMClock>(panel);
    clock->SetPicture(nullptr);
    clock->SetColor(clWhite);
    EXPECT_FALSE(clock->ParentColor());
    clock->Loaded();
    Frame frame(*clock);
    // No face: background and hands only. Hands go up from (50, 50); the
    // second hand's tail goes 10 down.
    EXPECT_EQ(frame.At(50, 10), RGB(0xFF, 0, 0));
    EXPECT_EQ(frame.At(50, 58), RGB(0xFF, 0, 0));
    EXPECT_EQ(frame.At(50, 61), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(frame.At(10, 90), RGB(0xFF, 0xFF, 0xFF));
    // The parent's colour no longer applies.
    clock->ParentColorChanged(clBlack);
    EXPECT_EQ(clock->Color(), clWhite);
}

TEST_F(AMClockTest, InteractivePressMovesTheCentre) {
    clock = std::make_unique<TAMClock>(panel);
    clock->Loaded();
    std::vector<std::string> mouse;
    clock->OnMouseDown = [&](TAMClock*, TMouseButton button, unsigned, int x, int y) {
        mouse.push_back("down " + std::to_string(static_cast<int>(button)) + " " +
                        std::to_string(x) + "," + std::to_string(y));
    };
    clock->OnMouseUp = [&](TAMClock*, TMouseButton, unsigned, int, int) { mouse.push_back("up"); };
    clock->OnClick = [&](TAMClock*) { mouse.push_back("click"); };

    SendMessageW(clock->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12));
    SendMessageW(clock->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 12));
    EXPECT_EQ(clock->Center().X(), 50);
    EXPECT_TRUE(clock->AutoCenter());

    clock->SetInteractive(true);
    SendMessageW(clock->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 12));
    SendMessageW(clock->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 12));
    EXPECT_EQ(clock->Center().X(), 10);
    EXPECT_EQ(clock->Center().Y(), 12);
    EXPECT_FALSE(clock->AutoCenter());
    EXPECT_EQ(mouse, (std::vector<std::string>{"down 0 10,12", "click", "up", "down 0 10,12",
                                               "click", "up"}));
}

TEST_F(AMClockTest, AFailingMouseHandlerGoesToTheErrorReport) {
    clock = std::make_unique<TAMClock>(panel);
    int doubleClicks = 0;
    clock->OnDBlClick = [&](TAMClock*) {
        ++doubleClicks;
        throw std::runtime_error("Dialog fehlt");
    };
    SendMessageW(clock->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(doubleClicks, 1);
    ASSERT_EQ(messageBoxes.size(), 1u);
    EXPECT_EQ(messageBoxes[0].text, "Dialog fehlt");
    EXPECT_EQ(messageBoxes[0].caption, "Tikkora");
    EXPECT_EQ(messageBoxes[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    ReleaseCapture();
}

} // namespace

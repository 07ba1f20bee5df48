// The clock window's styles in this process: the layouts, the order in which
// the handlers store their settings, the taskbar style against a taskbar made
// here, and the timer and taskbar-hiding components under them.
#include "alarm/form2.h"
#include "analogclock/amclock.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/form1.h"
#include "app/main_window_probe.h"
#include "app/window_styles.h"
#include "controls/explbtn.h"
#include "controls/notask.h"
#include "toolkit/panel.h"
#include "pump.h"
#include "settings/program_objects.h"
#include "temp_folder.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A taskbar with a clock area of the given client size, topmost so that it
// is found before any taskbar of the system.
class FakeTray {
  public:
    FakeTray(int width, int height) {
        Register(L"Shell_TrayWnd");
        Register(L"TrayNotifyWnd");
        Register(L"TrayClockWClass");
        HINSTANCE instance = GetModuleHandleW(nullptr);
        tray = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"",
                               WS_POPUP | WS_VISIBLE, 0, 728, 1024, 40, nullptr, nullptr, instance,
                               nullptr);
        notify = CreateWindowExW(0, L"TrayNotifyWnd", L"", WS_CHILD | WS_VISIBLE, 724, 0, 300, 40,
                                 tray, nullptr, instance, nullptr);
        clock = CreateWindowExW(0, L"TrayClockWClass", L"", WS_CHILD | WS_VISIBLE, 200, 2, width,
                                height, notify, nullptr, instance, nullptr);
    }
    ~FakeTray() { DestroyWindow(tray); }
    FakeTray(const FakeTray&) = delete;
    FakeTray& operator=(const FakeTray&) = delete;

    void Resize(int width, int height) {
        SetWindowPos(clock, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }

    HWND tray = nullptr;
    HWND notify = nullptr;
    HWND clock = nullptr;

  private:
    static void Register(const wchar_t* name) {
        WNDCLASSW windowClass{};
        if (GetClassInfoW(GetModuleHandleW(nullptr), name, &windowClass)) {
            return;
        }
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = name;
        RegisterClassW(&windowClass);
    }
};

// True when the system offers a taskbar clock of its own (then the tests of a
// system without one cannot run here).
bool SystemHasTrayClock() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", L"");
    HWND notify = tray ? FindWindowExW(tray, nullptr, L"TrayNotifyWnd", L"") : nullptr;
    return notify && FindWindowExW(notify, nullptr, L"TrayClockWClass", nullptr);
}

// The panel's own visibility, whether or not the form is shown.
bool Shown(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The (Analog, Style) pair as the file holds it, recorded whenever the window
// sees a message, so that the order of writes inside one handler shows.
class SettingsRecorder {
  public:
    explicit SettingsRecorder(std::string path) : path_(std::move(path)) {
        current_ = this;
        Take();
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    }
    ~SettingsRecorder() {
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    const std::vector<std::string>& States() {
        Take();
        return states_;
    }

  private:
    void Take() {
        std::string state = Read("Analog") + "/" + Read("Style");
        if (states_.empty() || states_.back() != state) {
            states_.push_back(state);
        }
    }
    std::string Read(const char* key) const {
        char value[64];
        GetPrivateProfileStringA("Clock", key, "-", value, sizeof value, path_.c_str());
        return value;
    }
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (current_) {
            current_->Take();
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline SettingsRecorder* current_ = nullptr;
    std::string path_;
    HHOOK hook_ = nullptr;
    std::vector<std::string> states_;
};

// Dark pixels (the black segments of the plain LCD style) on the screen
// inside a window's client rectangle, right and bottom exclusive.
int DarkPixelsOnScreen(HWND window, int left, int top, int right, int bottom) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            COLORREF c = GetPixel(screen, origin.x + x, origin.y + y);
            if (c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 150) {
                ++count;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    return count;
}

} // namespace

class WindowStyleTest : public testing::Test {
  protected:
    seams::TestSeams seams_;
    void SetUp() override {
        seams::SetProgramFilePathForTest(folder.File("Tikkora.exe"));
        seams::SetHelpHandlerForTest([](const seams::HelpCall&) { return true; });
        seams::SetMessageBoxResponderForTest([this](const seams::MessageBoxCall& call) {
            boxes.push_back(call);
            return IDOK;
        });
    }
    void TearDown() override { form.reset(); }
    TForm1& Create(const std::string& settings = "") {
        if (!settings.empty()) {
            folder.Write("Tikkora.ini", settings);
        }
        form = std::make_unique<TForm1>(*Application);
        form->CreateHandle();
        return *form;
    }
    TMainWindowProbe Probe() const { return TMainWindowProbe(*form); }
    std::string Setting(const char* key) const {
        char value[64];
        GetPrivateProfileStringA("Clock", key, "<none>", value, sizeof value,
                                 folder.File("Tikkora.ini").c_str());
        return value;
    }

    TempFolder folder;
    std::unique_ptr<TForm1> form;
    std::vector<seams::MessageBoxCall> boxes;
};

TEST_F(WindowStyleTest, StoredStyleAndAnalogModeGiveTheirLayout) {
    struct Case {
        const char* style;
        const char* analog;
        SIZE window;
        bool largeRow;     // shown
        int largeRowWidth; // when shown
        bool digits;       // of the large row
        bool clock;
        RECT smallRow; // left, top, right, bottom
        int menuButtonTop;
        int dateTop;
    } cases[] = {
        {"Standard", "0", {154, 69}, true, 123, true, false, {20, 39, 76, 56}, 46, 34},
        {"Standard", "1", {154, 69}, true, 123, false, true, {85, 9, 141, 26}, 46, 30},
        {"Mini", "0", {85, 32}, false, 0, true, false, {20, 4, 76, 23}, 12, 34},
        // Entered with the clock already on: the small row keeps its place outside the window.
        {"Mini", "1", {82, 69}, true, 52, false, true, {85, 12, 141, 29}, 46, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.style) + " analog " + c.analog);
        Create(std::string("[Clock]\r\nStyle=") + c.style + "\r\nAnalog=" + c.analog + "\r\n");
        SIZE size = Probe().OuterSize();
        EXPECT_EQ(size.cx, c.window.cx);
        EXPECT_EQ(size.cy, c.window.cy);
        EXPECT_EQ(Probe().Shown(ClockRow::Large), c.largeRow);
        if (c.largeRow) {
            RECT large = Probe().Place(ClockRow::Large);
            EXPECT_EQ(large.right - large.left, c.largeRowWidth);
        }
        EXPECT_EQ(Probe().CellsShown(ClockRow::Large), c.digits ? "11111111" : "00000000");
        EXPECT_EQ(Probe().Shown(ClockRow::AnalogClock), c.clock);
        EXPECT_TRUE(Probe().Shown(ClockRow::Small));
        RECT small = Probe().Place(ClockRow::Small);
        EXPECT_EQ(small.left, c.smallRow.left);
        EXPECT_EQ(small.top, c.smallRow.top);
        EXPECT_EQ(small.right, c.smallRow.right);
        EXPECT_EQ(small.bottom, c.smallRow.bottom);
        EXPECT_EQ(Probe().Place(ClockRow::MenuButton).top, c.menuButtonTop);
        EXPECT_EQ(Probe().Place(ClockRow::Date).top, c.dateTop);
        EXPECT_EQ(Probe().CellsShown(ClockRow::Small), "11111111");
        EXPECT_EQ(Probe().CellPlace(ClockRow::Small, 2).top, 4);
        EXPECT_EQ(Probe().Item("Standard").Checked(), std::string(c.style) == "Standard");
        EXPECT_EQ(Probe().Item("&Mini").Checked(), std::string(c.style) == "Mini");
        EXPECT_EQ(Probe().Item("&Analoguhr").Checked(), std::string(c.analog) == "1");
        EXPECT_TRUE(Probe().Item("&Analoguhr").Enabled);
        EXPECT_EQ(Setting("Style"), c.style);
        EXPECT_FALSE(Probe().TaskbarWatch());
        form.reset();
    }
}

TEST_F(WindowStyleTest, MissingStyleEndsInTheStandardStyleAndUnknownStylesApplyNone) {
    Create();
    EXPECT_TRUE(Probe().Item("Standard").Checked());
    EXPECT_EQ(Setting("Style"), "Standard");
    EXPECT_EQ(Setting("Analog"), "0");
    form.reset();

    TForm1& odd = Create("[Clock]\r\nStyle=Gross\r\nUhrposX=40\r\nUhrposY=30\r\n");
    EXPECT_FALSE(Probe().Item("Standard").Checked() || Probe().Item("&Mini").Checked() ||
                 Probe().Item("In die &Taskleiste").Checked());
    RECT client;
    GetClientRect(odd.Handle(), &client);
    EXPECT_EQ(client.right, 638);
    // No style handler places it: start-up does, at the stored place.
    EXPECT_EQ(odd.Left(), 40);
    EXPECT_EQ(odd.Top(), 30);
    EXPECT_EQ(Setting("Style"), "Gross");
    form.reset();

    Create("[Clock]\r\nStyle=mINI\r\n");
    EXPECT_TRUE(Probe().Item("&Mini").Checked());
    EXPECT_EQ(Setting("Style"), "Mini");
}

TEST_F(WindowStyleTest, AnalogClockInTheMiniStyleChangesTheWindowSize) {
    Create("[Clock]\r\nStyle=Mini\r\nAnalog=0\r\n");
    Probe().Choose("Analoguhr");
    EXPECT_FALSE(Probe().Shown(ClockRow::Small));
    EXPECT_TRUE(Probe().Shown(ClockRow::AnalogClock));
    SIZE on = Probe().OuterSize();
    EXPECT_EQ(on.cx, 82);
    EXPECT_EQ(on.cy, 69);
    EXPECT_EQ(Setting("Analog"), "1");
    EXPECT_EQ(Setting("Style"), "Mini");

    Probe().Choose("Analoguhr");
    EXPECT_TRUE(Probe().Shown(ClockRow::Small));
    EXPECT_FALSE(Probe().Shown(ClockRow::AnalogClock));
    SIZE off = Probe().OuterSize();
    EXPECT_EQ(off.cx, 85);
    EXPECT_EQ(off.cy, 32);
    EXPECT_EQ(Setting("Analog"), "0");
}

TEST_F(WindowStyleTest, AnalogClockSwitchedOnInTheStandardStyleMovesTheAlarmLineBesideIt) {
    Create("[Clock]\r\nStyle=Standard\r\nAnalog=0\r\n");
    Probe().Choose("Analoguhr");
    RECT small = Probe().Place(ClockRow::Small);
    EXPECT_EQ(small.left, 85);
    EXPECT_EQ(small.top, 12);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Large), "00000000");
    EXPECT_EQ(Probe().Place(ClockRow::Date).top, 30);
    Probe().Choose("Analoguhr");
    small = Probe().Place(ClockRow::Small);
    EXPECT_EQ(small.left, 20);
    EXPECT_EQ(small.top, 39);
    EXPECT_EQ(small.bottom - small.top, 17);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Large), "11111111");
    EXPECT_EQ(Probe().Place(ClockRow::Date).top, 34);
}

TEST_F(WindowStyleTest, TheStoredPlaceCountsAtTheStartAndBetweenDesktopStylesTheWindowStays) {
    TForm1& window = Create("[Clock]\r\nStyle=Mini\r\nUhrposX=400\r\nUhrposY=300\r\n");
    EXPECT_EQ(window.Left(), 400);
    EXPECT_EQ(window.Top(), 300);
    window.Show();
    Probe().Choose("Standard");
    // The grip's sixth dot, half inside what the mini window showed, is drawn whole.
    auto dot = [&] {
        POINT at{5, 25};
        ClientToScreen(window.Handle(), &at);
        HDC screen = GetDC(nullptr);
        const COLORREF pixel = GetPixel(screen, at.x, at.y);
        ReleaseDC(nullptr, screen);
        return pixel;
    };
    EXPECT_TRUE(PumpUntil([&] { return dot() == GetSysColor(COLOR_BTNHIGHLIGHT); }, 5000));
    window.SetPosition(500, 400); // dragged
    for (const char* style : {"Mini", "Standard"}) {
        Probe().Choose(style);
        EXPECT_EQ(window.Left(), 500);
        EXPECT_EQ(window.Top(), 400);
    }
}

TEST_F(WindowStyleTest, StoredPlaceBeyondTheScreenEndsFlushWithTheEdgeForTheNewSize) {
    TForm1& window = Create("[Clock]\r\nStyle=Mini\r\nUhrposX=5000\r\nUhrposY=5000\r\n");
    EXPECT_EQ(window.Left(), GetSystemMetrics(SM_CXSCREEN) - 85);
    EXPECT_EQ(window.Top(), GetSystemMetrics(SM_CYSCREEN) - 32);
}

TEST_F(WindowStyleTest, EnteringTheTaskbarFromStandardAnalogStoresAnalogThenMiniThenTaskbar) {
    FakeTray tray(62, 30);

    Create("[Clock]\r\nStyle=Standard\r\nAnalog=1\r\nUhrposX=300\r\nUhrposY=200\r\n");
    ASSERT_TRUE(Probe().Shown(ClockRow::AnalogClock));
    SettingsRecorder recorder(folder.File("Tikkora.ini"));
    Probe().Choose("In die Taskleiste");
    const std::vector<std::string> expected = {"1/Standard", "0/Standard", "0/Mini", "0/Taskbar"};
    EXPECT_EQ(recorder.States(), expected);
    EXPECT_FALSE(Probe().Item("&Analoguhr").Checked());
    EXPECT_FALSE(Probe().Item("&Analoguhr").Enabled);
    EXPECT_FALSE(Probe().Shown(ClockRow::AnalogClock));
    EXPECT_TRUE(Probe().Item("In die &Taskleiste").Checked());
    EXPECT_FALSE(Probe().Item("&Mini").Checked());
    EXPECT_EQ(Setting("UhrposX"), "300");
    EXPECT_EQ(Setting("UhrposY"), "200");
    EXPECT_TRUE(boxes.empty());
}

TEST_F(WindowStyleTest, TaskbarStyleFillsTheTrayClockAndFollowsItsWidth) {
    FakeTray tray(62, 30);
    TForm1& window = Create("[Clock]\r\nStyle=Mini\r\nStatus=Top\r\n");
    Probe().Choose("In die Taskleiste");
    HWND handle = window.Handle();
    ASSERT_EQ(GetAncestor(handle, GA_PARENT), tray.clock);
    LONG style = GetWindowLongW(handle, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_BORDER | WS_SYSMENU | WS_POPUP));
    EXPECT_FALSE(GetWindowLongW(handle, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_TOPMOST));
    EXPECT_TRUE(Shown(handle));
    EXPECT_EQ(Probe().TaskbarWatch(), 100u);
    // Entered at the full size of the area; the first tick takes one pixel off.
    EXPECT_EQ(window.Left(), 0);
    EXPECT_EQ(window.Top(), 0);
    EXPECT_EQ(window.Width(), 62);
    EXPECT_EQ(window.Height(), 30);
    Probe().TaskbarTick();
    EXPECT_EQ(window.Width(), 62);
    EXPECT_EQ(window.Height(), 29);
    RECT row = Probe().Place(ClockRow::Small);
    EXPECT_EQ(row.left, 0);
    EXPECT_EQ(row.top, 0);
    EXPECT_EQ(row.right, 62);
    EXPECT_EQ(row.bottom, 29);
    EXPECT_FALSE(Probe().Shown(ClockRow::Large));
    EXPECT_EQ(Probe().CellPlace(ClockRow::Small, 2).top, 29 / 2 - 5);
    EXPECT_EQ(Probe().CellPlace(ClockRow::Small, 7).top, 29 / 2 - 5);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Small), "11111111");

    tray.Resize(50, 30);
    Probe().TaskbarTick();
    EXPECT_EQ(window.Width(), 50);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Small), "11111000");

    tray.Resize(51, 40);
    Probe().TaskbarTick();
    EXPECT_EQ(window.Width(), 51);
    EXPECT_EQ(window.Height(), 39);
    EXPECT_EQ(Probe().CellPlace(ClockRow::Small, 2).top, 39 / 2 - 5);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Small), "11111111");

    // The timer itself does the same within a few ticks.
    tray.Resize(45, 40);
    PumpUntil([&] { return window.Width() == 45; }, 5000);
    EXPECT_EQ(window.Width(), 45);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Small), "11111000");
}

TEST_F(WindowStyleTest, TaskbarStyleDrawsTheTimeAndTheSecondsOnlyInAWideArea) {
    FakeTray tray(62, 30);
    TForm1& window = Create("[Clock]\r\nStyle=Taskbar\r\nDisplay=LCD\r\n");
    ASSERT_EQ(GetAncestor(window.Handle(), GA_PARENT), tray.clock);
    Probe().TaskbarTick();
    int top = 29 / 2 - 5;
    auto dark = [&](int left, int right) {
        return DarkPixelsOnScreen(window.Handle(), left, top, right, top + 9);
    };
    PumpUntil([&] { return dark(6, 34) > 20 && dark(38, 50) > 0; }, 5000);
    EXPECT_GT(DarkPixelsOnScreen(window.Handle(), 6, top, 34, top + 9), 20) << "hours, minutes";
    EXPECT_GT(DarkPixelsOnScreen(window.Handle(), 38, top, 50, top + 9), 0) << "seconds";

    tray.Resize(50, 30);
    Probe().TaskbarTick();
    PumpUntil([&] { return dark(6, 34) > 20 && dark(35, 50) == 0; }, 5000);
    EXPECT_GT(DarkPixelsOnScreen(window.Handle(), 6, top, 34, top + 9), 20) << "hours, minutes";
    EXPECT_EQ(DarkPixelsOnScreen(window.Handle(), 35, top, 50, top + 9), 0) << "no seconds";
}

TEST_F(WindowStyleTest, LeavingTheTaskbarRestoresTheStoredPlaceFrameAndOwner) {
    FakeTray tray(62, 30);
    TForm1& window = Create("[Clock]\r\nStyle=Standard\r\nUhrposX=300\r\nUhrposY=200\r\n");
    Probe().Choose("In die Taskleiste");
    ASSERT_EQ(GetAncestor(window.Handle(), GA_PARENT), tray.clock);
    // Closing or moving in the taskbar leaves the stored place alone.
    WritePrivateProfileStringA("Clock", "UhrposX", "310", folder.File("Tikkora.ini").c_str());

    Probe().Choose("Standard");
    HWND handle = window.Handle();
    EXPECT_EQ(GetAncestor(handle, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindow(handle, GW_OWNER), Application->Handle());
    LONG style = GetWindowLongW(handle, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CHILD | WS_BORDER | WS_SYSMENU | WS_DLGFRAME),
              WS_POPUP | WS_BORDER | WS_SYSMENU);
    EXPECT_TRUE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    // "Status" defaults to on top, and the desktop styles put it back.
    EXPECT_TRUE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT r;
    GetWindowRect(handle, &r);
    EXPECT_EQ(r.left, 310);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 154);
    EXPECT_EQ(r.bottom - r.top, 69);
    EXPECT_FALSE(Probe().TaskbarWatch());
    EXPECT_TRUE(Probe().Item("&Analoguhr").Enabled);
    EXPECT_EQ(Probe().CellsShown(ClockRow::Small), "11111111");
    EXPECT_EQ(Probe().CellPlace(ClockRow::Small, 7).top, 4);
    RECT row = Probe().Place(ClockRow::Small);
    EXPECT_EQ(row.right - row.left, 56);
    EXPECT_EQ(Setting("Style"), "Standard");
}

TEST_F(WindowStyleTest, StartInTheTaskbarStyleEntersItAgain) {
    FakeTray tray(70, 24);
    TForm1& window = Create("[Clock]\r\nStyle=Taskbar\r\nUhrposX=120\r\nUhrposY=80\r\n");
    EXPECT_TRUE(Probe().Item("In die &Taskleiste").Checked());
    EXPECT_EQ(GetAncestor(window.Handle(), GA_PARENT), tray.clock);
    EXPECT_EQ(Setting("Style"), "Taskbar");
    // The place it had as a mini window on the way in.
    EXPECT_EQ(Setting("UhrposX"), "120");
    EXPECT_EQ(Setting("UhrposY"), "80");
    // Closing in the taskbar keeps that place.
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Setting("UhrposX"), "120");
    EXPECT_EQ(Setting("Style"), "Taskbar");
}

TEST_F(WindowStyleTest, WithoutATrayClockTheChoiceIsRefusedAndNothingChanges) {
    if (SystemHasTrayClock()) {
        GTEST_SKIP() << "this system's taskbar has a clock area";
    }
    TForm1& window =
        Create("[Clock]\r\nStyle=Standard\r\nAnalog=1\r\nUhrposX=300\r\nUhrposY=200\r\n");
    window.Show();
    const std::string before = folder.Read("Tikkora.ini");
    RECT placeBefore;
    GetWindowRect(window.Handle(), &placeBefore);
    LONG styleBefore = GetWindowLongW(window.Handle(), GWL_STYLE);

    Probe().Item("In die &Taskleiste").Click();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Tikkora");
    EXPECT_EQ(boxes[0].text, "Die Uhr kann auf diesem System nicht in die Taskleiste gesetzt "
                             "werden, weil die Taskleiste keinen Uhrbereich hat.");
    EXPECT_EQ(boxes[0].owner, window.Handle());
    EXPECT_EQ(folder.Read("Tikkora.ini"), before);
    EXPECT_TRUE(Probe().Item("Standard").Checked());
    EXPECT_FALSE(Probe().Item("In die &Taskleiste").Checked());
    EXPECT_TRUE(Probe().Item("&Analoguhr").Checked());
    EXPECT_TRUE(Probe().Item("&Analoguhr").Enabled);
    EXPECT_TRUE(Probe().Shown(ClockRow::AnalogClock));
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
    EXPECT_EQ(GetAncestor(window.Handle(), GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(GetWindowLongW(window.Handle(), GWL_STYLE), styleBefore);
    RECT placeAfter;
    GetWindowRect(window.Handle(), &placeAfter);
    EXPECT_TRUE(EqualRect(&placeBefore, &placeAfter));
    EXPECT_FALSE(Probe().TaskbarWatch());
}

TEST_F(WindowStyleTest, StartInTheTaskbarStyleWithoutATrayClockWaitsAsAMiniWindow) {
    if (SystemHasTrayClock()) {
        GTEST_SKIP() << "this system's taskbar has a clock area";
    }
    TForm1& window = Create("[Clock]\r\nStyle=Taskbar\r\nUhrposX=300\r\nUhrposY=200\r\n");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Probe().Item("In die &Taskleiste").Checked());
    EXPECT_EQ(Setting("Style"), "Taskbar");
    EXPECT_EQ(GetAncestor(window.Handle(), GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(window.Left(), 300);
    EXPECT_EQ(window.Top(), 200);
    EXPECT_EQ(Probe().OuterSize().cx, 85);
    EXPECT_TRUE(Probe().TaskbarWatch());
}

// The taskbar closes (the shell restarts) and comes back: the clock waits as
// a mini window and returns; the user's choice stays in the file throughout.
TEST_F(WindowStyleTest, TaskbarThatGoesAwayAndComesBackTakesTheClockBack) {
    std::vector<seams::SoundCall> sounds;
    auto recorder = [&](const seams::SoundCall& call) { sounds.push_back(call); };
    seams::SetSoundRecorderForTest(recorder);
    for (bool destroyedAlong : {false, true}) {
        SCOPED_TRACE(destroyedAlong ? "window destroyed with the taskbar" : "window left over");
        auto tray = std::make_unique<FakeTray>(62, 30);
        TForm1& window = Create("[Clock]\r\nStyle=Standard\r\nUhrposX=300\r\nUhrposY=200\r\n");
        Probe().Choose("In die Taskleiste");
        ASSERT_EQ(GetAncestor(window.Handle(), GA_PARENT), tray->clock);
        if (!destroyedAlong) {
            // As a taskbar of another process would leave it.
            SetParent(window.Handle(), nullptr);
        }
        tray.reset();
        EXPECT_EQ(window.Handle() == nullptr, destroyedAlong);
        Probe().TaskbarTick();
        ASSERT_NE(window.Handle(), nullptr);
        EXPECT_TRUE(IsWindowVisible(window.Handle()));
        EXPECT_EQ(GetAncestor(window.Handle(), GA_PARENT), GetDesktopWindow());
        EXPECT_EQ(window.Left(), 300);
        EXPECT_EQ(window.Top(), 200);
        EXPECT_TRUE(Probe().Item("In die &Taskleiste").Checked());
        EXPECT_EQ(Setting("Style"), "Taskbar");
        EXPECT_TRUE(Probe().TaskbarWatch());
        Probe().TaskbarTick(); // nothing to find yet
        EXPECT_EQ(Setting("Style"), "Taskbar");

        FakeTray back(70, 24);
        Probe().TaskbarTick();
        EXPECT_EQ(GetAncestor(window.Handle(), GA_PARENT), back.clock);
        EXPECT_EQ(Setting("Style"), "Taskbar");
        // Taken out before its taskbar goes, so the next round starts afresh.
        form.reset();
    }
    EXPECT_TRUE(sounds.empty()) << "a beep when the window was made anew";
}

TEST_F(WindowStyleTest, AlarmBoxInTheTaskbarLeavesTheTaskbarAloneAndTheDialogShut) {
    FakeTray tray(62, 30);
    TForm1& window = Create("[Clock]\r\nStyle=Standard\r\n[Wecker]\r\nStunde=12\r\nMinute=00\r\n"
                            "Aktiv=1\r\nMeldung=Mittag\r\n");
    TForm2 dialog(*Application, window.LinksForAlarmDialog());
    dialog.CreateHandle();
    Probe().Choose("In die Taskleiste");
    seams::SetClockForTest([] { return LocalTime{2024, 3, 1, 12, 0, 0, 0}; });
    seams::SetSoundRecorderForTest([](const seams::SoundCall&) {});
    bool dialogOpened = false;
    seams::SetMessageBoxResponderForTest([&](const seams::MessageBoxCall& call) {
        boxes.push_back(call);
        // A double click on the clock while the box is open.
        SendMessageW(Probe().Window(ClockRow::Small), WM_LBUTTONDBLCLK, 0, 0);
        dialogOpened = dialogOpened || dialog.Visible();
        return IDOK;
    });
    Probe().Tick();
    Application->ProcessMessages();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Mittag");
    EXPECT_EQ(boxes[0].owner, Application->Handle());
    EXPECT_FALSE(dialogOpened);
    EXPECT_FALSE(dialog.Visible());
}

// The window a menu reports to while it opens, where it opened, and the menu closed again.
HWND menuOwnerSeen = nullptr;
RECT menuPlace{};
LRESULT CALLBACK NoteMenuOwner(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        menuOwnerSeen = call->hwnd;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    GetWindowRect(FindWindowW(L"#32768", nullptr), &menuPlace);
    EndMenu();
}

TEST_F(WindowStyleTest, TheMenuInTheTaskbarOpensOwnedByTheClockBesideIt) {
    FakeTray tray(62, 30);
    TForm1& window = Create("[Clock]\r\nStyle=Taskbar\r\n");
    ASSERT_EQ(GetAncestor(window.Handle(), GA_PARENT), tray.clock);
    const HHOOK hook =
        SetWindowsHookExW(WH_CALLWNDPROC, NoteMenuOwner, nullptr, GetCurrentThreadId());
    HWND button = Probe().MenuButton();
    // The button pressed and right-clicked, Shift+F10 on the clock.
    const std::pair<HWND, UINT> cases[] = {
        {button, WM_LBUTTONDOWN}, {button, WM_CONTEXTMENU}, {window.Handle(), WM_CONTEXTMENU}};
    for (auto [target, message] : cases) {
        SCOPED_TRACE(target == button ? "button" : "clock");
        menuOwnerSeen = nullptr;
        menuPlace = {};
        SetTimer(nullptr, 0, 100, CloseMenu);
        SendMessageW(target, message, 0, message == WM_CONTEXTMENU ? -1 : MAKELPARAM(3, 3));
        EXPECT_EQ(menuOwnerSeen, window.Handle()) << "not the taskbar's window";
        RECT clicked;
        GetWindowRect(target, &clicked);
        EXPECT_GE(menuPlace.right, clicked.left) << "not at the taskbar's clock";
        EXPECT_GE(menuPlace.bottom, clicked.top) << "not at the taskbar's clock";
    }
    UnhookWindowsHookEx(hook);
}

TEST_F(WindowStyleTest, AlwaysOnTopTogglesAndIsStored) {
    TForm1& window = Create("[Clock]\r\nStatus=Top\r\n");
    HWND handle = window.Handle();
    ASSERT_TRUE(Probe().Item("&Immer im Vordergrund").Checked());
    Probe().Choose("Immer im Vordergrund");
    EXPECT_FALSE(Probe().Item("&Immer im Vordergrund").Checked());
    EXPECT_FALSE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Setting("Status"), "Back");
    EXPECT_EQ(GetWindow(handle, GW_OWNER), Application->Handle());
    // Going on top again does nothing while the stored state says "Back".
    form->topset();
    EXPECT_FALSE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);

    Probe().Choose("Immer im Vordergrund");
    EXPECT_TRUE(Probe().Item("&Immer im Vordergrund").Checked());
    EXPECT_TRUE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Setting("Status"), "Top");
}

TEST_F(WindowStyleTest, AlwaysOnTopInTheTaskbarIsStoredAndAppliedOnLeaving) {
    FakeTray tray(62, 30);
    TForm1& window = Create("[Clock]\r\nStatus=Back\r\nUhrposX=300\r\nUhrposY=200\r\n");
    Probe().Choose("In die Taskleiste");
    Probe().Choose("Immer im Vordergrund");
    EXPECT_EQ(Setting("Status"), "Top");
    EXPECT_EQ(GetAncestor(window.Handle(), GA_PARENT), tray.clock);
    Probe().Choose("Mini");
    EXPECT_TRUE(GetWindowLongW(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(WindowStyleTest, TheTaskbarClockTakesTheScaleOfTheTaskbarsMonitorNotOfItsLastScreen) {
    FakeTray tray(100, 30);
    TForm1& window = Create("[Clock]\r\nStyle=Mini\r\nUhrposX=300\r\nUhrposY=200\r\n");
    // Dragged onto a 192-DPI monitor first; the taskbar lies on this 96-DPI one.
    RECT suggested{300, 200, 470, 264};
    SendMessageW(window.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    auto cellHeight = [&] {
        const RECT cell = Probe().CellPlace(ClockRow::Small, 3);
        return cell.bottom - cell.top;
    };
    ASSERT_EQ(cellHeight(), 18);
    Probe().Choose("In die Taskleiste");
    EXPECT_EQ(cellHeight(), 9) << "entered";
    Probe().TaskbarTick();
    EXPECT_EQ(cellHeight(), 9) << "fitted";
    // Back on the desktop, where it came from.
    Probe().Choose("Mini");
    EXPECT_EQ(cellHeight(), 18);
}

TEST_F(WindowStyleTest, InTheTaskbarBoxesBelongToTheApplicationWindowAndTheSessionEndReachesIt) {
    FakeTray tray(62, 30);
    Create("[Clock]\r\nStyle=Taskbar\r\n");
    seams::SetHtmlHelpHandlerForTest([](const HtmlHelpRequest&) { return false; });
    const std::function<void()> cases[] = {
        [&] { Probe().Choose("Online-U&pdate"); },
        [&] { Probe().Choose("&Hilfethehmen"); },
        // Chosen again when the taskbar has no clock area any more.
        [&] { ShowWindow(tray.clock, SW_HIDE), Probe().Choose("In die Taskleiste"); },
        // Told to top-level windows only, of which the clock is none here.
        [&] { SendMessageW(Application->Handle(), WM_ENDSESSION, TRUE, 0); },
    };
    for (const auto& act : cases) {
        act();
    }
    ASSERT_EQ(boxes.size(), 3u);
    for (const auto& box : boxes) {
        EXPECT_EQ(box.owner, Application->Handle()) << box.text;
    }
    EXPECT_EQ(SettingsFile, nullptr) << "not closed at the session's end";
}

// ---- TNoTask ----

class NoTaskTest : public testing::Test {
  protected:
    void TearDown() override { ShowWindow(Application->Handle(), SW_HIDE); }
};

namespace {
class PlainForm : public TForm {
  public:
    explicit PlainForm(TApplication& application)
        : TForm(application, FormDesign{L"TNoTaskTestForm", "", 10, 10, 100, 50,
                                        TBorderStyle::Dialog, false, false, false}) {}
    int shows = 0;

  protected:
    void FormShow() override {
        // The application window is already hidden when the form hears of the showing.
        if (!IsWindowVisible(Application->Handle())) {
            ++shows;
        }
    }
};
} // namespace

TEST_F(NoTaskTest, ShowingTheOwnerHidesTheApplicationWindowFirst) {
    PlainForm owner(*Application);
    owner.CreateHandle();
    TNoTask noTask(&owner);
    noTask.Loaded();
    EXPECT_TRUE(noTask.HideForm());
    ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
    ASSERT_TRUE(IsWindowVisible(Application->Handle()));
    owner.Show();
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    EXPECT_EQ(owner.shows, 1);
    // Every showing, not only the first.
    owner.Hide();
    ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
    owner.Show();
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    EXPECT_EQ(owner.shows, 2);
}

TEST_F(NoTaskTest, HideFormFalseShowsTheApplicationWindowAndTrueHidesItAgain) {
    PlainForm owner(*Application);
    owner.CreateHandle();
    TNoTask noTask(&owner);
    noTask.SetHideForm(false);
    EXPECT_TRUE(IsWindowVisible(Application->Handle()));
    noTask.SetHideForm(true);
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    noTask.SetHideForm(true);
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
    // HideForm False: showing the owner leaves it shown.
    noTask.SetHideForm(false);
    owner.Show();
    EXPECT_TRUE(IsWindowVisible(Application->Handle()));
}

TEST_F(NoTaskTest, TheFirstWindowOfThisProgramWithTheTitleIsTheOneHidden) {
    PlainForm owner(*Application);
    owner.CreateHandle();
    TNoTask noTask(&owner);
    // Made after the application window, so it comes first in the window list.
    HWND other = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Tikkora", WS_POPUP | WS_VISIBLE, 0,
                                 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(TNoTask::ApplicationWindow(), other);
    noTask.SetHideForm(true);
    EXPECT_FALSE(IsWindowVisible(other));
    DestroyWindow(other);
    EXPECT_EQ(TNoTask::ApplicationWindow(), Application->Handle());
}

TEST_F(NoTaskTest, DestroyingTheComponentUnhooksIt) {
    PlainForm owner(*Application);
    owner.CreateHandle();
    { TNoTask noTask(&owner); }
    // Unhooked: showing no longer hides the application window.
    ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
    owner.Show();
    EXPECT_TRUE(IsWindowVisible(Application->Handle()));
}

TEST_F(NoTaskTest, TheClockWindowCarriesOneWithTheDefaults) {
    seams::TestSeams seams;
    TempFolder folder;
    seams::SetProgramFilePathForTest(folder.File("Tikkora.exe"));
    TForm1 window(*Application);
    window.CreateHandle();
    EXPECT_TRUE(TMainWindowProbe(window).HiddenFromTaskbar());
    ShowWindow(Application->Handle(), SW_SHOWNOACTIVATE);
    window.Show();
    EXPECT_FALSE(IsWindowVisible(Application->Handle()));
}

// ---- TTimer ----

TEST(TimerComponent, TicksOnlyWhileEnabledAndAtTheInterval) {
    TTimer timer(30, false);
    int ticks = 0;
    timer.OnTimer = [&](TTimer* sender) {
        EXPECT_EQ(sender, &timer);
        ++ticks;
    };
    PumpFor(150);
    EXPECT_EQ(ticks, 0);
    EXPECT_FALSE(timer.Running());

    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    PumpUntil([&] { return ticks >= 3; }, 5000);
    EXPECT_GE(ticks, 3);

    timer.SetEnabled(false);
    int stopped = ticks;
    PumpFor(150);
    EXPECT_EQ(ticks, stopped);

    // Interval 0 stops it while it stays enabled.
    timer.SetEnabled(true);
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    PumpFor(150);
    EXPECT_EQ(ticks, stopped);
}

TEST(TimerComponent, FailureInTheHandlerIsReportedAndTheTimerGoesOn) {
    seams::TestSeams seams;
    std::vector<std::string> reports;
    seams::SetMessageBoxResponderForTest([&](const seams::MessageBoxCall& call) {
        reports.push_back(call.text);
        return IDOK;
    });
    TTimer timer(20, true);
    int ticks = 0;
    timer.OnTimer = [&](TTimer*) {
        if (++ticks == 1) {
            throw std::runtime_error("Fehler im Takt");
        }
    };
    PumpUntil([&] { return ticks >= 3; }, 5000);
    EXPECT_GE(ticks, 3);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Fehler im Takt");
}

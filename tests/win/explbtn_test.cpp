// The drop-down menu button and the gradient fill in this process: what they
// paint in each state, the menu dropped below the button, the radio groups.
#include "controls/explbtn.h"
#include "controls/gradient_fill.h"
#include "toolkit/menu.h"
#include "toolkit/window.h"

#include "printed.h"
#include "window_search.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <vector>

namespace {

// A top-level window that holds the controls under test.
class Host : public TWindow {
  public:
    Host() {
        CreateWindowHandle({L"TikkoraTestHost", 0, true, false, nullptr}, L"Host",
                           WS_POPUP | WS_VISIBLE, 0, {100, 100, 200, 120}, nullptr);
    }
    // Prints the gradient the way an owner form paints it.
    TGradientFill* gradient = nullptr;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PRINTCLIENT) {
            RECT all{0, 0, 200, 120};
            FillRect(reinterpret_cast<HDC>(wParam), &all, GetSysColorBrush(COLOR_BTNFACE));
            if (gradient) {
                gradient->Paint(reinterpret_cast<HDC>(wParam));
            }
            return 0;
        }
        return DefaultHandler(message, wParam, lParam);
    }
};

// Records where the open menu appears and how the button looks meanwhile,
// then closes the menu.
struct MenuWatch {
    static inline MenuWatch* current = nullptr;
    TExplorerButton* button = nullptr;
    bool seen = false;
    RECT menu{};
    bool pressedWhileOpen = false;
    // (10,5) is on the pressed mark's top row only; (4,4) on the resting one's only.
    COLORREF shiftedRowWhileOpen = 0;
    COLORREF restingRowWhileOpen = 0;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuWatch& watch = *current;
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow) || watch.seen) {
            return;
        }
        watch.seen = true;
        GetWindowRect(menuWindow, &watch.menu);
        watch.pressedWhileOpen = watch.button->Pressed();
        const Printed shot(watch.button->Handle(), 14, 10);
        watch.shiftedRowWhileOpen = shot.At(10, 5);
        watch.restingRowWhileOpen = shot.At(4, 4);
        EndMenu();
    }
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);

// Chooses the open menu's first item, as a user would with the keys.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND open = FindWindowW(L"#32768", nullptr); open && IsWindowVisible(open)) {
        PostMessageW(open, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(open, WM_KEYDOWN, VK_RETURN, 0);
    }
}

void Press(TExplorerButton& button) {
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
}

} // namespace

TEST(ExplorerButton, MenuButtonShowsTheMarkAndDropsItsMenuBelowItself) {
    Host host;
    SetForegroundWindow(host.Handle());
    TPopupMenu menu;
    TMenuItem item{"&Wecker..."};
    menu.Items.Add(item);
    TExplorerButton button(host.Handle(), 1, 46, 14, 10);
    button.SetAlignment(TAlignment::taRightJustify);
    button.SetDropDownMenu(&menu);
    button.PopupMenu = &menu;
    button.SetOptions(boMonoDisplay | boPopupMark);
    int clicks = 0;
    button.OnClick = [&clicks](TExplorerButton*) { ++clicks; };

    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Printed normal(button.Handle(), 14, 10);
    // Rows 4 to 7 from x = 4: 7, 5, 3 and 1 pixels.
    const int rows[][2] = {{4, 7}, {5, 5}, {6, 3}, {7, 1}};
    for (int row = 0; row < 4; ++row) {
        const int y = rows[row][0], length = rows[row][1];
        for (int x = 0; x < 14; ++x) {
            const bool mark = x >= 4 + row && x < 4 + row + length;
            EXPECT_EQ(normal.At(x, y), mark ? text : face) << x << "," << y;
        }
    }
    EXPECT_EQ(normal.Count(text), 16);

    // Under the mouse: the raised bevel.
    SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(GetActiveWindow(), host.Handle());
    EXPECT_TRUE(button.MouseInside());
    const Printed hot(button.Handle(), 14, 10);
    EXPECT_EQ(hot.At(0, 5), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(hot.At(6, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(hot.At(13, 5), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(hot.At(6, 9), GetSysColor(COLOR_BTNSHADOW));

    // The left button drops the menu with its corner at the button's lower left.
    MenuWatch watch;
    watch.button = &button;
    MenuWatch::current = &watch;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, MenuWatch::Tick);
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KillTimer(nullptr, timer);
    ASSERT_TRUE(watch.seen);
    POINT corner{0, 10};
    ClientToScreen(button.Handle(), &corner);
    EXPECT_EQ(watch.menu.left, corner.x);
    EXPECT_EQ(watch.menu.top, corner.y);
    // Pressed while open: the mark's top row moved one pixel right and down.
    EXPECT_TRUE(watch.pressedWhileOpen);
    EXPECT_EQ(watch.shiftedRowWhileOpen, text);
    EXPECT_EQ(watch.restingRowWhileOpen, face);
    EXPECT_FALSE(button.Pressed());
    SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(clicks, 0);
}

// A command of the dropped menu that ends the program (the clock's "Uhr
// schließen") leaves the end in the queue for the message loop.
TEST(ExplorerButton, AMenuCommandThatEndsTheProgramIsNotSwallowed) {
    Host host;
    SetForegroundWindow(host.Handle());
    TPopupMenu menu;
    TMenuItem close{"Uhr &schließen"};
    close.OnClick = [](TMenuItem*) { PostQuitMessage(7); };
    menu.Items.Add(close);
    TExplorerButton button(host.Handle(), 1, 46, 14, 10);
    button.SetDropDownMenu(&menu);
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ChooseFirstItem);
    SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KillTimer(nullptr, timer);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST(ExplorerButton, GroupsToggleLikeRadioButtons) {
    Host host;
    std::vector<std::unique_ptr<TExplorerButton>> group;
    for (int i = 0; i < 3; ++i) {
        group.push_back(std::make_unique<TExplorerButton>(host.Handle(), i * 50, 0));
    }
    TExplorerButton plain(host.Handle(), 150, 0);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down()) << "GroupIndex 0 has no down state";
    int clicks = 0;
    plain.OnClick = [&clicks](TExplorerButton*) { ++clicks; };
    Press(plain);
    EXPECT_EQ(clicks, 1);

    for (auto& button : group) {
        button->SetGroupIndex(1);
    }
    group[0]->SetDown(true);
    Press(*group[1]);
    EXPECT_FALSE(group[0]->Down());
    EXPECT_TRUE(group[1]->Down());
    Press(*group[1]);
    EXPECT_TRUE(group[1]->Down()) << "stays down without AllowAllUp";
    group[0]->SetAllowAllUp(true); // copied to the whole group
    EXPECT_TRUE(group[2]->AllowAllUp());
    Press(*group[1]);
    EXPECT_FALSE(group[1]->Down());
    group[2]->SetDown(true);
    group[2]->SetGroupIndex(0);
    EXPECT_FALSE(group[2]->Down());
}

// The tooltip owned by a window (a child's tooltip is owned by its top-level window), or null.
HWND HintWindowOf(HWND owner) {
    return FindThreadWindow(GetCurrentThreadId(), [&](HWND window) {
        return GetWindow(window, GW_OWNER) == owner && HasClass(window, TOOLTIPS_CLASSW);
    });
}

TEST(ExplorerButton, TheHintWindowIsMadeWhenTheMouseFirstComesOver) {
    Host host;
    TExplorerButton button(host.Handle(), 0, 0);
    button.SetHint("Optionen");
    button.SetShowHint(true);
    EXPECT_EQ(HintWindowOf(host.Handle()), nullptr);
    SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    ReleaseCapture();
    HWND hint = HintWindowOf(host.Handle());
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(SendMessageW(hint, TTM_GETTOOLCOUNT, 0, 0), 1);
}

TEST(ExplorerButton, TransparentColourNeverShowsAndIconOnlyMakesTheHint) {
    Host host;
    SetForegroundWindow(host.Handle());
    TBitmap picture;
    picture.SetSize(16, 16);
    RECT all{0, 0, 16, 16}, inner{4, 4, 12, 12};
    UniqueBrush magenta(CreateSolidBrush(kMagenta)), red(CreateSolidBrush(RGB(200, 0, 0)));
    FillRect(picture.Canvas(), &all, magenta.get());
    FillRect(picture.Canvas(), &inner, red.get());

    TExplorerButton button(host.Handle(), 0, 0);
    button.SetCaption("Suchen && &Ersetzen");
    button.SetOptions(boMonoDisplay | boIconOnly);
    EXPECT_EQ(button.Hint(), "Suchen & Ersetzen");
    EXPECT_TRUE(button.ShowHint());
    button.SetBitmap(picture);
    button.SetGroupIndex(2);

    struct State {
        const char* name;
        std::function<void()> enter;
    } states[] = {
        {"normal, grey", [] {}},
        {"hot", [&] { SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)); }},
        {"pressed",
         [&] { SendMessageW(button.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }},
        {"down", [&] { SendMessageW(button.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }},
        {"disabled, embossed", [&] { button.SetEnabled(false); }},
    };
    for (const State& state : states) {
        state.enter();
        const Printed shot(button.Handle(), 50, 40);
        EXPECT_EQ(shot.Count(kMagenta), 0) << state.name;
    }
    EXPECT_TRUE(button.Down());
    // Grey while away: the red square (sum 200) is button shadow with stMedium.
    button.SetEnabled(true);
    button.SetDown(false);
    ReleaseCapture();
    SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
    EXPECT_FALSE(button.MouseInside());
    EXPECT_EQ(Printed(button.Handle(), 50, 40).Count(GetSysColor(COLOR_BTNSHADOW)), 64);
}

TEST(GradientFill, PaintsItsBandsIntoItsRectangleOnTheOwnersDc) {
    Host host;
    TGradientFill fill(host.Handle());
    host.gradient = &fill;
    fill.SetBounds(10, 20, 30, 40);
    fill.SetBeginColor(kSystemColorFlag | COLOR_WINDOW);
    fill.SetEndColor(0x0000FF);
    fill.SetFillDirection(TFillDirection::fdBottomToTop);
    fill.SetNumberOfColors(300);
    EXPECT_EQ(fill.NumberOfColors(), 255);
    fill.SetNumberOfColors(2);
    const Printed shot(host.Handle(), 200, 120);
    EXPECT_EQ(shot.At(10, 20), RGB(255, 0, 0));
    EXPECT_EQ(shot.At(39, 39), RGB(255, 0, 0));
    EXPECT_EQ(shot.At(10, 40), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(shot.At(39, 59), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(shot.At(9, 30), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(shot.At(40, 30), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(shot.At(20, 60), GetSysColor(COLOR_BTNFACE));

    bool pressed = false;
    fill.OnMouseDown = [&pressed](TGradientFill*, UINT, POINT at) {
        pressed = at.x == 5 && at.y == 6;
    };
    EXPECT_FALSE(fill.MouseDown(WM_LBUTTONDOWN, POINT{9, 26}));
    EXPECT_TRUE(fill.MouseDown(WM_LBUTTONDOWN, POINT{15, 26}));
    EXPECT_TRUE(pressed);
    host.gradient = nullptr;
}

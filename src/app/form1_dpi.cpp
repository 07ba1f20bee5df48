// The clock window on screens denser than 96 DPI: the whole layout drawn
// larger by a whole-number factor, and laid out again when the window moves
// to a monitor of another DPI.
#include "analogclock/hand_geometry_rules.h"
#include "app/form1.h"
#include "rules/dpi_scale.h"

#include <vector>

namespace {

// The analog clock's hands on the 47 × 47 face of a 96-DPI screen.
constexpr ClockPoint kClockPivot{23, 23};
constexpr int kHoursHandRadius = 12;
constexpr int kMinutesHandRadius = 17;
constexpr int kSecondsHandRadius = 19;
constexpr int kHoursHandWidth = 2;
constexpr int kMinutesHandWidth = 2;
constexpr int kSecondsHandWidth = 1;

BOOL CALLBACK AddDescendant(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Every window inside the form, parents before their children.
std::vector<HWND> Descendants(HWND form) {
    std::vector<HWND> windows;
    EnumChildWindows(form, AddDescendant, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

} // namespace

void TForm1::ScaleClockHands(int factor) {
    const ClockPoint pivot = ScaledPivot(kClockPivot, factor);
    AMClock1->Center().SetX(pivot.x);
    AMClock1->Center().SetY(pivot.y);
    AMClock1->HoursHand().SetRadius(Scaled(kHoursHandRadius, factor));
    AMClock1->MinutesHand().SetRadius(Scaled(kMinutesHandRadius, factor));
    AMClock1->SecondsHand().SetRadius(Scaled(kSecondsHandRadius, factor));
    AMClock1->HoursHand().SetWidth(Scaled(kHoursHandWidth, factor));
    AMClock1->MinutesHand().SetWidth(Scaled(kMinutesHandWidth, factor));
    AMClock1->SecondsHand().SetWidth(Scaled(kSecondsHandWidth, factor));
}

void TForm1::RescaleLayout(int from, int to) {
    for (HWND window : Descendants(Handle())) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(window, nullptr, Rescaled(r.left, from, to), Rescaled(r.top, from, to),
                     Rescaled(r.right - r.left, from, to), Rescaled(r.bottom - r.top, from, to),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (TPanel* panel : {Panel1.get(), Panel2.get(), Panel3.get(), Panel4.get()}) {
        panel->SetBevelWidth(to);
    }
    ExplorerButton1->SetScale(to);
    SetDisplayScale(to);
    ScaleClockHands(to);
    // The new strips and faces into the emptied cells and the clock.
    LCD1Click(nullptr);
    InvalidateRect(Handle(), nullptr, TRUE);
}

// The clock window on screens denser than 96 DPI: the whole layout drawn
// larger by a whole-number factor, and laid out again when the window moves
// to a monitor of another DPI.
#include "analogclock/hand_geometry_rules.h"
#include "app/form1.h"

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

void TForm1::ScaleClockHands(Scale scale) {
    const ClockPoint pivot = ScaledPivot(kClockPivot, scale.Factor());
    AMClock1->Center().SetX(pivot.x);
    AMClock1->Center().SetY(pivot.y);
    AMClock1->HoursHand().SetRadius(scale(kHoursHandRadius));
    AMClock1->MinutesHand().SetRadius(scale(kMinutesHandRadius));
    AMClock1->SecondsHand().SetRadius(scale(kSecondsHandRadius));
    AMClock1->HoursHand().SetWidth(scale(kHoursHandWidth));
    AMClock1->MinutesHand().SetWidth(scale(kMinutesHandWidth));
    AMClock1->SecondsHand().SetWidth(scale(kSecondsHandWidth));
}

void TForm1::RescaleLayout(Scale from, Scale to) {
    for (HWND window : Descendants(Handle())) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
        const RECT design{from.Unscaled(r.left), from.Unscaled(r.top), from.Unscaled(r.right),
                          from.Unscaled(r.bottom)};
        const RECT place = to(design);
        SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (TPanel* panel : {Panel1.get(), Panel2.get(), Panel3.get(), Panel4.get()}) {
        panel->SetBevelWidth(to.Factor());
    }
    ExplorerButton1->SetScale(to.Factor());
    SetDisplayScale(to);
    ScaleClockHands(to);
    // The new strips and faces into the emptied cells and the clock.
    LCD1Click(nullptr);
    InvalidateRect(Handle(), nullptr, TRUE);
}

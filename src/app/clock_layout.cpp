#include "app/clock_layout.h"

#include "analogclock/amclock.h"
#include "analogclock/hand_geometry_rules.h"
#include "app/clock_display.h"
#include "controls/explbtn.h"
#include "toolkit/menu.h"
#include "toolkit/panel.h"

namespace {

// The analog clock's hands on the 47 × 47 face of a 96-DPI screen.
constexpr ClockPoint kClockPivot{23, 23};
constexpr int kHoursHandRadius = 12;
constexpr int kMinutesHandRadius = 17;
constexpr int kSecondsHandRadius = 19;
constexpr int kHoursHandWidth = 2;
constexpr int kMinutesHandWidth = 2;
constexpr int kSecondsHandWidth = 1;

void SetWindowPlace(HWND window, const Place& place) {
    SetWindowPos(window, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

TClockLayout::TClockLayout(TClockDisplay& display) : display_(display) {}

TClockLayout::~TClockLayout() {
    Destroy();
}

void TClockLayout::Destroy() {
    AMClock1.reset();
    ExplorerButton1.reset();
}

void TClockLayout::CreateRows(HWND window) {
    // A window made anew starts again at the 96-DPI places with the digits.
    scale_ = Scale();
    design_ = {kLargeRow, kMenuButtonRow, kAlarmLineUnderDigits, kDateRow};

    Panel1 = std::make_unique<TPanel>(window, kLargeRow.left, kLargeRow.top, kLargeRow.width,
                                      kLargeRow.height, TBevel::Lowered);
    HWND large = Panel1->Handle();
    display_.CreateLargeCells(*Panel1);

    AMClock1 = std::make_unique<TAMClock>(large, kAnalogClock.left, kAnalogClock.top,
                                          kAnalogClock.width, kAnalogClock.height);
    AMClock1->SetAutoCenter(false);
    ScaleClockHands();
    for (THand* hand :
         {&AMClock1->HoursHand(), &AMClock1->MinutesHand(), &AMClock1->SecondsHand()}) {
        hand->SetBackRadius(0);
        hand->SetColor(clBlack);
    }
    AMClock1->SetTransparentColor(clGray);
    AMClock1->SetTransparent(true);
    AMClock1->SetVisible(false);

    Panel4 = std::make_unique<TPanel>(large, kDateRow.left, kDateRow.top, kDateRow.width,
                                      kDateRow.height, TBevel::None);
    display_.CreateDateCells(*Panel4);

    const Place& small = kAlarmLineUnderDigits;
    Panel3 = std::make_unique<TPanel>(window, small.left, small.top, small.width, small.height,
                                      TBevel::None);
    SetWindowPos(Panel3->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    display_.CreateSmallCells(*Panel3);

    display_.LoadStrips();
    AMClock1->Loaded();
}

void TClockLayout::CreateMenuButton(HWND window, TPopupMenu& menu) {
    const Place& row = kMenuButtonRow;
    Panel2 =
        std::make_unique<TPanel>(window, row.left, row.top, row.width, row.height, TBevel::None);
    ExplorerButton1 = std::make_unique<TExplorerButton>(
        Panel2->Handle(), kMenuButton.left, kMenuButton.top, kMenuButton.width, kMenuButton.height);
    ExplorerButton1->SetAlignment(TAlignment::taRightJustify);
    ExplorerButton1->AccessibleName = "Men\xC3\xBC";
    ExplorerButton1->SetDropDownMenu(&menu);
    ExplorerButton1->PopupMenu = &menu;
}

void TClockLayout::OnContextMenu(const std::function<void(int x, int y)>& show) {
    // The analog clock hands its right button to the large row; the pictures
    // have no window, so their panels take it.
    for (Row row : {Large, Small, Date}) {
        Panel(row).OnContextPopup = show;
    }
    if (ExplorerButton1) {
        ExplorerButton1->OnMenuPopup = [show](TPopupMenu&, POINT at) { show(at.x, at.y); };
    }
}

void TClockLayout::OnDoubleClick(const std::function<void()>& open) {
    for (Row row : {Large, Small, Date}) {
        Panel(row).OnDblClick = open;
    }
    AMClock1->OnDBlClick = [open](TAMClock*) { open(); };
}

TPanel& TClockLayout::Panel(Row row) const {
    switch (row) {
    case Large:
        return *Panel1;
    case Button:
        return *Panel2;
    case Small:
        return *Panel3;
    case Date:
        break;
    }
    return *Panel4;
}

Place TClockLayout::Current(Row row) const {
    const RECT b = Panel(row).Bounds();
    return Place{b.left, b.top, b.right - b.left, b.bottom - b.top};
}

void TClockLayout::Put(Row row, const Place& pixels) {
    Panel(row).SetBounds(pixels.left, pixels.top, pixels.width, pixels.height);
    design_[row] = Place{scale_.Unscaled(pixels.left), scale_.Unscaled(pixels.top),
                         scale_.Unscaled(pixels.width), scale_.Unscaled(pixels.height)};
}

void TClockLayout::Move(Row row, int left, int top) {
    const Place now = Current(row);
    Put(row, Place{left, top, now.width, now.height});
}

void TClockLayout::Resize(Row row, int width, int height) {
    const Place now = Current(row);
    Put(row, Place{now.left, now.top, width, height});
}

int TClockLayout::SmallRowWidth() const {
    return Current(Small).width;
}

int TClockLayout::SmallRowHeight() const {
    return Current(Small).height;
}

bool TClockLayout::EnterDesktop(Scale scale) {
    const bool rescaled = ScaleTo(scale);
    display_.SetSmallCellTop(scale_(kSmallCellTop));
    display_.ShowSeconds(true);
    Resize(Small, scale_(kSmallRowWidth), Current(Small).height);
    return rescaled;
}

bool TClockLayout::LayOut(ClockStyle style, bool analog, Scale scale) {
    const Scale& s = scale_;
    bool rescaled = false;
    switch (style) {
    case ClockStyle::Standard:
        rescaled = EnterDesktop(scale);
        Panel1->SetVisible(true);
        Resize(Large, s(kLargeRowWidth), Current(Large).height);
        Panel3->SetBevelInner(TBevel::None);
        if (!analog) {
            const Place row = s(kAlarmLineUnderDigits);
            Put(Small, {row.left, row.top, Current(Small).width, row.height});
        } else {
            Move(Small, s(kAlarmLineBesideClockLeft), s(kAlarmLineBesideClockTopEntered));
        }
        Panel3->SetVisible(true);
        Move(Button, Current(Button).left, s(kMenuButtonTopTall));
        break;
    case ClockStyle::Mini:
        rescaled = EnterDesktop(scale);
        if (analog) {
            Panel1->SetVisible(true);
            Resize(Large, s(kLargeRowWidthMini), Current(Large).height);
            Move(Button, Current(Button).left, s(kMenuButtonTopTall));
        } else {
            Panel3->SetVisible(true);
            Panel1->SetVisible(false);
            Panel3->SetBevelInner(TBevel::Lowered);
            const Place row = s(kMiniTimeRow);
            Put(Small, {row.left, row.top, Current(Small).width, row.height});
            Move(Button, Current(Button).left, s(kMenuButtonTopLow));
        }
        break;
    case ClockStyle::Taskbar:
        Panel3->SetVisible(true);
        Move(Small, 0, 0);
        Panel3->SetBevelInner(TBevel::None);
        rescaled = ScaleTo(scale);
        break;
    }
    return rescaled;
}

void TClockLayout::SwitchAnalog(bool analog, ClockStyle style) {
    const Scale& s = scale_;
    const bool mini = style == ClockStyle::Mini;
    display_.SetLargeDigitsVisible(!analog);
    if (!analog) {
        Panel3->SetVisible(true);
        if (!mini) {
            const Place row = s(kAlarmLineUnderDigits);
            Put(Small, {row.left, row.top, Current(Small).width, row.height});
        }
        Move(Date, Current(Date).left, s(kDateRowTopDigital));
    } else {
        if (!mini) {
            Move(Small, s(kAlarmLineBesideClockLeft), s(kAlarmLineBesideClockTopSwitched));
        } else {
            Panel3->SetVisible(false);
        }
        Move(Date, Current(Date).left, s(kDateRowTopAnalog));
    }
    AMClock1->SetVisible(analog);
}

void TClockLayout::FillTray(int areaRight, int areaBottom) {
    Put(Small, Place{0, 0, areaRight, areaBottom});
    display_.ShowSeconds(SmallRowShowsSeconds(areaRight, scale_));
}

void TClockLayout::FitToTray(const TrayFit& fit) {
    Put(Small, fit.row);
    display_.SetSmallCellTop(fit.cellTop);
    display_.ShowSeconds(fit.seconds);
}

bool TClockLayout::ScaleTo(Scale scale) {
    if (scale == scale_ || !Panel1) {
        return false;
    }
    scale_ = scale;
    for (Row row : {Large, Button, Small, Date}) {
        const Place place = scale(design_[row]);
        Panel(row).SetBounds(place.left, place.top, place.width, place.height);
        Panel(row).SetBevelWidth(scale.Factor());
    }
    SetWindowPlace(AMClock1->Handle(), scale(kAnalogClock));
    if (ExplorerButton1) {
        SetWindowPlace(ExplorerButton1->Handle(), scale(kMenuButton));
        ExplorerButton1->SetScale(scale.Factor());
    }
    display_.SetDisplayScale(scale);
    ScaleClockHands();
    return true;
}

void TClockLayout::ScaleClockHands() {
    const Scale& s = scale_;
    const ClockPoint pivot = ScaledPivot(kClockPivot, s.Factor());
    AMClock1->Center().SetX(pivot.x);
    AMClock1->Center().SetY(pivot.y);
    AMClock1->HoursHand().SetRadius(s(kHoursHandRadius));
    AMClock1->MinutesHand().SetRadius(s(kMinutesHandRadius));
    AMClock1->SecondsHand().SetRadius(s(kSecondsHandRadius));
    AMClock1->HoursHand().SetWidth(s(kHoursHandWidth));
    AMClock1->MinutesHand().SetWidth(s(kMinutesHandWidth));
    AMClock1->SecondsHand().SetWidth(s(kSecondsHandWidth));
}

void TClockLayout::Colour(COLORREF panel, COLORREF hands, HBITMAP face) {
    for (Row row : {Large, Small, Date}) {
        Panel(row).SetColor(panel);
    }
    AMClock1->ParentColorChanged(panel);
    AMClock1->HoursHand().SetColor(hands);
    AMClock1->MinutesHand().SetColor(hands);
    AMClock1->SecondsHand().SetColor(hands);
    AMClock1->SetPicture(face);
}

void TClockLayout::RepaintSmallRow() const {
    InvalidateRect(Panel3->Handle(), nullptr, FALSE);
}

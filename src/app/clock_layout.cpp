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
    analogClock_.reset();
    menuButton_.reset();
}

void TClockLayout::CreateRows(HWND window) {
    // A window made anew starts again at the 96-DPI places with the digits.
    scale_ = Scale();
    design_ = {kLargeRow, kMenuButtonRow, kAlarmLineUnderDigits, kDateRow};

    largeRow_ = std::make_unique<TPanel>(window, kLargeRow.left, kLargeRow.top, kLargeRow.width,
                                         kLargeRow.height, TBevel::Lowered);
    HWND large = largeRow_->Handle();
    display_.CreateLargeCells(*largeRow_);

    analogClock_ = std::make_unique<TAMClock>(large, kAnalogClock.left, kAnalogClock.top,
                                              kAnalogClock.width, kAnalogClock.height);
    analogClock_->SetAutoCenter(false);
    ScaleClockHands();
    for (THand* hand :
         {&analogClock_->HoursHand(), &analogClock_->MinutesHand(), &analogClock_->SecondsHand()}) {
        hand->SetBackRadius(0);
        hand->SetColor(clBlack);
    }
    analogClock_->SetTransparentColor(clGray);
    analogClock_->SetTransparent(true);
    analogClock_->SetVisible(false);

    dateRow_ = std::make_unique<TPanel>(large, kDateRow.left, kDateRow.top, kDateRow.width,
                                        kDateRow.height, TBevel::None);
    display_.CreateDateCells(*dateRow_);

    const Place& small = kAlarmLineUnderDigits;
    smallRow_ = std::make_unique<TPanel>(window, small.left, small.top, small.width, small.height,
                                         TBevel::None);
    SetWindowPos(smallRow_->Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    display_.CreateSmallCells(*smallRow_);

    display_.LoadStrips();
    analogClock_->Loaded();
}

void TClockLayout::CreateMenuButton(HWND window, TPopupMenu& menu) {
    const Place& row = kMenuButtonRow;
    buttonRow_ =
        std::make_unique<TPanel>(window, row.left, row.top, row.width, row.height, TBevel::None);
    menuButton_ =
        std::make_unique<TExplorerButton>(buttonRow_->Handle(), kMenuButton.left, kMenuButton.top,
                                          kMenuButton.width, kMenuButton.height);
    menuButton_->SetAlignment(TAlignment::taRightJustify);
    menuButton_->AccessibleName = "Men\xC3\xBC";
    menuButton_->SetDropDownMenu(&menu);
    menuButton_->PopupMenu = &menu;
}

void TClockLayout::OnContextMenu(const std::function<void(int x, int y)>& show) {
    // The analog clock hands its right button to the large row; the pictures
    // have no window, so their panels take it.
    for (Row row : {Large, Small, Date}) {
        Panel(row).OnContextPopup = show;
    }
    if (menuButton_) {
        menuButton_->OnMenuPopup = [show](TPopupMenu&, POINT at) { show(at.x, at.y); };
    }
}

void TClockLayout::OnDoubleClick(const std::function<void()>& open) {
    for (Row row : {Large, Small, Date}) {
        Panel(row).OnDblClick = open;
    }
    analogClock_->OnDBlClick = [open](TAMClock*) { open(); };
}

TPanel& TClockLayout::Panel(Row row) const {
    switch (row) {
    case Large:
        return *largeRow_;
    case Button:
        return *buttonRow_;
    case Small:
        return *smallRow_;
    case Date:
        break;
    }
    return *dateRow_;
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
        largeRow_->SetVisible(true);
        Resize(Large, s(kLargeRowWidth), Current(Large).height);
        smallRow_->SetBevelInner(TBevel::None);
        if (!analog) {
            const Place row = s(kAlarmLineUnderDigits);
            Put(Small, {row.left, row.top, Current(Small).width, row.height});
        } else {
            Move(Small, s(kAlarmLineBesideClockLeft), s(kAlarmLineBesideClockTopEntered));
        }
        smallRow_->SetVisible(true);
        Move(Button, Current(Button).left, s(kMenuButtonTopTall));
        break;
    case ClockStyle::Mini:
        rescaled = EnterDesktop(scale);
        if (analog) {
            largeRow_->SetVisible(true);
            Resize(Large, s(kLargeRowWidthMini), Current(Large).height);
            Move(Button, Current(Button).left, s(kMenuButtonTopTall));
        } else {
            smallRow_->SetVisible(true);
            largeRow_->SetVisible(false);
            smallRow_->SetBevelInner(TBevel::Lowered);
            const Place row = s(kMiniTimeRow);
            Put(Small, {row.left, row.top, Current(Small).width, row.height});
            Move(Button, Current(Button).left, s(kMenuButtonTopLow));
        }
        break;
    case ClockStyle::Taskbar:
        smallRow_->SetVisible(true);
        Move(Small, 0, 0);
        smallRow_->SetBevelInner(TBevel::None);
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
        smallRow_->SetVisible(true);
        if (!mini) {
            const Place row = s(kAlarmLineUnderDigits);
            Put(Small, {row.left, row.top, Current(Small).width, row.height});
        }
        Move(Date, Current(Date).left, s(kDateRowTopDigital));
    } else {
        if (!mini) {
            Move(Small, s(kAlarmLineBesideClockLeft), s(kAlarmLineBesideClockTopSwitched));
        } else {
            smallRow_->SetVisible(false);
        }
        Move(Date, Current(Date).left, s(kDateRowTopAnalog));
    }
    analogClock_->SetVisible(analog);
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
    if (scale == scale_ || !largeRow_) {
        return false;
    }
    scale_ = scale;
    for (Row row : {Large, Button, Small, Date}) {
        const Place place = scale(design_[row]);
        Panel(row).SetBounds(place.left, place.top, place.width, place.height);
        Panel(row).SetBevelWidth(scale.Factor());
    }
    SetWindowPlace(analogClock_->Handle(), scale(kAnalogClock));
    if (menuButton_) {
        SetWindowPlace(menuButton_->Handle(), scale(kMenuButton));
        menuButton_->SetScale(scale.Factor());
    }
    display_.SetDisplayScale(scale);
    ScaleClockHands();
    return true;
}

void TClockLayout::ScaleClockHands() {
    const Scale& s = scale_;
    const ClockPoint pivot = ScaledPivot(kClockPivot, s.Factor());
    analogClock_->Center().SetX(pivot.x);
    analogClock_->Center().SetY(pivot.y);
    analogClock_->HoursHand().SetRadius(s(kHoursHandRadius));
    analogClock_->MinutesHand().SetRadius(s(kMinutesHandRadius));
    analogClock_->SecondsHand().SetRadius(s(kSecondsHandRadius));
    analogClock_->HoursHand().SetWidth(s(kHoursHandWidth));
    analogClock_->MinutesHand().SetWidth(s(kMinutesHandWidth));
    analogClock_->SecondsHand().SetWidth(s(kSecondsHandWidth));
}

void TClockLayout::Colour(COLORREF panel, COLORREF hands, HBITMAP face) {
    for (Row row : {Large, Small, Date}) {
        Panel(row).SetColor(panel);
    }
    analogClock_->ParentColorChanged(panel);
    analogClock_->HoursHand().SetColor(hands);
    analogClock_->MinutesHand().SetColor(hands);
    analogClock_->SecondsHand().SetColor(hands);
    analogClock_->SetPicture(face);
}

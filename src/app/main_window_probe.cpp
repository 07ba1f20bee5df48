#include "app/main_window_probe.h"

#include "analogclock/amclock.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/clock_menu.h"
#include "app/form1.h"
#include "app/window_styles.h"
#include "controls/explbtn.h"
#include "controls/notask.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/string_rules.h"
#include "toolkit/timer.h"

#include <stdexcept>

std::vector<const TImage*> TMainWindowProbe::Cells(const TClockDisplay& d, ClockRow row) {
    switch (row) {
    case ClockRow::Large:
        return {d.Image1.get(), d.Image2.get(), d.Image7.get(), d.Image3.get(),
                d.Image4.get(), d.Image8.get(), d.Image5.get(), d.Image6.get()};
    case ClockRow::Small:
        return {d.Image11.get(), d.Image12.get(), d.Image9.get(),  d.Image13.get(),
                d.Image14.get(), d.Image10.get(), d.Image15.get(), d.Image16.get()};
    case ClockRow::Date:
        return {d.Image21.get(), d.Image22.get(), d.Image29.get(), d.Image23.get(),
                d.Image24.get(), d.Image30.get(), d.Image25.get(), d.Image26.get(),
                d.Image27.get(), d.Image28.get()};
    default:
        throw std::invalid_argument("no digit row");
    }
}

const TPanel* TMainWindowProbe::Panel(const TClockLayout& layout, ClockRow row) {
    switch (row) {
    case ClockRow::Large:
        return &layout.LargeRow();
    case ClockRow::Small:
        return &layout.SmallRow();
    case ClockRow::Date:
        return &layout.DateRow();
    case ClockRow::MenuButton:
        return &layout.MenuButtonRow();
    default:
        return nullptr;
    }
}

TMenuItem& TMainWindowProbe::Item(const std::string& caption) const {
    const std::string wanted = StripAccelerators(caption);
    for (TMenuItem* item : window_.menu_->PopupMenu1.Items.Items()) {
        if (StripAccelerators(item->Caption) == wanted) {
            return *item;
        }
    }
    throw std::invalid_argument("no menu item " + caption);
}

void TMainWindowProbe::Choose(const std::string& caption) const {
    Item(caption).Click();
}

TPopupMenu& TMainWindowProbe::Menu() const {
    return window_.menu_->PopupMenu1;
}

TControlPopupMenu& TMainWindowProbe::HelpMenu() const {
    return *window_.PopupMenu2;
}

void TMainWindowProbe::OpenMenu(int x, int y) const {
    window_.ShowContextMenu(x, y);
}

void TMainWindowProbe::Redraw() const {
    window_.LCD1Click(nullptr);
}

void TMainWindowProbe::Tick() const {
    window_.AMClock1Second(nullptr, 0);
}

void TMainWindowProbe::MinuteTick() const {
    window_.AMClock1Minute(nullptr, 0);
}

void TMainWindowProbe::ClockTick() const {
    window_.layout_->AnalogClock().ClockTick();
}

bool TMainWindowProbe::ClockTicking() const {
    return window_.layout_->AnalogClock().Enabled();
}

void TMainWindowProbe::WhenClockTicks(const std::function<void()>& seen) const {
    window_.layout_->AnalogClock().OnTimer = [seen](TAMClock*) { seen(); };
}

void TMainWindowProbe::UpdateTick() const {
    window_.Timer2Timer();
}

void TMainWindowProbe::TaskbarTick() const {
    window_.WindowStyles1->Timer1Timer();
}

SIZE TMainWindowProbe::OuterSize() const {
    const RECT bounds = window_.BoundsRect();
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::vector<int> TMainWindowProbe::Glyphs(ClockRow row) const {
    std::vector<int> glyphs;
    for (const TImage* cell : Cells(*window_.display_, row)) {
        glyphs.push_back(cell->HasPicture() ? cell->ShownIndex() : -1);
    }
    return glyphs;
}

std::string TMainWindowProbe::CellsShown(ClockRow row) const {
    std::string shown;
    for (const TImage* cell : Cells(*window_.display_, row)) {
        shown += cell->Visible() ? '1' : '0';
    }
    return shown;
}

RECT TMainWindowProbe::CellPlace(ClockRow row, int cell) const {
    return Cells(*window_.display_, row).at(static_cast<std::size_t>(cell))->Bounds();
}

HBITMAP TMainWindowProbe::CellPicture(ClockRow row, int cell) const {
    return Cells(*window_.display_, row).at(static_cast<std::size_t>(cell))->Picture().Handle();
}

HBITMAP TMainWindowProbe::Face() const {
    return window_.layout_->AnalogClock().Picture();
}

POINT TMainWindowProbe::ClockCentre() const {
    TAMClock& clock = window_.layout_->AnalogClock();
    return POINT{clock.Center().X(), clock.Center().Y()};
}

int TMainWindowProbe::SecondsHandRadius() const {
    return window_.layout_->AnalogClock().SecondsHand().Radius();
}

HWND TMainWindowProbe::Window(ClockRow row) const {
    const TPanel* panel = Panel(*window_.layout_, row);
    return panel ? panel->Handle() : window_.layout_->AnalogClock().Handle();
}

bool TMainWindowProbe::Shown(ClockRow row) const {
    return (GetWindowLongW(Window(row), GWL_STYLE) & WS_VISIBLE) != 0;
}

RECT TMainWindowProbe::Place(ClockRow row) const {
    if (const TPanel* panel = Panel(*window_.layout_, row)) {
        return panel->Bounds();
    }
    RECT place{};
    GetWindowRect(Window(row), &place);
    MapWindowPoints(nullptr, GetParent(Window(row)), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

COLORREF TMainWindowProbe::Colour(ClockRow row) const {
    if (const TPanel* panel = Panel(*window_.layout_, row)) {
        return panel->Color();
    }
    TAMClock& clock = window_.layout_->AnalogClock();
    const COLORREF hours = clock.HoursHand().Color();
    const bool same = clock.MinutesHand().Color() == hours && clock.SecondsHand().Color() == hours;
    return same ? hours : CLR_INVALID;
}

HWND TMainWindowProbe::MenuButton() const {
    return window_.layout_->MenuButton() ? window_.layout_->MenuButton()->Handle() : nullptr;
}

UINT TMainWindowProbe::TaskbarWatch() const {
    const TTimer& watch = window_.WindowStyles1->Timer1;
    return watch.Running() ? watch.Interval() : 0;
}

bool TMainWindowProbe::UpdateCheckOn() const {
    return window_.Timer2->Enabled();
}

UINT TMainWindowProbe::UpdateInterval() const {
    return window_.Timer2->Interval();
}

void TMainWindowProbe::SetUpdateInterval(UINT interval) const {
    window_.Timer2->SetInterval(interval);
}

bool TMainWindowProbe::HiddenFromTaskbar() const {
    return window_.NoTask1 && window_.NoTask1->HideForm();
}

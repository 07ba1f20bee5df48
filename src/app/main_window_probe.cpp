#include "app/main_window_probe.h"

#include "app/clock_menu.h"
#include "app/form1.h"
#include "app/window_styles.h"
#include "rules/display_plan.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"
#include "toolkit/string_rules.h"

#include <stdexcept>

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

std::string TMainWindowProbe::CheckedStyle() const {
    for (const DisplayStyle& style : kDisplayStyles) {
        if (const TMenuItem* item = window_.StyleItem(style.styleIndex); item->Checked()) {
            return item->Caption;
        }
    }
    return {};
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

void TMainWindowProbe::UpdateTick() const {
    window_.Timer2Timer();
}

SIZE TMainWindowProbe::OuterSize() const {
    const RECT bounds = window_.BoundsRect();
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HWND TMainWindowProbe::BoxOwner() const {
    return window_.WindowStyles1->BoxOwner();
}

TClockDisplay& TMainWindowProbe::Display() const {
    return *window_.display_;
}

TClockLayout& TMainWindowProbe::Layout() const {
    return *window_.layout_;
}

TWindowStyles& TMainWindowProbe::Styles() const {
    return *window_.WindowStyles1;
}

TTimer& TMainWindowProbe::UpdateTimer() const {
    return *window_.Timer2;
}

TNoTask* TMainWindowProbe::NoTask() const {
    return window_.NoTask1.get();
}

// The display's handlers of the main window: the display styles of the menu,
// the clock's second and minute, the alarm line and the grip dots. The
// display styles part draws and stores.
#include "analogclock/amclock.h"
#include "app/clock_layout.h"
#include "app/clock_menu.h"
#include "app/display_styles.h"
#include "app/form1.h"
#include "rules/display_plan.h"
#include "toolkit/seams.h"

#include <string>

namespace {

// A tick hands on the time it read; a redraw without a tick reads the clock.
LocalTime TimeOf(const TAMClock* sender) {
    return sender ? sender->TickTime() : seams::Now();
}

} // namespace

void TForm1::LCD1Click(TMenuItem* sender) {
    displayStyles_->Apply(sender);
}

void TForm1::AMClock1Second(TAMClock* sender, int /*second*/) {
    displayStyles_->ShowTime(TimeOf(sender));
}

void TForm1::AMClock1Minute(TAMClock* sender, int /*minute*/) {
    displayStyles_->ShowDate(TimeOf(sender));
}

void TForm1::alarmdisplay(const std::string& hour, const std::string& minute) {
    displayStyles_->ShowAlarm(hour, minute);
}

void TForm1::FormPaint(HDC dc) {
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    const Scale scale = layout_->CurrentScale();
    for (const GripSquare& square : GripDots(menu_->Mini1.Checked(), menu_->Analoguhr1.Checked())) {
        const RECT r = scale(RECT{square.left, square.top, square.right, square.bottom});
        FillRect(dc, &r, square.highlight ? highlight : shadow);
    }
}

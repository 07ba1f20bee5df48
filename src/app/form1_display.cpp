// The digital display of the main window: display styles, time, date, alarm
// line and the grip dots.
#include "analogclock/amclock.h"
#include "app/alarm_runner.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/clock_menu.h"
#include "app/form1.h"
#include "rules/display_plan.h"
#include "settings/alarm_settings.h"
#include "toolkit/seams.h"

#include <string>

namespace {

// The six style items in the order their clicks are matched.
constexpr int kClickOrder[] = {3, 2, 0, 1, 4, 5}; // LCD0, LCD1, LEDGrn1, LEDRot1, ...
// The order in which the marks are tested afterwards.
constexpr int kMarkOrder[] = {3, 2, 1, 0, 4, 5}; // LCD0, LCD1, LEDRot1, LEDGrn1, ...

// A tick hands on the time it read; a redraw without a tick reads the clock.
LocalTime TimeOf(const TAMClock* sender) {
    return sender ? sender->TickTime() : seams::Now();
}

} // namespace

TMenuItem* TForm1::StyleItem(int styleIndex) {
    TClockMenu& m = *menu_;
    TMenuItem* items[] = {&m.LEDGrn1, &m.LEDRot1,         &m.LCD1,
                          &m.LCD0,    &m.LEDPunktmatrix1, &m.Klappziffer1};
    return items[styleIndex];
}

void TForm1::LCD1Click(TMenuItem* sender) {
    for (int styleIndex : kClickOrder) {
        TMenuItem* item = StyleItem(styleIndex);
        if (sender == item) {
            item->SetChecked(true);
            objects_.settings->WriteString("Clock", "Display",
                                           kDisplayStyles[styleIndex].settingsValue);
        }
    }

    for (int styleIndex : kMarkOrder) {
        if (!StyleItem(styleIndex)->Checked()) {
            continue;
        }
        const DisplayStyle& style = kDisplayStyles[static_cast<std::size_t>(styleIndex)];
        GlyphBase = 10 * style.styleIndex;
        StyleIndex = style.styleIndex;
        display_->SetStyle(style.styleIndex);
        layout_->Colour(style.panelColor, style.handColor,
                        display_->FacePicture(style.faceImage).get());
        break;
    }

    display_->DrawStyleGlyphs();

    // The line shows the alarm the check rings, read the same way.
    const StoredAlarm alarm = ReadStoredAlarm(*objects_.settings);
    if (alarm.on && !alarm.time.empty()) {
        alarmdisplay(alarm.time.substr(0, 2), alarm.time.substr(3, 2));
    } else {
        alarmdisplay("", "");
    }

    // One reading for time and date: two could fall either side of midnight.
    const LocalTime now = seams::Now();
    ShowTime(now);
    display_->DrawDateCells(now);
}

void TForm1::AMClock1Second(TAMClock* sender, int /*second*/) {
    ShowTime(TimeOf(sender));
}

void TForm1::ShowTime(const LocalTime& now) {
    display_->DrawTimeCells(now, menu_->Mini1.Checked() || menu_->Taskleiste1.Checked());
    AlarmRunner1->Check(now);
}

void TForm1::AMClock1Minute(TAMClock* sender, int /*minute*/) {
    display_->DrawDateCells(TimeOf(sender));
    display_->AnnounceChanges(Handle());
}

void TForm1::alarmdisplay(const std::string& hour, const std::string& minute) {
    display_->DrawAlarmLine(hour, minute);
    display_->AnnounceChanges(Handle());
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

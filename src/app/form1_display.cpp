// The digital display of the main window: display styles, time, date, alarm
// line and the grip dots.
#include "rules/display_plan.h"
#include "app/form1.h"
#include "settings/program_objects.h"
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
    TMenuItem* items[] = {&LEDGrn1, &LEDRot1, &LCD1, &LCD0, &LEDPunktmatrix1, &Klappziffer1};
    return items[styleIndex];
}

void TForm1::LCD1Click(TMenuItem* sender) {
    for (int styleIndex : kClickOrder) {
        TMenuItem* item = StyleItem(styleIndex);
        if (sender == item) {
            item->SetChecked(true);
            SettingsFile->WriteString("Clock", "Display", kDisplayStyles[styleIndex].settingsValue);
        }
    }

    for (int styleIndex : kMarkOrder) {
        if (!StyleItem(styleIndex)->Checked()) {
            continue;
        }
        const DisplayStyle& style = kDisplayStyles[static_cast<std::size_t>(styleIndex)];
        GlyphBase = 10 * style.styleIndex;
        StyleIndex = style.styleIndex;
        for (TPanel* panel : {Panel1.get(), Panel3.get(), Panel4.get()}) {
            panel->SetColor(style.panelColor);
        }
        AMClock1->ParentColorChanged(style.panelColor);
        AMClock1->HoursHand().SetColor(style.handColor);
        AMClock1->MinutesHand().SetColor(style.handColor);
        AMClock1->SecondsHand().SetColor(style.handColor);
        AMClock1->SetPicture(FacePicture(style.faceImage).get());
        break;
    }

    DrawStyleGlyphs();

    if (SettingsFile->ReadBool("Wecker", "Aktiv", false)) {
        alarmdisplay(SettingsFile->ReadString("Wecker", "Stunde", "00"),
                     SettingsFile->ReadString("Wecker", "Minute", "00"));
    } else {
        alarmdisplay("", "");
    }

    // One reading for time and date: two could fall either side of midnight.
    const LocalTime now = seams::Now();
    ShowTime(now);
    DrawDateCells(now);
}

void TForm1::AMClock1Second(TAMClock* sender, int /*second*/) {
    ShowTime(TimeOf(sender));
}

void TForm1::ShowTime(const LocalTime& now) {
    DrawTimeCells(now, Mini1.Checked() || Taskleiste1.Checked());
    AlarmRunner1.Check(now);
}

void TForm1::AMClock1Minute(TAMClock* sender, int /*minute*/) {
    DrawDateCells(TimeOf(sender));
    AnnounceChanges(Handle());
}

void TForm1::alarmdisplay(const std::string& hour, const std::string& minute) {
    DrawAlarmLine(hour, minute);
    AnnounceChanges(Handle());
}

void TForm1::FormPaint(HDC dc) {
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    for (const GripSquare& square : GripDots(Mini1.Checked(), Analoguhr1.Checked())) {
        const int f = WindowStyles1.LayoutScale();
        RECT r{square.left * f, square.top * f, square.right * f, square.bottom * f};
        FillRect(dc, &r, square.highlight ? highlight : shadow);
    }
}

#include "app/display_styles.h"

#include "app/alarm_runner.h"
#include "app/clock_display.h"
#include "app/clock_layout.h"
#include "app/clock_menu.h"
#include "rules/display_plan.h"
#include "settings/alarm_settings.h"
#include "settings/program_objects.h"
#include "settings/settings_file.h"
#include "toolkit/form.h"
#include "toolkit/seams.h"

namespace {

// The six style items in the order a chosen one is looked for: LCD0, LCD1,
// LEDGrn1, LEDRot1, LEDPunktmatrix1, Klappziffer1.
constexpr int kClickOrder[] = {3, 2, 0, 1, 4, 5};
// The order in which the marks are tested afterwards: LCD0, LCD1, LEDRot1,
// LEDGrn1, LEDPunktmatrix1, Klappziffer1.
constexpr int kMarkOrder[] = {3, 2, 1, 0, 4, 5};

} // namespace

TDisplayStyles::TDisplayStyles(const Links& links) : links_(links) {}

TMenuItem& TDisplayStyles::StyleItem(int styleIndex) const {
    TMenuItem* items[] = {
        &links_.menu.LEDGrn1, &links_.menu.LEDRot1,         &links_.menu.LCD1,
        &links_.menu.LCD0,    &links_.menu.LEDPunktmatrix1, &links_.menu.Klappziffer1};
    return *items[styleIndex];
}

void TDisplayStyles::MarkStored(const std::string& settingsValue) {
    if (const DisplayStyle* style = FindStyleBySettingsValue(settingsValue)) {
        StyleItem(style->styleIndex).SetChecked(true);
    }
}

void TDisplayStyles::Apply(const TMenuItem* chosen) {
    for (int styleIndex : kClickOrder) {
        TMenuItem& item = StyleItem(styleIndex);
        if (chosen == &item) {
            item.SetChecked(true);
            links_.objects.settings->WriteString("Clock", "Display",
                                                 kDisplayStyles[styleIndex].settingsValue);
        }
    }

    for (int styleIndex : kMarkOrder) {
        if (!StyleItem(styleIndex).Checked()) {
            continue;
        }
        const DisplayStyle& style = kDisplayStyles[static_cast<std::size_t>(styleIndex)];
        links_.objects.glyphBase = 10 * style.styleIndex;
        links_.objects.styleIndex = style.styleIndex;
        links_.display.SetStyle(style.styleIndex);
        links_.layout.Colour(style.panelColor, style.handColor,
                             links_.display.FacePicture(style.faceImage).get());
        break;
    }

    links_.display.DrawStyleGlyphs();

    // The line shows the alarm the check rings, read the same way.
    const StoredAlarm alarm = ReadStoredAlarm(*links_.objects.settings);
    if (alarm.on && !alarm.time.empty()) {
        ShowAlarm(alarm.time.substr(0, 2), alarm.time.substr(3, 2));
    } else {
        ShowAlarm("", "");
    }

    // One reading for time and date: two could fall either side of midnight.
    const LocalTime now = seams::Now();
    ShowTime(now);
    links_.display.DrawDateCells(now);
}

void TDisplayStyles::ShowTime(const LocalTime& now) {
    links_.display.DrawTimeCells(now,
                                 links_.menu.Mini1.Checked() || links_.menu.Taskleiste1.Checked());
    links_.alarm.Check(now);
}

void TDisplayStyles::ShowDate(const LocalTime& now) {
    links_.display.DrawDateCells(now);
    links_.display.AnnounceChanges(links_.window.Handle());
}

void TDisplayStyles::ShowAlarm(const std::string& hour, const std::string& minute) {
    links_.display.DrawAlarmLine(hour, minute);
    links_.display.AnnounceChanges(links_.window.Handle());
}

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

TDisplayStyles::TDisplayStyles(const Links& links)
    : window_(links.window), menu_(links.menu), display_(links.display), layout_(links.layout),
      alarm_(links.alarm), objects_(links.objects) {}

TMenuItem& TDisplayStyles::StyleItem(int styleIndex) const {
    TMenuItem* items[] = {&menu_.LEDGrn1, &menu_.LEDRot1,         &menu_.LCD1,
                          &menu_.LCD0,    &menu_.LEDPunktmatrix1, &menu_.Klappziffer1};
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
            objects_.settings->WriteString("Clock", "Display",
                                           kDisplayStyles[styleIndex].settingsValue);
        }
    }

    for (int styleIndex : kMarkOrder) {
        if (!StyleItem(styleIndex).Checked()) {
            continue;
        }
        const DisplayStyle& style = kDisplayStyles[static_cast<std::size_t>(styleIndex)];
        objects_.glyphBase = 10 * style.styleIndex;
        objects_.styleIndex = style.styleIndex;
        display_.SetStyle(style.styleIndex);
        layout_.Colour(style.panelColor, style.handColor,
                       display_.FacePicture(style.faceImage).get());
        break;
    }

    display_.DrawStyleGlyphs();

    // The line shows the alarm the check rings, read the same way.
    const StoredAlarm alarm = ReadStoredAlarm(*objects_.settings);
    if (alarm.on && !alarm.time.empty()) {
        ShowAlarm(alarm.time.substr(0, 2), alarm.time.substr(3, 2));
    } else {
        ShowAlarm("", "");
    }

    // One reading for time and date: two could fall either side of midnight.
    const LocalTime now = seams::Now();
    ShowTime(now);
    display_.DrawDateCells(now);
}

void TDisplayStyles::ShowTime(const LocalTime& now) {
    display_.DrawTimeCells(now, menu_.Mini1.Checked() || menu_.Taskleiste1.Checked());
    alarm_.Check(now);
}

void TDisplayStyles::ShowDate(const LocalTime& now) {
    display_.DrawDateCells(now);
    display_.AnnounceChanges(window_.Handle());
}

void TDisplayStyles::ShowAlarm(const std::string& hour, const std::string& minute) {
    display_.DrawAlarmLine(hour, minute);
    display_.AnnounceChanges(window_.Handle());
}

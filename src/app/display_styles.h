#pragma once
// The display styles: the six style items of the menu, what choosing one
// sets (its glyphs, the panels' and hands' colours, the analog face) and
// stores, and the drawing of the time, the date and the alarm line in the
// style in force. Each runs down into the cells, the layout and the alarm
// check and returns; nothing here calls back into the window.
#include "toolkit/local_time_rules.h"

#include <string>

class TAlarmRunner;
class TClockDisplay;
class TClockLayout;
class TClockMenu;
class TForm;
class TMenuItem;
struct ProgramObjects;

class TDisplayStyles {
  public:
    struct Links {
        // Told of changes for screen readers.
        const TForm& window;
        // Its check marks hold the display style and whether the time goes
        // into the small row (mini and taskbar).
        TClockMenu& menu;
        TClockDisplay& display;
        TClockLayout& layout;
        // Run for every time drawn, after the drawing.
        TAlarmRunner& alarm;
        const ProgramObjects& objects;
    };
    explicit TDisplayStyles(const Links& links);
    TDisplayStyles(const TDisplayStyles&) = delete;
    TDisplayStyles& operator=(const TDisplayStyles&) = delete;

    // A style chosen from the menu is marked and stored; without one the
    // marked style is drawn again, nothing stored. Either way the glyphs,
    // colours, alarm line, time and date are drawn in it.
    void Apply(const TMenuItem* chosen);
    // Marks the style of a settings value, as read at the start; a value
    // that names none leaves the mark as it is.
    void MarkStored(const std::string& settingsValue);
    // The time of one reading of the clock, then the alarm check for it.
    void ShowTime(const LocalTime& now);
    void ShowDate(const LocalTime& now);
    // An empty hour clears the alarm line.
    void ShowAlarm(const std::string& hour, const std::string& minute);

  private:
    TMenuItem& StyleItem(int styleIndex) const;

    const Links links_;
};

#pragma once
// The clock window's layouts in its three window styles, worked out without a
// window: the outer sizes, where the panels go, and how the taskbar window
// follows the taskbar's clock area.

#include "toolkit/scale_rules.h"

struct WindowSize {
    int width = 0;
    int height = 0;
};

// Outer size (frame included) of the window on the desktop: the standard
// window, or the mini window, whose size depends on the analog clock. Every
// length here is of a 96-DPI screen, drawn larger by scale on a denser one.
WindowSize DesktopWindowSize(bool mini, bool analog, Scale scale = Scale());

// The large display panel: full width in the standard window, only the
// analog clock's width in the mini window.
constexpr int kLargeRowWidth = 123;
constexpr int kLargeRowWidthMini = 52;
constexpr Place kLargeRow{19, 6, kLargeRowWidth, 51};
// Inside the large panel: the analog clock, hidden while the digits show.
constexpr Place kAnalogClock{2, 2, 47, 47};

// The small row as the alarm line under the digital large row.
constexpr Place kAlarmLineUnderDigits{20, 39, 56, 17};
// The alarm line right of the analog clock: its top when the standard style is
// entered with the clock on, and when the clock is switched on in that style.
constexpr int kAlarmLineBesideClockLeft = 85;
constexpr int kAlarmLineBesideClockTopEntered = 9;
constexpr int kAlarmLineBesideClockTopSwitched = 12;
constexpr int kSmallRowWidth = 56;
// The small row as the whole mini window, sunk into a bevel.
constexpr Place kMiniTimeRow{20, 4, 56, 19};

// The date row inside the large panel, under the digits or beside the clock.
constexpr int kDateRowTopDigital = 34;
constexpr int kDateRowTopAnalog = 30;
// The menu button's holder in the 69-high windows and in the mini and taskbar windows.
constexpr int kMenuButtonTopTall = 46;
constexpr int kMenuButtonTopLow = 12;
constexpr Place kDateRow{58, kDateRowTopDigital, 59, 15};
constexpr Place kMenuButtonRow{1, kMenuButtonTopTall, 17, 12};
// The menu button inside its holder.
constexpr Place kMenuButton{1, 1, 14, 10};

// Top of the small row's cells on the desktop.
constexpr int kSmallCellTop = 4;
// Top of the small row's cells in the taskbar: vertically centred 9-high
// glyphs (9 × factor high on a denser screen).
int TaskbarCellTop(int windowHeight, Scale scale = Scale());

// The second colon and the two second digits fit only in a wider row.
bool SmallRowShowsSeconds(int rowWidth, Scale scale = Scale());

// Default left of a window that has no stored position: flush with the
// screen's right edge.
int DefaultWindowLeft(int screenWidth, int windowWidth);

// Whether the taskbar's clock area can take the clock: shown, and large
// enough (client width and height) for the hours and minutes. Newer systems
// may leave the old area empty or hidden and draw their clock elsewhere.
// Judged at the 96-DPI size: a dense screen's clock shrinks to fit rather than vanish.
bool TrayClockAreaUsable(bool visible, int areaRight, int areaBottom);

// The factor of the taskbar window: the monitor's, or the largest smaller one
// whose hours and minutes still fit the clock area; at least 1.
Scale TaskbarScale(Scale monitor, int areaRight, int areaBottom);

// One check of the taskbar window against the tray clock's client area
// (right, bottom). The window and its row are kept one pixel lower than the
// area; when the row already has that size nothing is to be done.
struct TrayFit {
    bool refit = false;
    Place row;         // the small row, which fills the window
    WindowSize window; // the window's size
    int cellTop = 0;   // the small row's cells
    bool seconds = false;
};
TrayFit FitToTrayClock(int areaRight, int areaBottom, int rowWidth, int rowHeight,
                       Scale scale = Scale());

#pragma once
// The window of the taskbar that holds the clock in the taskbar style, and
// the clock's place in it: the classic clock area, which the clock fills, or
// a taskbar without one (Windows 11's, another monitor's), on whose face the
// clock sits over the system clock's place.
#include "toolkit/scale_rules.h"

#include <windows.h>

// The host for a clock centred at this screen point: the taskbar of that
// point's monitor, or the primary one. Null when there is no taskbar at all.
HWND FindTaskbarHost(POINT clockCentre);

// Shown, and large enough for the hours and minutes.
bool TaskbarHostUsable(HWND host);

// The area the clock is fitted into, in the host's client coordinates.
RECT ClockAreaIn(HWND host);

// The scale of the monitor the host lies on, whichever screen the clock came
// from; asked at every fit, so a change of that monitor's DPI shows.
Scale TaskbarMonitorScale(HWND host);

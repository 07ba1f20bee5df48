#pragma once
// Which taskbar takes the clock, and where on it, for taskbars that have no
// classic clock area of their own (Windows 11's, and the taskbars of other
// monitors): worked out from rectangles alone.
#include "toolkit/scale_rules.h"

#include <vector>

// The strip at the taskbar's far end that stays free for the notifications
// and "show desktop", in 96-DPI pixels.
constexpr int kTaskbarEndStrip = 12;
// The clock's length along a taskbar, in 96-DPI pixels: the width of a
// horizontal one's clock, the height of a vertical one's. Its seconds show.
constexpr int kTaskbarClockWidth = 56;
constexpr int kTaskbarClockHeight = 30;

// Of the taskbars' screen places, the primary taskbar's first, the one that
// lies on the monitor (its centre inside); the primary's where none does; -1
// without any.
int TaskbarOnMonitor(const std::vector<Place>& taskbars, const Place& monitor);

// The clock's place on a taskbar's face (in the face's own coordinates): at
// the far end before the free strip, across the whole face, the right or
// bottom end of a horizontal or vertical face.
Place ClockPlaceOnTaskbar(const Place& face, Scale scale);

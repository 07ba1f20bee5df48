#pragma once
// Window placement arithmetic of the clock window, in screen pixels.
#include <vector>

struct ScreenArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct WindowPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Pulls a window that lies wholly beyond an edge of the screen area back
// onto it; a window that still overlaps the area by any amount stays where it
// is. The area is the whole desktop across all monitors, so a clock on a
// second monitor keeps its place.
WindowPlace PullOntoScreen(WindowPlace window, const ScreenArea& screen);

struct MonitorArea {
    ScreenArea bounds;
    // The part that taskbars and docked bars leave free.
    ScreenArea workArea;
};

// With monitors of unequal size the desktop's bounding rectangle has dead
// corners that no monitor shows: a window there (overlapping no monitor by
// even a pixel) is moved into the work area of the nearest monitor. A window
// on any monitor, or a list without monitors, leaves the place as it is.
WindowPlace PullOntoNearestMonitor(WindowPlace window, const std::vector<MonitorArea>& monitors);

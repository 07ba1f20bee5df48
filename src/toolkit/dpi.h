#pragma once
// The DPI a window is drawn at. The program is per-monitor aware: each
// monitor has its own DPI, and a window follows the monitor it is on.
#include "toolkit/scale_rules.h"

#include <windows.h>

// Not in the headers of the oldest Windows the program builds for.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the window's monitor; the system's DPI where Windows knows
// only one (before Windows 10, or for a window not yet made).
int WindowDpi(HWND window);
// The DPI of the monitor nearest to a screen point, for a window about to be
// placed there.
int DpiAtPoint(POINT point);
// The DPI of the monitor a window lies on, the window of another program too.
int MonitorDpiOfWindow(HWND window);
// What the 96-DPI layout is drawn larger by on the window's monitor.
Scale WindowScale(HWND window);

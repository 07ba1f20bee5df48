#include "app/taskbar_host.h"

#include "rules/taskbar_place.h"
#include "rules/window_layout.h"
#include "toolkit/dpi.h"

#include <cwchar>
#include <vector>

namespace {

bool IsClassicClockArea(HWND host) {
    wchar_t name[32] = {};
    GetClassNameW(host, name, 32);
    return _wcsicmp(name, L"TrayClockWClass") == 0;
}

Place PlaceOf(const RECT& r) {
    return Place{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Where the taskbar draws its buttons, tray and clock: the composition bridge
// on Windows 11, the whole client area elsewhere.
Place FaceOf(HWND taskbar) {
    RECT face{};
    HWND bridge = FindWindowExW(taskbar, nullptr,
                                L"Windows.UI.Composition.DesktopWindowContentBridge", nullptr);
    if (bridge && GetWindowRect(bridge, &face)) {
        MapWindowPoints(HWND_DESKTOP, taskbar, reinterpret_cast<POINT*>(&face), 2);
    } else {
        GetClientRect(taskbar, &face);
    }
    return PlaceOf(face);
}

} // namespace

HWND FindTaskbarHost(POINT clockCentre) {
    std::vector<HWND> taskbars;
    if (HWND primary = FindWindowW(L"Shell_TrayWnd", L"")) {
        taskbars.push_back(primary);
    }
    for (HWND other = nullptr;
         (other = FindWindowExW(nullptr, other, L"Shell_SecondaryTrayWnd", nullptr));) {
        taskbars.push_back(other);
    }
    std::vector<Place> places;
    for (HWND taskbar : taskbars) {
        RECT r{};
        GetWindowRect(taskbar, &r);
        places.push_back(PlaceOf(r));
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(clockCentre, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const int chosen = TaskbarOnMonitor(places, PlaceOf(monitor.rcMonitor));
    if (chosen < 0) {
        return nullptr;
    }
    HWND taskbar = taskbars[static_cast<std::size_t>(chosen)];
    HWND notify = FindWindowExW(taskbar, nullptr, L"traynotifywnd", L"");
    HWND classic = notify ? FindWindowExW(notify, nullptr, L"trayclockwclass", nullptr) : nullptr;
    return classic ? classic : taskbar;
}

bool TaskbarHostUsable(HWND host) {
    // A host that is hidden or too small is as good as none: a clock placed
    // there could not be seen.
    if (!host || !IsWindow(host)) {
        return false;
    }
    const RECT area = ClockAreaIn(host);
    return TrayClockAreaUsable(IsWindowVisible(host) != FALSE, area.right - area.left,
                               area.bottom - area.top);
}

RECT ClockAreaIn(HWND host) {
    RECT area{};
    if (IsClassicClockArea(host)) {
        GetClientRect(host, &area);
        return area;
    }
    const Place clock = ClockPlaceOnTaskbar(FaceOf(host), TaskbarMonitorScale(host));
    // The fit keeps the clock a pixel lower than a classic clock area; over
    // the system clock's place it is to be as high as the face.
    return RECT{clock.left, clock.top, clock.left + clock.width, clock.top + clock.height + 1};
}

Scale TaskbarMonitorScale(HWND host) {
    return Scale::ForDpi(MonitorDpiOfWindow(host));
}

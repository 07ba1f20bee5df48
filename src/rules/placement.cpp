#include "rules/placement.h"

#include <algorithm>
#include <limits>

WindowPlace PullOntoScreen(WindowPlace window, const ScreenArea& screen) {
    const int right = screen.left + screen.width;
    const int bottom = screen.top + screen.height;
    if (window.left > right) {
        window.left = right - window.width;
    }
    if (window.top > bottom) {
        window.top = bottom - window.height;
    }
    if (window.left + window.width < screen.left) {
        window.left = screen.left;
    }
    if (window.top + window.height < screen.top) {
        window.top = screen.top;
    }
    return window;
}

namespace {

bool Overlaps(const WindowPlace& window, const ScreenArea& area) {
    return window.left < area.left + area.width && window.left + window.width > area.left &&
           window.top < area.top + area.height && window.top + window.height > area.top;
}

// Squared distance between the window and the area; 0 when they touch or overlap.
long long Distance(const WindowPlace& window, const ScreenArea& area) {
    const long long dx = std::max(
        {0, area.left - (window.left + window.width), window.left - (area.left + area.width)});
    const long long dy = std::max(
        {0, area.top - (window.top + window.height), window.top - (area.top + area.height)});
    return dx * dx + dy * dy;
}

// The start that keeps length inside [low, low + room), or low when it is too long.
int Inside(int start, int length, int low, int room) {
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

WindowPlace PullOntoNearestMonitor(WindowPlace window, const std::vector<MonitorArea>& monitors) {
    const MonitorArea* nearest = nullptr;
    long long best = std::numeric_limits<long long>::max();
    for (const MonitorArea& monitor : monitors) {
        if (Overlaps(window, monitor.bounds)) {
            return window;
        }
        const long long distance = Distance(window, monitor.bounds);
        if (distance < best) {
            best = distance;
            nearest = &monitor;
        }
    }
    if (nearest) {
        const ScreenArea& work = nearest->workArea;
        window.left = Inside(window.left, window.width, work.left, work.width);
        window.top = Inside(window.top, window.height, work.top, work.height);
    }
    return window;
}

#include "rules/taskbar_place.h"

#include <cstddef>

namespace {

bool Holds(const Place& area, int x, int y) {
    return x >= area.left && x < area.left + area.width && y >= area.top &&
           y < area.top + area.height;
}

} // namespace

int TaskbarOnMonitor(const std::vector<Place>& taskbars, const Place& monitor) {
    for (std::size_t i = 0; i < taskbars.size(); ++i) {
        const Place& bar = taskbars[i];
        if (Holds(monitor, bar.left + bar.width / 2, bar.top + bar.height / 2)) {
            return static_cast<int>(i);
        }
    }
    return taskbars.empty() ? -1 : 0;
}

Place ClockPlaceOnTaskbar(const Place& face, Scale scale) {
    if (face.height > face.width) {
        const int bottom = face.top + face.height - scale(kTaskbarEndStrip);
        return Place{face.left, bottom - scale(kTaskbarClockHeight), face.width,
                     scale(kTaskbarClockHeight)};
    }
    const int right = face.left + face.width - scale(kTaskbarEndStrip);
    return Place{right - scale(kTaskbarClockWidth), face.top, scale(kTaskbarClockWidth),
                 face.height};
}

#include "rules/window_layout.h"

namespace {
constexpr WindowSize kStandardWindow{154, 69};
constexpr WindowSize kMiniDigitalWindow{85, 32};
constexpr WindowSize kMiniAnalogWindow{82, 69};
constexpr int kSecondsMinWidth = 51;
constexpr int kSmallGlyphHalfHeight = 5;
// Right edge of the second minute digit in the small row.
constexpr int kHoursMinutesRight = 33;
} // namespace

WindowSize DesktopWindowSize(bool mini, bool analog) {
    if (!mini) {
        return kStandardWindow;
    }
    return analog ? kMiniAnalogWindow : kMiniDigitalWindow;
}

int TaskbarCellTop(int windowHeight) {
    return windowHeight / 2 - kSmallGlyphHalfHeight;
}

bool SmallRowShowsSeconds(int rowWidth) {
    return rowWidth >= kSecondsMinWidth;
}

int DefaultWindowLeft(int screenWidth, int windowWidth) {
    return screenWidth - windowWidth;
}

bool TrayClockAreaUsable(bool visible, int areaRight, int areaBottom) {
    // The window is kept a pixel lower than the area, and its cells are
    // centred in it: they start at the top edge or below only from this height.
    const int windowHeight = areaBottom - 1;
    return visible && areaRight >= kHoursMinutesRight && TaskbarCellTop(windowHeight) >= 0;
}

TrayFit FitToTrayClock(int areaRight, int areaBottom, int rowWidth, int rowHeight) {
    TrayFit fit;
    fit.refit = !(rowWidth == areaRight && rowHeight + 1 == areaBottom);
    if (!fit.refit) {
        fit.row = PanelPlace{0, 0, rowWidth, rowHeight};
        fit.window = WindowSize{rowWidth, rowHeight};
    } else {
        fit.row = PanelPlace{0, 0, areaRight, areaBottom - 1};
        fit.window = WindowSize{areaRight, areaBottom - 1};
    }
    fit.cellTop = TaskbarCellTop(fit.window.height);
    fit.seconds = SmallRowShowsSeconds(fit.row.width);
    return fit;
}

#include "rules/window_layout.h"

#include "rules/dpi_scale.h"

namespace {
constexpr WindowSize kStandardWindow{154, 69};
constexpr WindowSize kMiniDigitalWindow{85, 32};
constexpr WindowSize kMiniAnalogWindow{82, 69};
constexpr int kSecondsMinWidth = 51;
constexpr int kSmallGlyphHeight = 9;
// Right edge of the second minute digit in the small row.
constexpr int kHoursMinutesRight = 33;
} // namespace

WindowSize DesktopWindowSize(bool mini, bool analog, int factor) {
    const WindowSize size = !mini    ? kStandardWindow
                            : analog ? kMiniAnalogWindow
                                     : kMiniDigitalWindow;
    return WindowSize{Scaled(size.width, factor), Scaled(size.height, factor)};
}

PanelPlace ScaledPlace(const PanelPlace& place, int factor) {
    return PanelPlace{Scaled(place.left, factor), Scaled(place.top, factor),
                      Scaled(place.width, factor), Scaled(place.height, factor)};
}

int TaskbarCellTop(int windowHeight, int factor) {
    // Half the glyph rounded up: an odd height sits a pixel nearer the top.
    return windowHeight / 2 - (Scaled(kSmallGlyphHeight, factor) + 1) / 2;
}

bool SmallRowShowsSeconds(int rowWidth, int factor) {
    return rowWidth >= Scaled(kSecondsMinWidth, factor);
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

int TaskbarScaleFactor(int monitorFactor, int areaRight, int areaBottom) {
    for (int factor = monitorFactor; factor > 1; --factor) {
        if (areaRight >= Scaled(kHoursMinutesRight, factor) &&
            TaskbarCellTop(areaBottom - 1, factor) >= 0) {
            return factor;
        }
    }
    return 1;
}

TrayFit FitToTrayClock(int areaRight, int areaBottom, int rowWidth, int rowHeight, int factor) {
    TrayFit fit;
    fit.refit = !(rowWidth == areaRight && rowHeight + 1 == areaBottom);
    if (!fit.refit) {
        fit.row = PanelPlace{0, 0, rowWidth, rowHeight};
        fit.window = WindowSize{rowWidth, rowHeight};
    } else {
        fit.row = PanelPlace{0, 0, areaRight, areaBottom - 1};
        fit.window = WindowSize{areaRight, areaBottom - 1};
    }
    fit.cellTop = TaskbarCellTop(fit.window.height, factor);
    fit.seconds = SmallRowShowsSeconds(fit.row.width, factor);
    return fit;
}

#include "rules/window_layout.h"

namespace {
constexpr WindowSize kStandardWindow{154, 69};
constexpr WindowSize kMiniDigitalWindow{85, 32};
constexpr WindowSize kMiniAnalogWindow{82, 69};
constexpr int kSecondsMinWidth = 51;
constexpr int kSmallGlyphHeight = 9;
// Right edge of the second minute digit in the small row.
constexpr int kHoursMinutesRight = 33;
} // namespace

WindowSize DesktopWindowSize(bool mini, bool analog, Scale scale) {
    const WindowSize size = !mini    ? kStandardWindow
                            : analog ? kMiniAnalogWindow
                                     : kMiniDigitalWindow;
    return scale(size);
}

int TaskbarCellTop(int windowHeight, Scale scale) {
    // Half the glyph rounded up: an odd height sits a pixel nearer the top.
    return windowHeight / 2 - (scale(kSmallGlyphHeight) + 1) / 2;
}

bool SmallRowShowsSeconds(int rowWidth, Scale scale) {
    return rowWidth >= scale(kSecondsMinWidth);
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

Scale TaskbarScale(Scale monitor, int areaRight, int areaBottom) {
    for (int factor = monitor.Factor(); factor > 1; --factor) {
        const Scale scale(factor);
        if (areaRight >= scale(kHoursMinutesRight) && TaskbarCellTop(areaBottom - 1, scale) >= 0) {
            return scale;
        }
    }
    return Scale();
}

TrayFit FitToTrayClock(int areaRight, int areaBottom, int rowWidth, int rowHeight, Scale scale) {
    TrayFit fit;
    fit.refit = !(rowWidth == areaRight && rowHeight + 1 == areaBottom);
    if (!fit.refit) {
        fit.row = Place{0, 0, rowWidth, rowHeight};
        fit.window = WindowSize{rowWidth, rowHeight};
    } else {
        fit.row = Place{0, 0, areaRight, areaBottom - 1};
        fit.window = WindowSize{areaRight, areaBottom - 1};
    }
    fit.cellTop = TaskbarCellTop(fit.window.height, scale);
    fit.seconds = SmallRowShowsSeconds(fit.row.width, scale);
    return fit;
}

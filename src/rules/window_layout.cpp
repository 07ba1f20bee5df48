#include "rules/window_layout.h"

namespace {
constexpr WindowSize kStandardWindow{154, 69};
constexpr WindowSize kMiniDigitalWindow{85, 32};
constexpr WindowSize kMiniAnalogWindow{82, 69};
constexpr int kSecondsMinWidth = 51;
constexpr int kSmallGlyphHalfHeight = 5;
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

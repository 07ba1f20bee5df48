#include "rules/placement.h"

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

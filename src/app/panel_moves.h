#pragma once
// Moving and resizing a panel while keeping the rest of its bounds.
#include "toolkit/panel.h"

inline RECT PanelBounds(const TPanel& panel) {
    return panel.Bounds();
}

inline void MovePanel(TPanel& panel, int left, int top) {
    RECT b = PanelBounds(panel);
    panel.SetBounds(left, top, b.right - b.left, b.bottom - b.top);
}

inline void ResizePanel(TPanel& panel, int width, int height) {
    RECT b = PanelBounds(panel);
    panel.SetBounds(b.left, b.top, width, height);
}

inline int PanelWidth(const TPanel& panel) {
    RECT b = PanelBounds(panel);
    return b.right - b.left;
}

inline int PanelHeight(const TPanel& panel) {
    RECT b = PanelBounds(panel);
    return b.bottom - b.top;
}

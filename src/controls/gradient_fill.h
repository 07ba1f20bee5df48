#pragma once
// A gradient of solid bands with no window of its own: its owner calls Paint
// from its own paint with the DC it paints on, and hands it the mouse
// messages that fall into its rectangle.
#include "controls/gradient_rules.h"
#include "toolkit/scale_rules.h"

#include <windows.h>

#include <functional>

class TPopupMenu;

class TGradientFill {
  public:
    // parent: the window the gradient is painted on (invalidated on changes).
    explicit TGradientFill(HWND parent);
    TGradientFill(const TGradientFill&) = delete;
    TGradientFill& operator=(const TGradientFill&) = delete;

    // In the parent's client coordinates, in pixels of a 96-DPI screen; the
    // gradient is drawn larger by the factor of the parent's form.
    void SetBounds(int left, int top, int width, int height);
    // In the parent's client coordinates, in the screen's pixels.
    RECT BoundsRect() const { return bounds_; }
    // The parent's form moved to a monitor of another factor.
    void SetLayoutScale(Scale scale);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TColor BeginColor() const { return beginColor_; }
    void SetBeginColor(TColor color);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor color);
    TFillDirection FillDirection() const { return fillDirection_; }
    void SetFillDirection(TFillDirection direction);
    int NumberOfColors() const { return numberOfColors_; }
    // Kept to 1..255.
    void SetNumberOfColors(int count);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled = true;
    bool ShowHint = false;
    TPopupMenu* PopupMenu = nullptr;

    // Draws the gradient into its rectangle of dc, a DC of the parent's client area.
    void Paint(HDC dc) const;

    // The parent passes its mouse messages on; each returns true when the
    // point lay on the visible, enabled gradient and its event ran.
    bool MouseDown(UINT button, POINT clientPoint);
    bool MouseMove(POINT clientPoint);
    bool MouseUp(UINT button, POINT clientPoint);
    bool Click(POINT clientPoint);
    bool DblClick(POINT clientPoint);
    bool Contains(POINT clientPoint) const;

    // button: WM_LBUTTONDOWN, WM_RBUTTONDOWN or WM_MBUTTONDOWN (or the UP
    // messages); the point is in the gradient's own coordinates.
    std::function<void(TGradientFill* sender, UINT button, POINT point)> OnMouseDown;
    std::function<void(TGradientFill* sender, POINT point)> OnMouseMove;
    std::function<void(TGradientFill* sender, UINT button, POINT point)> OnMouseUp;
    std::function<void(TGradientFill* sender)> OnClick;
    std::function<void(TGradientFill* sender)> OnDblClick;

  private:
    // Draws at once on the parent's window, outside any paint cycle.
    void PaintGradientNow() const;
    void Invalidate() const;
    POINT Local(POINT clientPoint) const;

    HWND parent_;
    Scale scale_;
    RECT bounds_{0, 0, 105, 105};
    RECT design_{0, 0, 105, 105}; // in 96-DPI pixels
    bool autoSize_ = false;
    TColor beginColor_ = 0xFF0000; // pure blue
    TColor endColor_ = clBlack;
    TFillDirection fillDirection_ = TFillDirection::fdTopToBottom;
    int numberOfColors_ = 16;
    bool visible_ = true;
};

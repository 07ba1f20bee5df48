#include "controls/gradient_fill.h"

#include "toolkit/bitmap.h"
#include "toolkit/window.h"
#include "toolkit/gdi.h"
#include "toolkit/scaled_picture.h"

#include <algorithm>

namespace {

TColor PlainColor(TColor color) {
    return IsSystemColor(color) ? static_cast<TColor>(GetSysColor(SystemColorIndex(color)))
                                : color & 0xFFFFFF;
}

} // namespace

TGradientFill::TGradientFill(HWND parent) : parent_(parent), scale_(TWindow::ScaleOf(parent)) {}

void TGradientFill::SetBounds(int left, int top, int width, int height) {
    design_ = RECT{left, top, left + width, top + height};
    SetLayoutScale(scale_);
}

void TGradientFill::SetLayoutScale(Scale scale) {
    Invalidate();
    scale_ = scale;
    bounds_ = scale(design_);
    Invalidate();
}

void TGradientFill::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Invalidate();
}

void TGradientFill::SetBeginColor(TColor color) {
    beginColor_ = color;
    PaintGradientNow();
    Invalidate();
}

void TGradientFill::SetEndColor(TColor color) {
    endColor_ = color;
    PaintGradientNow();
    Invalidate();
}

void TGradientFill::SetFillDirection(TFillDirection direction) {
    if (direction == fillDirection_) {
        return;
    }
    fillDirection_ = direction;
    PaintGradientNow();
    Invalidate();
}

void TGradientFill::SetNumberOfColors(int count) {
    numberOfColors_ = std::clamp(count, 1, 255);
    Invalidate();
}

void TGradientFill::SetVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        Invalidate();
    }
}

void TGradientFill::Paint(HDC dc) const {
    // The bands are those of the 96-DPI size; on a denser screen each of
    // their pixels becomes a block, so the bands keep their proportions.
    const int f = scale_.Factor();
    const int width = (bounds_.right - bounds_.left) / f;
    const int height = (bounds_.bottom - bounds_.top) / f;
    if (!visible_ || width <= 0 || height <= 0) {
        return;
    }
    // Bands are drawn off-screen and copied in one step, so none flickers alone.
    UniqueBitmap picture = f == 1 ? UniqueBitmap(CreateCompatibleBitmap(dc, width, height))
                                  : CreateBitmap32(width, height);
    UniqueMemoryDc memory(CreateCompatibleDC(dc));
    if (!picture || !memory) {
        return;
    }
    {
        SelectGuard select(memory.get(), picture.get());
        for (const GradientBand& band :
             GradientBands(width, height, PlainColor(beginColor_), PlainColor(endColor_),
                           fillDirection_, numberOfColors_)) {
            if (band.right <= band.left || band.bottom <= band.top) {
                continue;
            }
            UniqueBrush brush(CreateSolidBrush(band.color));
            const RECT area{band.left, band.top, band.right, band.bottom};
            FillRect(memory.get(), &area, brush.get());
        }
        if (f == 1) {
            BitBlt(dc, bounds_.left, bounds_.top, width, height, memory.get(), 0, 0, SRCCOPY);
            return;
        }
    }
    DrawPixelsScaled(dc, bounds_.left, bounds_.top, picture.get(), f);
}

void TGradientFill::PaintGradientNow() const {
    if (parent_ && IsWindowVisible(parent_)) {
        WindowDc dc(parent_);
        Paint(dc.get());
    }
}

void TGradientFill::Invalidate() const {
    if (parent_) {
        InvalidateRect(parent_, &bounds_, FALSE);
    }
}

bool TGradientFill::Contains(POINT clientPoint) const {
    return visible_ && Enabled && PtInRect(&bounds_, clientPoint);
}

POINT TGradientFill::Local(POINT clientPoint) const {
    return POINT{clientPoint.x - bounds_.left, clientPoint.y - bounds_.top};
}

bool TGradientFill::MouseDown(UINT button, POINT clientPoint) {
    if (!Contains(clientPoint)) {
        return false;
    }
    if (OnMouseDown) {
        OnMouseDown(this, button, Local(clientPoint));
    }
    return true;
}

bool TGradientFill::MouseMove(POINT clientPoint) {
    if (!Contains(clientPoint)) {
        return false;
    }
    if (OnMouseMove) {
        OnMouseMove(this, Local(clientPoint));
    }
    return true;
}

bool TGradientFill::MouseUp(UINT button, POINT clientPoint) {
    if (!Contains(clientPoint)) {
        return false;
    }
    if (OnMouseUp) {
        OnMouseUp(this, button, Local(clientPoint));
    }
    return true;
}

bool TGradientFill::Click(POINT clientPoint) {
    if (!Contains(clientPoint)) {
        return false;
    }
    if (OnClick) {
        OnClick(this);
    }
    return true;
}

bool TGradientFill::DblClick(POINT clientPoint) {
    if (!Contains(clientPoint)) {
        return false;
    }
    if (OnDblClick) {
        OnDblClick(this);
    }
    return true;
}

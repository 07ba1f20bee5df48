#include "toolkit/panel.h"

#include <algorithm>

namespace {
constexpr wchar_t kPanelClass[] = L"TPanel";
}

TImage::TImage(TPanel& parent, int left, int top, int width, int height)
    : parent_(parent), left_(left), top_(top), width_(width), height_(height) {
    parent_.AddImage(this);
}

void TImage::Assign(const TBitmap& picture, Source source) {
    picture_.Assign(picture);
    source_ = picture_.Empty() ? Source{} : source;
    // A hidden cell is painted when it is shown again.
    if (visible_) {
        parent_.PaintNow(Bounds());
    }
}

void TImage::Clear() {
    source_ = {};
    if (!picture_.Empty()) {
        picture_.Clear();
        if (visible_) {
            parent_.PaintNow(Bounds());
        }
    }
}

void TImage::SetVisible(bool visible) {
    if (visible != visible_) {
        visible_ = visible;
        Invalidate();
    }
}

void TImage::SetBounds(int left, int top, int width, int height) {
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
}

void TImage::Paint(HDC dc) const {
    if (!visible_ || picture_.Empty()) {
        return;
    }
    BitBlt(dc, left_, top_, std::min(width_, picture_.Width()),
           std::min(height_, picture_.Height()), picture_.Canvas(), 0, 0, SRCCOPY);
}

void TImage::Invalidate() const {
    // Without its window the panel has nothing to repaint (a null window
    // would mean every window of the screen).
    if (!parent_.Handle()) {
        return;
    }
    RECT bounds = Bounds();
    InvalidateRect(parent_.Handle(), &bounds, FALSE);
}

TPanel::TPanel(HWND parent, int left, int top, int width, int height, TBevel bevel)
    : bevel_(bevel) {
    // A DC of its own: a changed cell is drawn straight onto the window every
    // second, and a DC from the shared cache would have its visible region
    // fetched afresh for each cell.
    CreateWindowHandle({kPanelClass, CS_DBLCLKS | CS_OWNDC}, L"",
                       WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                       {left, top, width, height}, parent);
}

void TPanel::SetColor(COLORREF color) {
    if (color != color_) {
        color_ = color;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TPanel::SetBevel(TBevel bevel) {
    if (bevel != bevel_) {
        bevel_ = bevel;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TPanel::SetBevelInner(TBevel bevel) {
    if (bevel != bevelInner_) {
        bevelInner_ = bevel;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TPanel::SetBevelWidth(int pixels) {
    if (pixels != bevelWidth_) {
        bevelWidth_ = pixels;
        InvalidateRect(Handle(), nullptr, FALSE);
    }
}

void TPanel::SetBounds(int left, int top, int width, int height) {
    if (AlreadyPlaced(Bounds(), {left, top, width, height})) {
        return;
    }
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TPanel::Bounds() const {
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

void TPanel::SetVisible(bool visible) {
    // The panel's own flag, not IsWindowVisible: a panel inside a hidden
    // window is still to be shown with it.
    const bool shown = (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) {
        ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    }
}

bool TPanel::Visible() const {
    return IsWindowVisible(Handle()) != FALSE;
}

void TPanel::PaintClient(HDC target, const RECT& area) {
    RECT client;
    GetClientRect(Handle(), &client);
    if (client.right <= 0 || client.bottom <= 0) {
        return;
    }
    // Composed off screen, so cells never flash in the background colour.
    // Only the area asked for is composed and copied: a second's change is one
    // cell or two, not the panel.
    buffer_.SetSize(client.right, client.bottom);
    HDC dc = buffer_.Canvas();
    if (!brush_ || brushColor_ != color_) {
        brush_.reset(CreateSolidBrush(color_));
        brushColor_ = color_;
    }
    RECT fill;
    if (!IntersectRect(&fill, &client, &area)) {
        return;
    }
    FillRect(dc, &fill, brush_.get());
    for (const TImage* image : images_) {
        RECT bounds = image->Bounds();
        RECT overlap;
        if (IntersectRect(&overlap, &bounds, &fill)) {
            image->Paint(dc);
        }
    }
    const int edges = 2 * bevelWidth_;
    RECT inner{client.left + edges, client.top + edges, client.right - edges,
               client.bottom - edges};
    RECT within;
    const bool touchesEdge = !(IntersectRect(&within, &fill, &inner) && EqualRect(&within, &fill));
    if (touchesEdge) {
        RECT edge = client;
        // A wider bevel is the one-pixel edge drawn again a pixel further in.
        for (int pixel = 0; pixel < bevelWidth_ && bevel_ == TBevel::Lowered; ++pixel) {
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
            InflateRect(&edge, -1, -1);
        }
        for (int pixel = 0; pixel < bevelWidth_ && bevelInner_ == TBevel::Lowered; ++pixel) {
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
            InflateRect(&edge, -1, -1);
        }
    }
    BitBlt(target, fill.left, fill.top, fill.right - fill.left, fill.bottom - fill.top, dc,
           fill.left, fill.top, SRCCOPY);
}

void TPanel::PaintNow(const RECT& area) {
    // Without its window the panel has nothing to paint (a null window would
    // mean the screen); while it is hidden, showing it paints it whole.
    if (!Handle() || !IsWindowVisible(Handle())) {
        return;
    }
    // Drawn straight away rather than invalidated and painted later: a cell
    // that changes every second costs one copy to the window, not a round of
    // invalidating, finding and painting it. The DC is clipped as a paint's is.
    WindowDc dc(Handle());
    PaintClient(dc.get(), area);
}

LRESULT TPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDBLCLK:
        if (OnDblClick) {
            OnDblClick();
        }
        return 0;
    case WM_CONTEXTMENU:
        if (OnContextPopup) {
            OnContextPopup(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        }
        break;
    default:
        break;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

#include "analogclock/amclock.h"

#include "analogclock/hand_geometry_rules.h"
#include "analogclock/tick_events_rules.h"
#include "toolkit/bitmap.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"

#include <algorithm>
#include <exception>

namespace {

constexpr wchar_t kClockClass[] = L"TAMClock";

COLORREF ColorToRgb(TColor color) {
    if (IsSystemColor(color)) {
        return GetSysColor(SystemColorIndex(color));
    }
    return static_cast<COLORREF>(color & 0x00FFFFFF);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) {
        return SIZE{0, 0};
    }
    return SIZE{info.bmWidth, info.bmHeight};
}

// A copy, so the caller may free or reuse its bitmap.
UniqueBitmap CopyBitmap(HBITMAP source) {
    SIZE size = BitmapSize(source);
    if (size.cx <= 0 || size.cy <= 0) {
        return UniqueBitmap();
    }
    UniqueBitmap copy = CreateBitmap32(size.cx, size.cy);
    UniqueMemoryDc from(CreateCompatibleDC(nullptr));
    UniqueMemoryDc to(CreateCompatibleDC(nullptr));
    if (!copy || !from || !to) {
        throw Exception("Das Zifferblatt kann nicht kopiert werden.");
    }
    SelectGuard fromBitmap(from.get(), source);
    SelectGuard toBitmap(to.get(), copy.get());
    BitBlt(to.get(), 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY);
    return copy;
}

} // namespace

// --- THand ------------------------------------------------------------------

void THand::SetBackRadius(int backRadius) {
    if (backRadius != backRadius_) {
        backRadius_ = backRadius;
        Changed();
    }
}

void THand::SetColor(TColor color) {
    if (color != color_) {
        color_ = color;
        Changed();
    }
}

void THand::SetRadius(int radius) {
    if (radius != radius_) {
        radius_ = radius;
        Changed();
    }
}

void THand::SetWidth(int width) {
    if (width != width_) {
        width_ = width;
        Changed();
    }
}

void THand::Changed() {
    if (clock_) {
        clock_->Repaint();
    }
}

// --- TCenter ----------------------------------------------------------------

void TCenter::SetCoordinate(int index, int value) {
    int& coordinate = index == 0 ? x_ : y_;
    if (coordinate != value) {
        coordinate = value;
    }
    // A centre set from outside is meant to stay, even when it happens to
    // equal the centred one.
    if (clock_) {
        if (clock_->AutoCenter()) {
            clock_->SetAutoCenter(false);
        }
        clock_->Repaint();
    }
}

// --- TAMClock ---------------------------------------------------------------

TAMClock::TAMClock(HWND parent, int left, int top, int width, int height) {
    // No background brush: the control paints every pixel itself. A DC of its
    // own: each tick draws the frame straight onto the window, and a DC from
    // the shared cache would have its visible region fetched afresh each time.
    if (!CreateWindowHandle({kClockClass, CS_DBLCLKS | CS_OWNDC}, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, {left, top, width, height},
                            parent)) {
        throw Exception("Die Analoguhr kann nicht angelegt werden.");
    }

    try {
        timer_ = std::make_unique<TThrdTimer>();
    } catch (...) {
        DestroyHandle();
        throw;
    }
    ApplyPacing();
    timer_->OnTimer = [this](TThrdTimer*) { ClockTick(); };

    secondsHand_.SetBackRadius(10);
    secondsHand_.SetColor(clRed);
    secondsHand_.SetRadius(48);
    secondsHand_.SetWidth(1);
    minutesHand_.SetBackRadius(0);
    minutesHand_.SetColor(clBlack);
    minutesHand_.SetRadius(secondsHand_.Radius() * 90 / 100);
    minutesHand_.SetWidth(2);
    hoursHand_.SetBackRadius(0);
    hoursHand_.SetColor(clBlack);
    hoursHand_.SetRadius(secondsHand_.Radius() * 70 / 100);
    hoursHand_.SetWidth(2);
}

TAMClock::~TAMClock() {
    // The timer goes first: a tick uses everything below.
    timer_.reset();
    // Nothing may be deleted while a DC still holds it.
    if (frameDc_ && frameDcFirst_) {
        SelectObject(frameDc_.get(), frameDcFirst_);
    }
    if (backdropDc_ && backdropDcFirst_) {
        SelectObject(backdropDc_.get(), backdropDcFirst_);
    }
}

void TAMClock::Loaded() {
    SizeFaceBitmap(Width(), Height());
    if (autoCenter_) {
        Centre();
    }
    LocalTime now = seams::Now();
    lastHour_ = static_cast<std::uint16_t>(now.hour);
    lastMinute_ = static_cast<std::uint16_t>(now.minute);
    lastSecond_ = static_cast<std::uint16_t>(now.second);
}

void TAMClock::ClockTick() {
    tickTime_ = seams::Now();
    const LocalTime& now = tickTime_;
    const auto hour = static_cast<std::uint16_t>(now.hour);
    const auto minute = static_cast<std::uint16_t>(now.minute);
    const auto second = static_cast<std::uint16_t>(now.second);
    hour_ = hour;
    minute_ = minute;
    second_ = second;
    // Three ticks in four find the hands where the last frame drew them; a
    // hidden clock is painted when it is shown. The frame goes straight onto
    // the window, so the hands show before any event runs without a round of
    // invalidating, finding and painting the control.
    const PaintedTime shown{hour_, minute_, second_};
    if (Visible() && !(painted_ && *painted_ == shown)) {
        WindowDc dc(Handle());
        PaintClient(dc.get(), RECT{});
    }

    using Handler = std::function<void(TAMClock*, std::uint16_t)>;
    struct EventArm {
        Handler& event;
        std::uint16_t& last;
    };
    std::weak_ptr<int> alive = alive_;
    for (const ClockEventCall& call :
         ChangedClockEvents({lastHour_, lastMinute_, lastSecond_}, {hour_, minute_, second_})) {
        const EventArm arm = call.event == ClockEvent::Second   ? EventArm{OnSecond, lastSecond_}
                             : call.event == ClockEvent::Minute ? EventArm{OnMinute, lastMinute_}
                                                                : EventArm{OnHour, lastHour_};
        // A copy, so that a handler may reassign its own event.
        if (auto handler = arm.event) {
            handler(this, call.value);
        }
        if (alive.expired()) {
            return;
        }
        arm.last = call.value;
    }
    if (auto handler = OnTimer) {
        handler(this);
    }
}

void TAMClock::SetAutoCenter(bool autoCenter) {
    if (autoCenter == autoCenter_) {
        return;
    }
    if (autoCenter) {
        Centre();
    }
    autoCenter_ = autoCenter;
    Repaint();
}

void TAMClock::SetInterval(std::uint16_t interval) {
    if (interval == interval_) {
        return;
    }
    interval_ = interval;
    ApplyPacing();
    Repaint();
}

void TAMClock::ApplyPacing() {
    if (interval_ != 0) {
        timer_->SetInterval(interval_);
    }
    timer_->SetOnTheSecond(interval_ == 0);
}

void TAMClock::TimeChanged() {
    // Every event comes again, whether its value changed or not: all that
    // hangs on them (the time, the date, the alarm) is looked at afresh.
    lastHour_ = lastMinute_ = lastSecond_ = 0xFFFF;
    ClockTick();
    timer_->Reaim();
}

void TAMClock::SetPriority(TThreadPriority priority) {
    if (priority == priority_) {
        return;
    }
    priority_ = priority;
    timer_->SetPriority(priority_);
}

HBITMAP TAMClock::Face() const {
    if (!pictureChosen_) {
        pictureChosen_ = true;
        // Without the resource the face stays empty: background and hands only.
        picture_.reset(LoadBitmapW(GetModuleHandleW(nullptr), L"SAMPLECLOCK"));
    }
    return picture_.get();
}

void TAMClock::SetPicture(HBITMAP bitmap) {
    if (transparent_ && !bitmap) {
        // Decided on the picture still in place, whose corner gives the colour.
        SetTransparent(false);
    }
    pictureChosen_ = true;
    UniqueBitmap copy = CopyBitmap(bitmap);
    picture_ = std::move(copy);
    backdropValid_ = false;
    // An empty face keeps the control's size rather than shrinking it to nothing.
    if (picture_) {
        SIZE size = BitmapSize(picture_.get());
        // A face of the size the control has already (every style change
        // after the first) moves no window.
        if (size.cx != Width()) {
            SetWindowPos(Handle(), nullptr, 0, 0, size.cx, Height(),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SizeFaceBitmap(size.cx, faceHeight_);
        if (size.cy != Height()) {
            SetWindowPos(Handle(), nullptr, 0, 0, size.cx, size.cy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SizeFaceBitmap(size.cx, size.cy);
    }
    if (autoCenter_) {
        Centre();
    }
    Repaint();
}

void TAMClock::SetTransparent(bool transparent) {
    if (transparent == transparent_ || !Face()) {
        return;
    }
    transparent_ = transparent;
    transparentColor_ = PictureBottomLeft();
    backdropValid_ = false;
    Repaint();
}

void TAMClock::SetTransparentColor(TColor color) {
    if (color == transparentColor_) {
        return;
    }
    transparentColor_ = color;
    if (color != clNone && !transparent_) {
        transparent_ = true;
    }
    backdropValid_ = false;
    Repaint();
}

void TAMClock::SetColor(TColor color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    parentColor_ = false;
    Repaint();
}

void TAMClock::SetParentColor(bool parentColor) {
    if (parentColor == parentColor_) {
        return;
    }
    parentColor_ = parentColor;
    if (parentColor_ && hasParentColor_ && color_ != parentColorValue_) {
        color_ = parentColorValue_;
        Repaint();
    }
}

void TAMClock::ParentColorChanged(TColor parentColor) {
    hasParentColor_ = true;
    parentColorValue_ = parentColor;
    if (parentColor_ && color_ != parentColor) {
        color_ = parentColor;
        Repaint();
    }
}

bool TAMClock::Enabled() const {
    return IsWindowEnabled(Handle()) != FALSE;
}

void TAMClock::SetEnabled(bool enabled) {
    // WM_ENABLE passes the change on to the timer.
    EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool TAMClock::Visible() const {
    return (GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TAMClock::SetVisible(bool visible) {
    if (visible == Visible()) {
        return;
    }
    // The timer is left alone: a hidden clock keeps raising its events.
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    Repaint();
}

void TAMClock::SetBounds(int left, int top, int width, int height) {
    SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int TAMClock::Width() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.right;
}

int TAMClock::Height() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.bottom;
}

void TAMClock::Repaint() {
    // Off the screen (the clock hidden, or its window not yet shown) there is
    // nothing to repaint; the showing paints it whole.
    if (Handle() && IsWindowVisible(Handle())) {
        // No erase: every pixel comes from the off-screen frame.
        InvalidateRect(Handle(), nullptr, FALSE);
        UpdateWindow(Handle());
    }
}

void TAMClock::Centre() {
    ClockPoint centre = FaceCentre(Width(), Height());
    center_.x_ = centre.x;
    center_.y_ = centre.y;
}

void TAMClock::SizeFaceBitmap(int width, int height) {
    if (faceBitmap_ && width == faceWidth_ && height == faceHeight_) {
        return;
    }
    if (frameDc_ && frameDcFirst_) {
        SelectObject(frameDc_.get(), frameDcFirst_);
        frameDcFirst_ = nullptr;
    }
    faceBitmap_.reset();
    faceWidth_ = std::max(width, 0);
    faceHeight_ = std::max(height, 0);
    if (faceWidth_ > 0 && faceHeight_ > 0) {
        faceBitmap_ = CreateBitmap32(faceWidth_, faceHeight_);
        if (!faceBitmap_) {
            throw Exception("Das Bild der Analoguhr kann nicht angelegt werden.");
        }
    }
}

TColor TAMClock::PictureBottomLeft() const {
    const HBITMAP face = Face();
    SIZE size = BitmapSize(face);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || size.cy <= 0) {
        return transparentColor_;
    }
    SelectGuard bitmap(dc.get(), face);
    COLORREF pixel = GetPixel(dc.get(), 0, size.cy - 1);
    return pixel == CLR_INVALID ? transparentColor_ : static_cast<TColor>(pixel);
}

void TAMClock::PaintTo(HDC target) {
    const int width = Width();
    const int height = Height();
    SizeFaceBitmap(width, height);
    if (!faceBitmap_) {
        return;
    }
    if (!frameDc_) {
        frameDc_.reset(CreateCompatibleDC(nullptr));
        if (!frameDc_) {
            throw Exception("Die Analoguhr kann nicht gezeichnet werden.");
        }
    }
    if (!frameDcFirst_) {
        frameDcFirst_ = SelectObject(frameDc_.get(), faceBitmap_.get());
    }
    HDC backdrop = Backdrop(width, height);
    if (!backdrop) {
        throw Exception("Die Analoguhr kann nicht gezeichnet werden.");
    }

    // The whole frame is composed here and copied in one step.
    HDC dc = frameDc_.get();
    BitBlt(dc, 0, 0, width, height, backdrop, 0, 0, SRCCOPY);
    DrawHand(dc, 0, hoursHand_, HourHandAngle(hour_, minute_));
    DrawHand(dc, 1, minutesHand_, MinuteHandAngle(minute_));
    DrawHand(dc, 2, secondsHand_, SecondHandAngle(second_));
    BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    painted_ = PaintedTime{hour_, minute_, second_};
}

void TAMClock::PaintClient(HDC dc, const RECT& /*area*/) {
    // A frame that cannot be drawn (no memory for a bitmap or a device
    // context just now) is skipped; the next tick or paint tries again, and
    // no error box stands over a frame that the next second draws anyway.
    try {
        PaintTo(dc);
    } catch (const std::exception&) {
        painted_.reset();
    }
}

HDC TAMClock::Backdrop(int width, int height) {
    const BackdropKey key{ColorToRgb(color_), ColorToRgb(transparentColor_), transparent_, width,
                          height};
    if (backdropValid_ && key == backdropKey_) {
        return backdropDc_.get();
    }
    backdropValid_ = false;
    if (!backdropDc_) {
        backdropDc_.reset(CreateCompatibleDC(nullptr));
        if (!backdropDc_) {
            return nullptr;
        }
    }
    if (!backdrop_ || key.width != backdropKey_.width || key.height != backdropKey_.height) {
        if (backdropDcFirst_) {
            SelectObject(backdropDc_.get(), backdropDcFirst_);
            backdropDcFirst_ = nullptr;
        }
        backdrop_ = CreateBitmap32(width, height);
        if (!backdrop_) {
            return nullptr;
        }
        backdropDcFirst_ = SelectObject(backdropDc_.get(), backdrop_.get());
    }
    HDC dc = backdropDc_.get();
    UniqueBrush brush(CreateSolidBrush(key.background));
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush.get());
    DrawFace(dc, width, height);
    backdropKey_ = key;
    backdropValid_ = true;
    return dc;
}

void TAMClock::DrawFace(HDC dc, int width, int height) {
    const HBITMAP face = Face();
    if (!face) {
        return;
    }
    SIZE size = BitmapSize(face);
    UniqueMemoryDc pictureDc(CreateCompatibleDC(dc));
    if (!pictureDc) {
        return;
    }
    SelectGuard picture(pictureDc.get(), face);
    if (transparent_ && transparentColor_ != clNone) {
        // Pixels of the transparent colour keep the background already laid
        // down. Source and destination are the client area, cut to the
        // picture when the control has grown past it.
        const int w = std::min<int>(width, size.cx);
        const int h = std::min<int>(height, size.cy);
        if (w > 0 && h > 0) {
            TransparentBlt(dc, 0, 0, w, h, pictureDc.get(), 0, 0, w, h,
                           ColorToRgb(transparentColor_));
        }
    } else {
        BitBlt(dc, 0, 0, size.cx, size.cy, pictureDc.get(), 0, 0, SRCCOPY);
    }
}

void TAMClock::DrawHand(HDC dc, std::size_t slot, const THand& hand, double angle) {
    HandPen& cached = pens_[slot];
    const COLORREF color = ColorToRgb(hand.Color());
    if (!cached.pen || cached.width != hand.Width() || cached.color != color) {
        cached.pen.reset(CreatePen(PS_SOLID, hand.Width(), color));
        cached.width = hand.Width();
        cached.color = color;
    }
    if (!cached.pen) {
        return;
    }
    SelectGuard selected(dc, cached.pen.get());
    const ClockPoint centre{center_.X(), center_.Y()};
    HandLine line = HandEnds(centre, angle, hand.BackRadius(), hand.Radius());
    if (line.hasBack) {
        MoveToEx(dc, centre.x, centre.y, nullptr);
        LineTo(dc, line.back.x, line.back.y);
    }
    MoveToEx(dc, centre.x, centre.y, nullptr);
    LineTo(dc, line.tip.x, line.tip.y);
}

void TAMClock::MouseDown(TMouseButton button, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    if (button == TMouseButton::mbLeft) {
        if (interactive_) {
            center_.SetX(x);
            center_.SetY(y);
        }
        clickPending_ = true;
        SetCapture(Handle());
    }
    if (auto handler = OnMouseDown) {
        handler(this, button, static_cast<unsigned>(wParam), x, y);
    }
}

void TAMClock::MouseUp(TMouseButton button, WPARAM wParam, LPARAM lParam) {
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    std::weak_ptr<int> alive = alive_;
    if (button == TMouseButton::mbLeft && clickPending_) {
        clickPending_ = false;
        ReleaseCapture();
        // A click is a press and release both inside the control.
        if (x >= 0 && y >= 0 && x < Width() && y < Height()) {
            if (auto handler = OnClick) {
                handler(this);
            }
            if (alive.expired()) {
                return;
            }
        }
    }
    if (auto handler = OnMouseUp) {
        handler(this, button, static_cast<unsigned>(wParam), x, y);
    }
}

LRESULT TAMClock::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!timer_) {
        // Before the constructor has finished, the system does all.
        return message == WM_ERASEBKGND ? 1 : DefaultHandler(message, wParam, lParam);
    }
    HWND window = Handle();
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_ENABLE:
        timer_->SetEnabled(wParam != 0);
        Repaint();
        return 0;
    case WM_MOUSEMOVE: {
        std::weak_ptr<int> alive = alive_;
        if (!mouseInside_) {
            mouseInside_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
            if (auto handler = OnMouseEnter) {
                handler(this);
            }
            if (alive.expired()) {
                return 0;
            }
        }
        if (auto handler = OnMouseMove) {
            handler(this, static_cast<unsigned>(wParam), static_cast<short>(LOWORD(lParam)),
                    static_cast<short>(HIWORD(lParam)));
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        mouseInside_ = false;
        if (auto handler = OnMouseLeave) {
            handler(this);
        }
        return 0;
    case WM_LBUTTONDOWN:
        MouseDown(TMouseButton::mbLeft, wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK: {
        std::weak_ptr<int> alive = alive_;
        if (auto handler = OnDBlClick) {
            handler(this);
        }
        if (alive.expired()) {
            return 0;
        }
        MouseDown(TMouseButton::mbLeft, wParam, lParam);
        return 0;
    }
    case WM_LBUTTONUP:
        MouseUp(TMouseButton::mbLeft, wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        MouseDown(TMouseButton::mbRight, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        MouseUp(TMouseButton::mbRight, wParam, lParam);
        // The default handling turns this into WM_CONTEXTMENU for the parent.
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        MouseDown(TMouseButton::mbMiddle, wParam, lParam);
        return 0;
    case WM_MBUTTONUP:
        MouseUp(TMouseButton::mbMiddle, wParam, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        clickPending_ = false;
        return 0;
    default:
        break;
    }
    return TWindow::HandleMessage(message, wParam, lParam);
}

#pragma once
// TAMClock: an analog clock control. It shows a face picture with three hands
// over it and, at every tick of its own thread timer, reads the local time,
// redraws and raises events when the second, minute or hour has changed. It
// goes on ticking while hidden; disabled, it ticks no more.
#include "analogclock/thread_timer.h"
#include "toolkit/color_rules.h"
#include "toolkit/gdi.h"
#include "toolkit/local_time_rules.h"
#include "toolkit/window.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class TAMClock;

// One hand: its length in front of and behind the centre, colour and pen width.
class THand {
  public:
    explicit THand(TAMClock* clock) : clock_(clock) {}
    THand(const THand&) = delete;
    THand& operator=(const THand&) = delete;

    int BackRadius() const { return backRadius_; }
    void SetBackRadius(int backRadius);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Radius() const { return radius_; }
    void SetRadius(int radius);
    int Width() const { return width_; }
    void SetWidth(int width);
    TAMClock* Clock() const { return clock_; }

  private:
    void Changed();

    TAMClock* clock_;
    int backRadius_ = 10;
    TColor color_ = clRed;
    int radius_ = 90;
    int width_ = 2;
};

// The pivot point of the hands, in control pixels. Setting it from outside
// turns the clock's AutoCenter off.
class TCenter {
  public:
    explicit TCenter(TAMClock* clock) : clock_(clock) {}
    TCenter(const TCenter&) = delete;
    TCenter& operator=(const TCenter&) = delete;

    int X() const { return x_; }
    int Y() const { return y_; }
    void SetX(int x) { SetCoordinate(0, x); }
    void SetY(int y) { SetCoordinate(1, y); }
    // Index 0 is X, 1 is Y.
    void SetCoordinate(int index, int value);
    TAMClock* Clock() const { return clock_; }

  private:
    friend class TAMClock;
    TAMClock* clock_;
    int x_ = 50;
    int y_ = 50;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

class TAMClock : public TWindow {
  public:
    // Makes the control as a visible child of parent. The timer starts at once;
    // its ticks arrive once the thread returns to a message loop. Call Loaded()
    // after setting the instance's properties.
    explicit TAMClock(HWND parent, int left = 0, int top = 0, int width = 100, int height = 100);
    ~TAMClock() override;

    // Once all properties are set: centres if AutoCenter is on and takes the
    // current time as the one already announced, so the first OnMinute comes
    // at the next change of minute.
    void Loaded();

    // The tick: reads the time, repaints, raises the change events and OnTimer.
    // Run by the timer; public so that a tick can be driven directly.
    void ClockTick();

    bool AutoCenter() const { return autoCenter_; }
    void SetAutoCenter(bool autoCenter);
    TCenter& Center() { return center_; }
    THand& HoursHand() { return hoursHand_; }
    THand& MinutesHand() { return minutesHand_; }
    THand& SecondsHand() { return secondsHand_; }

    // 0, as made: a tick just after each second begins, so the second shown
    // changes with the true one. Otherwise a tick every Interval
    // milliseconds (tests and benchmarks that drive the time faster).
    std::uint16_t Interval() const { return interval_; }
    void SetInterval(std::uint16_t interval);
    // Redraws at once and aims the next tick afresh: for when the system time
    // has been set or the machine has woken.
    void TimeChanged();
    TThreadPriority Priority() const { return timer_->Priority(); }
    void SetPriority(TThreadPriority priority);
    bool Interactive() const { return interactive_; }
    void SetInteractive(bool interactive) { interactive_ = interactive; }

    // The face. The clock keeps its own copy; the caller keeps the bitmap it
    // passes. A null bitmap empties the face. Resizes the control to the picture.
    HBITMAP Picture() const { return Face(); }
    void SetPicture(HBITMAP bitmap);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor color);

    // Background colour. Setting it turns ParentColor off; while ParentColor is
    // on, the owner passes its own colour on through ParentColorChanged.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    void ParentColorChanged(TColor parentColor);

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);

    void SetBounds(int left, int top, int width, int height);
    int Width() const;
    int Height() const;

    // The time read at the last tick (all 0 before the first).
    std::uint16_t Hour() const { return hour_; }
    std::uint16_t Minute() const { return minute_; }
    std::uint16_t Second() const { return second_; }
    // The whole local time the last tick read: the events of one tick hand
    // it on, so that everything a tick draws and decides shares one reading.
    const LocalTime& TickTime() const { return tickTime_; }

    // Draws the current frame onto dc at (0, 0), as a paint does.
    void PaintTo(HDC dc);

    std::function<void(TAMClock* sender, std::uint16_t second)> OnSecond;
    std::function<void(TAMClock* sender, std::uint16_t minute)> OnMinute;
    std::function<void(TAMClock* sender, std::uint16_t hour)> OnHour;
    std::function<void(TAMClock* sender)> OnTimer;
    std::function<void(TAMClock* sender)> OnMouseEnter;
    std::function<void(TAMClock* sender)> OnMouseLeave;
    std::function<void(TAMClock* sender)> OnClick;
    std::function<void(TAMClock* sender)> OnDBlClick;
    // keys: the MK_* flags of the mouse message; x, y in control pixels.
    std::function<void(TAMClock* sender, TMouseButton button, unsigned keys, int x, int y)>
        OnMouseDown;
    std::function<void(TAMClock* sender, TMouseButton button, unsigned keys, int x, int y)>
        OnMouseUp;
    std::function<void(TAMClock* sender, unsigned keys, int x, int y)> OnMouseMove;

  private:
    friend class THand;
    friend class TCenter;

    // Redraws at once (the hands of a tick must show before its events run).
    void Repaint();
    void Centre();
    // How the timer paces the ticks, decided from Interval in this one place.
    void ApplyPacing();
    void SizeFaceBitmap(int width, int height);
    TColor PictureBottomLeft() const;
    void DrawFace(HDC dc, int width, int height);
    // The background with the face over it, composed again only when one of
    // them or the size has changed: a tick only moves the hands.
    HDC Backdrop(int width, int height);
    void DrawHand(HDC dc, std::size_t slot, const THand& hand, double angle);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PaintsClient() const override { return true; }
    void PaintClient(HDC dc, const RECT& area) override;
    void MouseDown(TMouseButton button, WPARAM wParam, LPARAM lParam);
    void MouseUp(TMouseButton button, WPARAM wParam, LPARAM lParam);

    // Lets code that raised an event see whether the handler destroyed the clock.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);

    std::uint16_t interval_ = 0;
    std::unique_ptr<TThrdTimer> timer_;
    UniqueBitmap faceBitmap_;
    int faceWidth_ = 0;
    int faceHeight_ = 0;
    // Kept from paint to paint, with faceBitmap_ selected while it exists.
    UniqueMemoryDc frameDc_;
    HGDIOBJ frameDcFirst_ = nullptr;
    // The sample face is loaded when first needed: a clock that is given a
    // face of its own before it is drawn never loads it.
    HBITMAP Face() const;
    mutable UniqueBitmap picture_;
    mutable bool pictureChosen_ = false;

    struct BackdropKey {
        COLORREF background;
        COLORREF transparentColor;
        bool transparent;
        int width;
        int height;
        bool operator==(const BackdropKey&) const = default;
    };
    UniqueBitmap backdrop_;
    UniqueMemoryDc backdropDc_;
    HGDIOBJ backdropDcFirst_ = nullptr;
    BackdropKey backdropKey_{};
    bool backdropValid_ = false;

    struct HandPen {
        UniquePen pen;
        int width = -1;
        COLORREF color = 0;
    };
    HandPen pens_[3];

    LocalTime tickTime_{};
    std::uint16_t hour_ = 0;
    std::uint16_t minute_ = 0;
    std::uint16_t second_ = 0;
    std::uint16_t lastHour_ = 0;
    std::uint16_t lastMinute_ = 0;
    std::uint16_t lastSecond_ = 0;
    struct PaintedTime {
        std::uint16_t hour, minute, second;
        bool operator==(const PaintedTime&) const = default;
    };
    // The time the last frame showed; none before the first paint.
    std::optional<PaintedTime> painted_;
    TThreadPriority priority_ = TThreadPriority::tpNormal;

    THand secondsHand_{this};
    THand minutesHand_{this};
    THand hoursHand_{this};
    TCenter center_{this};

    bool autoCenter_ = true;
    bool interactive_ = false;
    bool transparent_ = true;
    TColor transparentColor_ = clOlive;
    TColor color_ = clWindow;
    bool parentColor_ = true;
    bool hasParentColor_ = false;
    TColor parentColorValue_ = clWindow;
    bool mouseInside_ = false;
    bool clickPending_ = false;
};

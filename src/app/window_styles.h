#pragma once
// The clock window's window styles (standard, mini, taskbar), the analog
// mode, always-on-top, and the timer that keeps the taskbar window fitted to
// the taskbar's clock area. The menu items' check marks hold which style is
// in force; the settings file remembers it.
#include "analogclock/amclock.h"
#include "app/clock_display.h"
#include "app/clock_menu.h"
#include "rules/window_layout.h"
#include "toolkit/form.h"
#include "toolkit/panel.h"
#include "toolkit/timer.h"

#include <functional>
#include <memory>

class TApplication;

class TWindowStyles {
  public:
    // What the styles need of the main window.
    struct Links {
        TForm& window;
        TApplication& application;
        TClockMenu& menu;
        TClockDisplay& display;
        // The layout, made anew with the window: the large row, the menu
        // button's panel, the small row, the date row and the analog clock.
        std::unique_ptr<TPanel>& largeRow;
        std::unique_ptr<TPanel>& buttonPanel;
        std::unique_ptr<TPanel>& smallRow;
        std::unique_ptr<TPanel>& dateRow;
        std::unique_ptr<TAMClock>& analogClock;
        // Draws the time as a tick would; applies the checked display style.
        std::function<void()> drawTime;
        std::function<void()> applyDisplayStyle;
        // Lays the window's children, cells, strips, faces and hands out
        // again at another factor; the window's own size is the style's.
        std::function<void(int from, int to)> rescale;
    };
    explicit TWindowStyles(Links links);
    TWindowStyles(const TWindowStyles&) = delete;
    TWindowStyles& operator=(const TWindowStyles&) = delete;

    // The three window styles; each stores itself as the chosen one. The
    // taskbar style told by the user says so when there is no taskbar clock
    // area; entered otherwise it waits for one in the mini window.
    void Standard();
    void Mini();
    void Taskbar(bool byUser);
    // Switches between the analog and the digital large row.
    void ToggleAnalog();
    // Switches always-on-top and stores it.
    void ToggleOnTop();
    // Keeps the taskbar window fitted to the taskbar's clock area; the
    // timer's tick.
    void FitToTaskbar();
    // Goes on top again when the stored state asks for it (after a modal dialog).
    void OnTopAgain();
    // Pulls the window back onto the desktop when it lies wholly off it, or
    // onto the nearest monitor when it lies in a corner that none shows.
    void PullOnScreen();

    void SetStayOnTop(bool onTop);
    void GoOnTop();
    // Sitting in the taskbar, not waiting for one.
    bool InTaskbar() const { return Taskleiste1.Checked() && !waitingForTaskbar_; }
    // The owner of every box and dialog the clock opens: its own window, or
    // the application's while it sits in the taskbar, where a box owned by
    // the clock would belong to the taskbar and disable it.
    HWND BoxOwner() const;

    // High-DPI screens: the layout is that of a 96-DPI screen drawn larger by
    // a whole factor, the monitor's on the desktop; in the taskbar the
    // taskbar's monitor's, or a smaller one that fits its clock area. The window's children are
    // made at factor 1; the styles lay them out at the monitor's.
    void StartAtMonitorScale(int monitorFactor) {
        dpiScale_ = monitorFactor;
        layoutScale_ = 1;
    }
    int LayoutScale() const { return layoutScale_; }
    // The window was moved to a monitor of another DPI.
    void DpiChanged(int dpi, const RECT& suggested);

    // Keeps the taskbar window fitted to the taskbar; runs only in that style.
    TTimer Timer1{100, false};
    // The taskbar's clock window, found when the taskbar style is entered.
    HWND TrayClockWindow = nullptr;

  private:
    // The first steps of both desktop styles: back onto the desktop with a
    // frame, at the stored position, on top again if wanted.
    struct StoredPlace {
        int left;
        int top;
        bool pulledOnScreen;
    };
    StoredPlace ReturnToDesktop(TMenuItem& styleItem);
    // The mini layout, with styleItem checked in the menu.
    void ShowMini(TMenuItem& styleItem);
    // The taskbar style without a taskbar clock area: the mini window
    // stands in until the timer finds one.
    void WaitForTaskbar();
    bool waitingForTaskbar_ = false;
    // A stored place that lay off the screen was pulled back with the old
    // size; with the new size it is pulled back again, flush with the edge.
    void PullOnScreenForNewSize(const StoredPlace& place);
    // Dialog frame on the desktop, or none as a child of the taskbar's clock.
    void SetFrame(bool dialogFrame);
    // True when the layout changed to that factor.
    bool LayOutAtScale(int factor);
    int S(int length) const { return length * layoutScale_; }
    PanelPlace S(const PanelPlace& place) const { return ScaledPlace(place, layoutScale_); }
    int dpiScale_ = 1;
    int layoutScale_ = 1;

    TForm& window_;
    TApplication& application_;
    TClockDisplay& display_;
    TMenuItem& Standard1;
    TMenuItem& Mini1;
    TMenuItem& Taskleiste1;
    TMenuItem& Analoguhr1;
    TMenuItem& ImmerimVordergrund1;
    std::unique_ptr<TPanel>& Panel1;
    std::unique_ptr<TPanel>& Panel2;
    std::unique_ptr<TPanel>& Panel3;
    std::unique_ptr<TPanel>& Panel4;
    std::unique_ptr<TAMClock>& AMClock1;
    std::function<void()> drawTime_;
    std::function<void()> applyDisplayStyle_;
    std::function<void(int from, int to)> rescale_;
};

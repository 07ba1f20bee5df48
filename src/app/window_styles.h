#pragma once
// The clock window's window styles (standard, mini, taskbar), the analog
// mode, always-on-top, and the timer that keeps the taskbar window fitted to
// the taskbar's clock area. The menu items' check marks hold which style is
// in force; the settings file remembers it.
#include "app/clock_layout.h"
#include "toolkit/menu.h"
#include "toolkit/scale_rules.h"
#include "toolkit/timer.h"

#include <windows.h>

#include <functional>

class TApplication;
class TClockMenu;
class TDisplayStyles;
class TForm;
struct ProgramObjects;

class TWindowStyles {
  public:
    // What the styles need of the main window.
    struct Links {
        TForm& window;
        TApplication& application;
        // Its check marks hold which style is in force.
        TClockMenu& menu;
        TClockLayout& layout;
        const ProgramObjects& objects;
        // Draws the checked display style with the alarm line, time and date.
        TDisplayStyles& displayStyles;
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
    void Timer1Timer();
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
    // taskbar's monitor's, or a smaller one that fits its clock area. The
    // window's children are made at factor 1; the styles lay them out at the
    // monitor's.
    void StartAtMonitorScale(Scale monitor) { dpiScale_ = monitor; }
    // The window was moved to a monitor of another DPI.
    void DpiChanged(int dpi, const RECT& suggested);

    // Nothing is fitted into the taskbar any more: the window closes.
    void StopTaskbarWatch() { Timer1.SetEnabled(false); }

  private:
    // What the tests see: whether the watch runs.
    friend class TMainWindowProbe;

    // Keeps the taskbar window fitted to the taskbar; runs only in that style.
    TTimer Timer1{100, false};
    // The taskbar's clock window, or the taskbar without one, that holds the
    // clock; found when the taskbar style is entered.
    HWND TrayClockWindow = nullptr;
    // The first steps of both desktop styles: back onto the desktop with a
    // frame, laid out for the style, at the stored position where that
    // counts, on top again if wanted.
    struct StoredPlace {
        int left;
        int top;
        bool pulledOnScreen;
    };
    StoredPlace ReturnToDesktop(TMenuItem& styleItem, ClockStyle style, bool analog);
    // The mini layout, with styleItem checked in the menu.
    void ShowMini(TMenuItem& styleItem);
    // The taskbar style without a taskbar clock area: the mini window
    // stands in until the timer finds one.
    void WaitForTaskbar();
    bool waitingForTaskbar_ = false;
    // At the start and after the taskbar, where the desktop place was stored.
    bool placeFromSettings_ = true;
    // The style's size, drawn whole. A stored place that lay off the screen
    // was pulled back with the old size; with the new size it is pulled back
    // again, flush with the edge.
    void SizeForDesktop(bool mini, const StoredPlace& place);
    // Dialog frame on the desktop, or none as a child of the taskbar's clock.
    void SetFrame(bool dialogFrame);
    // The layout was drawn at another scale: its emptied cells drawn again.
    void Rescaled();
    Scale dpiScale_;

    TForm& window_;
    TApplication& application_;
    TClockLayout& layout_;
    const ProgramObjects& objects_;
    TMenuItem& Standard1;
    TMenuItem& Mini1;
    TMenuItem& Taskleiste1;
    TMenuItem& Analoguhr1;
    TMenuItem& ImmerimVordergrund1;
    TDisplayStyles& displayStyles_;
};

#pragma once
// What the tests see of the main window, and the few things they drive: the
// menu as the user has it, a tick of the clock, the outer size, the owner of
// the boxes; and the parts, for what only they show.
#include <windows.h>

#include <string>

class TClockDisplay;
class TControlPopupMenu;
class TPopupMenu;
class TClockLayout;
class TForm1;
class TMenuItem;
class TNoTask;
class TTimer;
class TWindowStyles;

class TMainWindowProbe {
  public:
    explicit TMainWindowProbe(TForm1& window) : window_(window) {}

    // The context menu's item of that caption, with or without its access
    // key ("&Mini" or "Mini").
    TMenuItem& Item(const std::string& caption) const;
    // The item chosen from the menu.
    void Choose(const std::string& caption) const;
    // The caption of the checked display style.
    std::string CheckedStyle() const;
    // The context menu and the dialogs' "&Direkthilfe" menu.
    TPopupMenu& Menu() const;
    TControlPopupMenu& HelpMenu() const;
    // The context menu opened at a screen point, as a right click does.
    void OpenMenu(int x, int y) const;
    // The checked display style drawn again, as after a change of scale.
    void Redraw() const;
    // A second's and a minute's tick of the clock, at the time the clock seam gives.
    void Tick() const;
    void MinuteTick() const;
    // The automatic update check's tick.
    void UpdateTick() const;
    SIZE OuterSize() const;
    // The window the alarm's boxes are owned by.
    HWND BoxOwner() const;

    TClockDisplay& Display() const;
    TClockLayout& Layout() const;
    TWindowStyles& Styles() const;
    TTimer& UpdateTimer() const;
    TNoTask* NoTask() const;

  private:
    TForm1& window_;
};

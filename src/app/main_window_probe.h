#pragma once
// What the tests see of the main window, and the few things they drive: the
// menu as the user has it, a tick of the clock, the rows as they are placed
// and drawn, the outer size, the owner of the boxes; and the parts, for what
// only they show.
#include <windows.h>

#include <string>
#include <vector>

class TClockDisplay;
class TControlPopupMenu;
class TPopupMenu;
class TClockLayout;
class TForm1;
class TMenuItem;
class TWindowStyles;

// The rows of the main window: the large time row, the alarm line (or the
// small time), the date, the menu button's holder and the analog clock.
enum class ClockRow { Large, Small, Date, MenuButton, AnalogClock };

class TMainWindowProbe {
  public:
    explicit TMainWindowProbe(TForm1& window) : window_(window) {}

    // The context menu's item of that caption, with or without its access
    // key ("&Mini" or "Mini").
    TMenuItem& Item(const std::string& caption) const;
    // The item chosen from the menu.
    void Choose(const std::string& caption) const;
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

    // The glyph each cell of a digit row (large, small, date) shows, left to
    // right, as its index in the row's strip; -1 for an empty cell.
    std::vector<int> Glyphs(ClockRow row) const;
    // Which cells of a digit row are shown, left to right: "1" shown, "0" hidden.
    std::string CellsShown(ClockRow row) const;
    // Where a cell of a digit row lies in its row.
    RECT CellPlace(ClockRow row, int cell) const;
    // A row's window, its own visibility (whether or not the form is shown),
    // its place in its parent and its colour (the analog clock's: its hands',
    // CLR_INVALID when they differ).
    HWND Window(ClockRow row) const;
    bool Shown(ClockRow row) const;
    RECT Place(ClockRow row) const;
    COLORREF Colour(ClockRow row) const;
    // The menu button; null while the window shows none.
    HWND MenuButton() const;
    // The interval of the watch that fits the window into the taskbar; 0
    // while it does not run.
    UINT TaskbarWatch() const;
    // The automatic update check's timer.
    bool UpdateCheckOn() const;
    UINT UpdateInterval() const;
    void SetUpdateInterval(UINT interval) const;
    // Whether the window hides itself from the taskbar's buttons.
    bool HiddenFromTaskbar() const;

    TClockDisplay& Display() const;
    TClockLayout& Layout() const;
    TWindowStyles& Styles() const;

  private:
    TForm1& window_;
};

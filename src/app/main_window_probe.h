#pragma once
// What the tests see of the main window, and the few things they drive: the
// menu as the user has it, the ticks of the clock and of the window's timers,
// the rows as they are placed and drawn, the outer size. It asks the parts
// what a user sees and hands none of them out.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TClockDisplay;
class TClockLayout;
class TControlPopupMenu;
class TForm1;
class TImage;
class TMenuItem;
class TPanel;
class TPopupMenu;

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
    // A tick of the clock's own timer, as it comes while the clock runs.
    void ClockTick() const;
    // Whether the clock's ticks run; told of each as it comes.
    bool ClockTicking() const;
    void WhenClockTicks(const std::function<void()>& seen) const;
    // The automatic update check's tick, and the taskbar watch's.
    void UpdateTick() const;
    void TaskbarTick() const;
    SIZE OuterSize() const;

    // The glyph each cell of a digit row (large, small, date) shows, left to
    // right, as its index in the row's strip; -1 for an empty cell.
    std::vector<int> Glyphs(ClockRow row) const;
    // Which cells of a digit row are shown, left to right: "1" shown, "0" hidden.
    std::string CellsShown(ClockRow row) const;
    // Where a cell of a digit row lies in its row.
    RECT CellPlace(ClockRow row, int cell) const;
    // The picture a cell of a digit row shows, and the analog clock's face.
    HBITMAP CellPicture(ClockRow row, int cell) const;
    HBITMAP Face() const;
    // The analog clock's centre and its second hand's length, as drawn.
    POINT ClockCentre() const;
    int SecondsHandRadius() const;
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

  private:
    // A digit row's cells, left to right; a row's panel, null for the analog clock.
    static std::vector<const TImage*> Cells(const TClockDisplay& display, ClockRow row);
    static const TPanel* Panel(const TClockLayout& layout, ClockRow row);

    TForm1& window_;
};

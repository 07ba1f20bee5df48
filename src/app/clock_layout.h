#pragma once
// The clock window's layout: the panels of the large row, the date, the small
// row and the menu button, the analog clock and the menu button itself. It
// owns them, places them for a window style, analog mode and scale from the
// places of rules/window_layout.h, and keeps each one's place in 96-DPI
// pixels, from which the whole layout is drawn again at another scale.
#include "rules/window_layout.h"
#include "toolkit/scale_rules.h"

#include <windows.h>

#include <array>
#include <functional>
#include <memory>

class TAMClock;
class TClockDisplay;
class TExplorerButton;
class TPanel;
class TPopupMenu;

enum class ClockStyle { Standard, Mini, Taskbar };

class TClockLayout {
  public:
    explicit TClockLayout(TClockDisplay& display);
    ~TClockLayout();
    TClockLayout(const TClockLayout&) = delete;
    TClockLayout& operator=(const TClockLayout&) = delete;

    // Made with the window at the 96-DPI places, in this order: the rows
    // with their cells and the analog clock, then the menu button.
    void CreateRows(HWND window);
    void CreateMenuButton(HWND window, TPopupMenu& menu);
    bool Created() const { return Panel1 != nullptr; }
    // Gone with the window; the clock's timer before the panels it draws on.
    void Destroy();

    // Lays the window out for a style entered (again), with the analog clock
    // on or off, at a scale. The taskbar's row then takes the tray clock's
    // area from FitToTray.
    // True when that drew the layout at another scale.
    bool LayOut(ClockStyle style, bool analog, Scale scale);
    // Switches between the analog and the digital large row within a style:
    // the alarm line goes beside the clock a little lower than where entering
    // the standard style puts it.
    void SwitchAnalog(bool analog, ClockStyle style);
    // The taskbar's row filling the tray clock's client area as the style is
    // entered, and then fitted to it with its cells.
    void FillTray(int areaRight, int areaBottom);
    void FitToTray(const TrayFit& fit);
    // Draws the whole layout again at another scale; false when it has that scale.
    bool ScaleTo(Scale scale);
    Scale CurrentScale() const { return scale_; }

    // The colours of a display style; the face is the display's.
    void Colour(COLORREF panel, COLORREF hands, HBITMAP face);

    // A right click and a double click anywhere on the display.
    void OnContextMenu(const std::function<void(int x, int y)>& show);
    void OnDoubleClick(const std::function<void()>& open);

    // The clock whose ticks drive the window.
    TAMClock& AnalogClock() const { return *AMClock1; }
    int SmallRowWidth() const;
    int SmallRowHeight() const;
    void RepaintSmallRow() const;

  private:
    // What the tests see: the rows' windows, places and colours.
    friend class TMainWindowProbe;
    TPanel& SmallRow() const { return *Panel3; }
    TPanel& LargeRow() const { return *Panel1; }
    TPanel& DateRow() const { return *Panel4; }
    TPanel& MenuButtonRow() const { return *Panel2; }
    TExplorerButton* MenuButton() const { return ExplorerButton1.get(); }

    enum Row { Large, Button, Small, Date };
    // Sets a panel's bounds in screen pixels and notes its 96-DPI place.
    void Put(Row row, const Place& pixels);
    Place Current(Row row) const;
    void Move(Row row, int left, int top);
    void Resize(Row row, int width, int height);
    bool EnterDesktop(Scale scale);
    void ScaleClockHands();
    TPanel& Panel(Row row) const;

    TClockDisplay& display_;
    Scale scale_;
    std::array<Place, 4> design_{};
    // Declared in the order they are made; the clock goes first.
    std::unique_ptr<TPanel> Panel1, Panel2, Panel3, Panel4;
    std::unique_ptr<TAMClock> AMClock1;
    std::unique_ptr<TExplorerButton> ExplorerButton1;
};

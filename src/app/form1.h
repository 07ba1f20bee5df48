#pragma once
// The main clock window: the digit rows, the analog clock, the grip, and the
// menu items whose check marks carry the window's state.
#include "about/form3.h"
#include "alarm/form2.h"
#include "app/alarm_runner.h"
#include "app/clock_display.h"
#include "app/clock_menu.h"
#include "app/help_router.h"
#include "analogclock/amclock.h"
#include "app/power_watch.h"
#include "app/window_styles.h"
#include "controls/explbtn.h"
#include "settings/settings_file.h"
#include "controls/notask.h"
#include "controls/xpcontrols.h"
#include "toolkit/bitmap.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/image_list.h"
#include "toolkit/local_time_rules.h"
#include "toolkit/menu.h"
#include "toolkit/panel.h"
#include "toolkit/timer.h"

#include <array>
#include <functional>
#include <optional>
#include <memory>
#include <string>

class TForm1 : public TClockDisplay, public TForm, public TClockMenu {
  public:
    explicit TForm1(TApplication& application);
    ~TForm1() override;

    // Pulls the window back onto the desktop when it lies wholly off it, or
    // onto the nearest monitor when it lies in a corner that none shows.
    void checkpos();

    // Display style selection; sender is one of the six style items, or null
    // to apply the checked style again without storing it.
    void LCD1Click(TMenuItem* sender);
    // Draws the time every second.
    void AMClock1Second(TAMClock* sender, int second);
    // Draws the date every minute.
    void AMClock1Minute(TAMClock* sender, int minute);
    // Draws the alarm line; an empty hour clears it.
    void alarmdisplay(const std::string& hour, const std::string& minute);

    // Window styles, analog mode and always-on-top; sender is ignored.
    void Standard1Click(TMenuItem* sender);
    void Mini1Click(TMenuItem* sender);
    void Taskleiste1Click(TMenuItem* sender);
    void Analoguhr1Click(TMenuItem* sender);
    void ImmerimVordergrund1Click(TMenuItem* sender);
    // Keeps the taskbar window fitted to the taskbar's clock area.
    void Timer1Timer();
    // Goes on top again when the stored state asks for it (after a modal dialog).
    void topset();

    // What the alarm dialog is given: the help menu and the alarm line.
    AlarmDialogLinks LinksForAlarmDialog();
    // Opens the alarm dialog (also by a double click on the display).
    void Wecker1Click(TMenuItem* sender);
    // "&Direkthilfe" in the dialogs' context menu: the help topic of the
    // control the menu was opened on.
    void Direckthilfe1Click(TMenuItem* sender);
    TMenuItem Direckthilfe1{"&Direkthilfe"};
    TControlPopupMenu PopupMenu2;
    // Marks the window as one that uses the visual styles.
    std::unique_ptr<TXPThemeAPI> XPThemeAPI1;

    // Sound, message and one-shot switch-off at the alarm minute, run by
    // every second's tick after the time is drawn.
    TAlarmRunner AlarmRunner1;

    // The machine's sleep: noted when it begins; on waking, an alarm slept
    // through is told of.
    TPowerWatch PowerWatch1;
    void PowerWatch1Suspend(TPowerWatch* sender);
    void PowerWatch1Resume(TPowerWatch* sender);

    // Opens PopupMenu1 at a screen point, unless a box or dialog of the
    // program is up that the commands must not run beside.
    void ShowContextMenu(int x, int y);

    // The commands of the context menu that are no styles; sender is ignored.
    void Systemzeitndern1Click(TMenuItem* sender);
    void Info1Click(TMenuItem* sender);
    void Schlieen1Click(TMenuItem* sender);
    void Hilfethehmen1Click(TMenuItem* sender);
    void OnlineUpdate1Click(TMenuItem* sender);
    void BeiOnlineverbindungautomatischsuchen1Click(TMenuItem* sender);
    // The automatic update check while online: every 30 seconds until the
    // first one ran, then every 30 minutes; off while its check runs.
    TTimer Timer2{30000, true};
    void Timer2Timer();
    // An update run in the given mode; tests put a stand-in here.
    std::function<void(int mode)> RunUpdate;
    // What the about box is given: context help, help pop-ups, the terms of use.
    AboutBoxLinks LinksForAboutBox();

    // The layout; made when the window is.
    std::unique_ptr<TPanel> Panel1, Panel3, Panel4;
    // Holds the menu button.
    std::unique_ptr<TPanel> Panel2;
    std::unique_ptr<TExplorerButton> ExplorerButton1;
    std::unique_ptr<TAMClock> AMClock1;
    std::unique_ptr<TNoTask> NoTask1;
    // The window styles, always-on-top and the taskbar dock.
    TWindowStyles WindowStyles1;

  protected:
    void CreateParams(CreateParamsInfo& params) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateComponents() override;
    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    void FormKeyDown(WORD& key) override;
    void FormPaint(HDC dc) override;

  private:
    // Lays the window's children, cells, strips, faces and hands out again
    // at another whole factor of the 96-DPI layout.
    void RescaleLayout(Scale from, Scale to);
    void ScaleClockHands(Scale scale);
    // Double clicks on the display, the dialogs' help menu.
    void BindCommands();
    TMenuItem* StyleItem(int styleIndex);
    // The time of one reading of the clock, and the alarm check for it.
    void ShowTime(const LocalTime& now);

    // The menu's handlers; the right clicks and the menu button.
    void BindMenuCommands();
    void BindContextMenu();
    // Help through the help file beside the program: HTML Help, or WinHelp
    // when the old help file lies there.
    THelpRouter helpRouter_;
    bool ProgramBoxOpen() const;

    void BindPowerWatch();
    std::optional<LocalTime> sleepStart_;
    std::unique_ptr<TSettingsFile> settingsFile_;
    std::unique_ptr<TBitmap> glyphBitmap_;
};

extern TForm1* Form1;

#pragma once
// The main clock window. It is made of parts that own what they draw and
// move: the menu, the display's cells, the layout of the panels, the analog
// clock and the menu button, the window styles, the alarm, the sleep watch
// and the help. The window binds the parts' events to its handlers and hands
// them the program's objects.
#include "settings/program_objects.h"
#include "toolkit/form.h"
#include "toolkit/local_time_rules.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class TAlarmRunner;
class TApplication;
class TAMClock;
class TBitmap;
class TClockDisplay;
class TClockLayout;
class TClockMenu;
class TDisplayStyles;
class TControlPopupMenu;
class THelpRouter;
class TMenuItem;
class TNoTask;
class TPowerWatch;
class TSettingsFile;
class TTimer;
class TWindowStyles;
class TXPThemeAPI;
struct AboutBoxLinks;
struct AlarmDialogLinks;

class TForm1 : public TForm {
  public:
    explicit TForm1(TApplication& application);
    ~TForm1() override;

    // Pulls the window back onto the desktop when it lies wholly off it, or
    // onto the nearest monitor when it lies in a corner that none shows.
    void checkpos();
    // Goes on top again when the stored state asks for it (after a modal dialog).
    void topset();
    // Draws the alarm line; an empty hour clears it.
    void alarmdisplay(const std::string& hour, const std::string& minute);

    // What the alarm dialog is given: the help menu and the alarm line.
    AlarmDialogLinks LinksForAlarmDialog();
    // What the about box is given: context help, help pop-ups, the terms of use.
    AboutBoxLinks LinksForAboutBox();
    // An update run in the given mode; tests put a stand-in here.
    std::function<void(int mode)> RunUpdate;

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
    // What the tests see of the window, and the few things they drive.
    friend class TMainWindowProbe;

    // Display style selection; sender is one of the six style items, or null
    // to apply the checked style again without storing it.
    void LCD1Click(TMenuItem* sender);
    // Draws the time every second; the date every minute.
    void AMClock1Second(TAMClock* sender, int second);
    void AMClock1Minute(TAMClock* sender, int minute);

    // Window styles, analog mode and always-on-top; sender is ignored.
    void Standard1Click(TMenuItem* sender);
    void Mini1Click(TMenuItem* sender);
    void Taskleiste1Click(TMenuItem* sender);
    void Analoguhr1Click(TMenuItem* sender);
    void ImmerimVordergrund1Click(TMenuItem* sender);

    // The dialogs, the help and the commands of the context menu that are no
    // styles; sender is ignored.
    void Wecker1Click(TMenuItem* sender);
    void Direckthilfe1Click(TMenuItem* sender);
    void Systemzeitndern1Click(TMenuItem* sender);
    void Info1Click(TMenuItem* sender);
    void Schlieen1Click(TMenuItem* sender);
    void Hilfethehmen1Click(TMenuItem* sender);
    void OnlineUpdate1Click(TMenuItem* sender);
    void BeiOnlineverbindungautomatischsuchen1Click(TMenuItem* sender);
    // The automatic update check while online.
    void Timer2Timer();
    // Opens the context menu at a screen point, unless a box or dialog of the
    // program is up that the commands must not run beside.
    void ShowContextMenu(int x, int y);
    bool ProgramBoxOpen() const;

    void BindMenuCommands();
    void BindPowerWatch();
    // The machine woke or the system time was set: the clock is drawn at once
    // and its ticks aimed afresh.
    void ClockTimeChanged();
    void BindComponents();

    TApplication& application_;
    // The program's objects, set by the start-up and the close; the parts are
    // handed them.
    ProgramObjects objects_;
    std::unique_ptr<TSettingsFile> settingsFile_;
    std::unique_ptr<TBitmap> glyphBitmap_;

    std::unique_ptr<TClockMenu> menu_;
    std::unique_ptr<TClockDisplay> display_;
    std::unique_ptr<TClockLayout> layout_;
    // Sound, message and one-shot switch-off at the alarm minute, run by
    // every second's tick after the time is drawn.
    std::unique_ptr<TAlarmRunner> AlarmRunner1;
    std::unique_ptr<TDisplayStyles> displayStyles_;
    std::unique_ptr<TWindowStyles> WindowStyles1;
    // The dialogs' context menu with its one item.
    std::unique_ptr<TMenuItem> Direckthilfe1;
    std::unique_ptr<TControlPopupMenu> PopupMenu2;
    // Help through the help file beside the program.
    std::unique_ptr<THelpRouter> helpRouter_;
    std::unique_ptr<TPowerWatch> PowerWatch1;
    // The automatic update check: every 30 seconds until the first one ran,
    // then every 30 minutes; off while its check runs.
    std::unique_ptr<TTimer> Timer2;
    // Marks the window as one that uses the visual styles.
    std::unique_ptr<TXPThemeAPI> XPThemeAPI1;
    std::unique_ptr<TNoTask> NoTask1;
};

extern TForm1* Form1;

// The main window's context menu: its commands, who opens it (a right click
// anywhere on the clock, the menu button), and the commands that are neither
// window nor display styles.
#include "app/form1.h"
#include "settings/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "update/update.h"

void TForm1::BindMenuCommands() {
    Wecker1.OnClick = [this](TMenuItem* sender) { Wecker1Click(sender); };
    Uhrstellen1.OnClick = [this](TMenuItem* sender) { Systemzeitndern1Click(sender); };
    ImmerimVordergrund1.OnClick = [this](TMenuItem* sender) { ImmerimVordergrund1Click(sender); };
    Analoguhr1.OnClick = [this](TMenuItem* sender) { Analoguhr1Click(sender); };
    Standard1.OnClick = [this](TMenuItem* sender) { Standard1Click(sender); };
    Mini1.OnClick = [this](TMenuItem* sender) { Mini1Click(sender); };
    Taskleiste1.OnClick = [this](TMenuItem* sender) { Taskleiste1Click(sender); };
    for (TMenuItem* style : {&LCD0, &LCD1, &LEDGrn1, &LEDRot1, &LEDPunktmatrix1, &Klappziffer1}) {
        style->OnClick = [this](TMenuItem* sender) { LCD1Click(sender); };
    }
    Hilfethehmen1.OnClick = [this](TMenuItem* sender) { Hilfethehmen1Click(sender); };
    Info1.OnClick = [this](TMenuItem* sender) { Info1Click(sender); };
    OnlineUpdate1.OnClick = [this](TMenuItem* sender) { OnlineUpdate1Click(sender); };
    Timer2.OnTimer = [this](TTimer*) { Timer2Timer(); };
    RunUpdate = [this](int mode) {
        UpdateEnvironment environment{application_, SettingsFile, ProgramFolder};
        environment.owner = Handle();
        // The hidden check changes nothing on screen; the clock leaves the top
        // only when the run has something to show.
        bool lowered = false;
        environment.beforeShowing = [this, &lowered] {
            if (!lowered) {
                lowered = true;
                WindowStyles1.SetStayOnTop(false);
            }
        };
        onlineupdate(mode, environment);
        if (lowered) {
            topset();
        }
    };
    BeiOnlineverbindungautomatischsuchen1.OnClick = [this](TMenuItem* sender) {
        BeiOnlineverbindungautomatischsuchen1Click(sender);
    };
    Schlieen1.OnClick = [this](TMenuItem* sender) { Schlieen1Click(sender); };
}

void TForm1::BindContextMenu() {
    // The analog clock hands its right button to Panel1; the pictures have
    // no window, so their panels take it.
    for (TPanel* panel : {Panel1.get(), Panel3.get(), Panel4.get()}) {
        panel->OnContextPopup = [this](int x, int y) { ShowContextMenu(x, y); };
    }
    ExplorerButton1 = std::make_unique<TExplorerButton>(Panel2->Handle(), 1, 1, 14, 10);
    ExplorerButton1->SetAlignment(TAlignment::taRightJustify);
    ExplorerButton1->AccessibleName = "Men\xC3\xBC";
    ExplorerButton1->SetDropDownMenu(&PopupMenu1);
    ExplorerButton1->PopupMenu = &PopupMenu1;
    // Behind the same guard as the right click, and owned by the clock's own
    // window, also where that is a child of the taskbar.
    ExplorerButton1->OnMenuPopup = [this](TPopupMenu&, POINT at) { ShowContextMenu(at.x, at.y); };
}

bool TForm1::ProgramBoxOpen() const {
    return AlarmRunner1.BoxOpen() || (Form2 && Form2->Visible()) || (Form3 && Form3->Visible());
}

void TForm1::ShowContextMenu(int x, int y) {
    // Inside the alarm's box a tick is waiting: closing the clock or opening a
    // dialog from there would pull the window away under it.
    if (ProgramBoxOpen()) {
        return;
    }
    PopupMenu1.Popup(Handle(), x, y);
}

void TForm1::Systemzeitndern1Click(TMenuItem* /*sender*/) {
    // Whether the settings window came up is not looked at: the clock goes on.
    seams::RunShell({application_.Handle(), "open", "rundll32.exe",
                     "shell32.dll,Control_RunDLL timedate.cpl", SW_SHOW});
}

void TForm1::Info1Click(TMenuItem* /*sender*/) {
    // Opened twice quickly, the second click finds it up already.
    if (!Form3 || ProgramBoxOpen()) {
        return;
    }
    WindowStyles1.SetStayOnTop(false);
    Form3->ShowModal();
    topset();
}

void TForm1::Schlieen1Click(TMenuItem* /*sender*/) {
    Close();
}

void TForm1::Hilfethehmen1Click(TMenuItem* /*sender*/) {
    application_.HelpCommand(HELP_CONTENTS, 0);
}

void TForm1::OnlineUpdate1Click(TMenuItem* /*sender*/) {
    RunUpdate(ModeAsked);
}

void TForm1::Timer2Timer() {
    if (!SettingsFile || !SettingsFile->ReadBool("OnlineUpdate", "Auto", true)) {
        return;
    }
    if (!seams::InternetConnected() || UpdateRunning) {
        return;
    }
    Timer2.SetInterval(1800000);
    Timer2.SetEnabled(false);
    // Enabled again however the run ended, so the rhythm never stops.
    struct Restart {
        TTimer& timer;
        ~Restart() { timer.SetEnabled(true); }
    } restart{Timer2};
    RunUpdate(ModeAutomatic);
}

void TForm1::BeiOnlineverbindungautomatischsuchen1Click(TMenuItem* /*sender*/) {
    BeiOnlineverbindungautomatischsuchen1.SetChecked(
        !BeiOnlineverbindungautomatischsuchen1.Checked());
    if (SettingsFile) {
        SettingsFile->WriteBool("OnlineUpdate", "Auto",
                                BeiOnlineverbindungautomatischsuchen1.Checked());
    }
}

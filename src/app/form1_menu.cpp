// The main window's context menu: its commands, who opens it (a right click
// anywhere on the clock, the menu button), and the commands that are neither
// window nor display styles.
#include "about/form3.h"
#include "alarm/form2.h"
#include "app/alarm_runner.h"
#include "app/clock_menu.h"
#include "app/form1.h"
#include "app/window_styles.h"
#include "settings/settings_file.h"
#include "toolkit/timer.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "update/update.h"

void TForm1::BindMenuCommands() {
    TClockMenu& m = *menu_;
    m.Wecker1.OnClick = [this](TMenuItem* sender) { Wecker1Click(sender); };
    m.Uhrstellen1.OnClick = [this](TMenuItem* sender) { Systemzeitndern1Click(sender); };
    m.ImmerimVordergrund1.OnClick = [this](TMenuItem* sender) { ImmerimVordergrund1Click(sender); };
    m.Analoguhr1.OnClick = [this](TMenuItem* sender) { Analoguhr1Click(sender); };
    m.Standard1.OnClick = [this](TMenuItem* sender) { Standard1Click(sender); };
    m.Mini1.OnClick = [this](TMenuItem* sender) { Mini1Click(sender); };
    m.Taskleiste1.OnClick = [this](TMenuItem* sender) { Taskleiste1Click(sender); };
    for (TMenuItem* style :
         {&m.LCD0, &m.LCD1, &m.LEDGrn1, &m.LEDRot1, &m.LEDPunktmatrix1, &m.Klappziffer1}) {
        style->OnClick = [this](TMenuItem* sender) { LCD1Click(sender); };
    }
    m.Hilfethehmen1.OnClick = [this](TMenuItem* sender) { Hilfethehmen1Click(sender); };
    m.Info1.OnClick = [this](TMenuItem* sender) { Info1Click(sender); };
    m.OnlineUpdate1.OnClick = [this](TMenuItem* sender) { OnlineUpdate1Click(sender); };
    Timer2->OnTimer = [this](TTimer*) { Timer2Timer(); };
    RunUpdate = [this](int mode) {
        UpdateEnvironment environment{application_, objects_.settings, objects_.folder};
        environment.owner = WindowStyles1->BoxOwner();
        // The hidden check changes nothing on screen; the clock leaves the top
        // only when the run has something to show.
        bool lowered = false;
        environment.beforeShowing = [this, &lowered] {
            if (!lowered) {
                lowered = true;
                WindowStyles1->SetStayOnTop(false);
            }
        };
        onlineupdate(mode, environment);
        if (lowered) {
            topset();
        }
    };
    m.BeiOnlineverbindungautomatischsuchen1.OnClick = [this](TMenuItem* sender) {
        BeiOnlineverbindungautomatischsuchen1Click(sender);
    };
    m.Schlieen1.OnClick = [this](TMenuItem* sender) { Schlieen1Click(sender); };
}

bool TForm1::ProgramBoxOpen() const {
    return AlarmRunner1->BoxOpen() || (Form2 && Form2->Visible()) || (Form3 && Form3->Visible());
}

void TForm1::ShowContextMenu(int x, int y) {
    // Inside the alarm's box a tick is waiting: closing the clock or opening a
    // dialog from there would pull the window away under it.
    if (ProgramBoxOpen()) {
        return;
    }
    menu_->PopupMenu1.Popup(Handle(), x, y);
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
    WindowStyles1->SetStayOnTop(false);
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
    if (!objects_.settings->ReadBool("OnlineUpdate", "Auto", true)) {
        return;
    }
    if (!seams::InternetConnected() || objects_.updateRunning) {
        return;
    }
    Timer2->SetInterval(1800000);
    Timer2->SetEnabled(false);
    // Enabled again however the run ended, so the rhythm never stops.
    struct Restart {
        TTimer& timer;
        ~Restart() { timer.SetEnabled(true); }
    } restart{*Timer2};
    RunUpdate(ModeAutomatic);
}

void TForm1::BeiOnlineverbindungautomatischsuchen1Click(TMenuItem* /*sender*/) {
    TMenuItem& item = menu_->BeiOnlineverbindungautomatischsuchen1;
    item.SetChecked(!item.Checked());
    objects_.settings->WriteBool("OnlineUpdate", "Auto", item.Checked());
}

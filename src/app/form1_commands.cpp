// The main window's commands that open the alarm dialog and give context help
// in the dialogs.
#include "about/form3.h"
#include "alarm/form2.h"
#include "app/alarm_runner.h"
#include "app/clock_layout.h"
#include "app/form1.h"
#include "app/help_router.h"
#include "app/window_styles.h"
#include "controls/xpcontrols.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"

void TForm1::BindComponents() {
    // A double click anywhere on the display opens the alarm dialog; the
    // pictures inside the panels have no window, so the panels get it.
    layout_->OnDoubleClick([this] { Wecker1Click(nullptr); });

    // The window is made anew when the taskbar it sat in went away; the menu
    // item stays the same.
    if (PopupMenu2->Items.Items().empty()) {
        PopupMenu2->Items.Add(*Direckthilfe1);
    }
    Direckthilfe1->OnClick = [this](TMenuItem* sender) { Direckthilfe1Click(sender); };

    // A window made anew keeps its marker: a second one would be refused with a beep.
    if (!XPThemeAPI1) {
        try {
            XPThemeAPI1 = std::make_unique<TXPThemeAPI>(this);
        } catch (const EAbortCreation&) {
            // Refused with a beep already; the window does well without it.
        }
    }
}

void TForm1::Wecker1Click(TMenuItem* /*sender*/) {
    // Shown already (the double click of a window that is still enabled), or
    // the alarm's box is open inside a tick that must not wait on the dialog.
    if (!Form2 || Form2->Visible() || AlarmRunner1->BoxOpen()) {
        return;
    }
    // The dialog must not open behind a clock that stays on top.
    WindowStyles1->SetStayOnTop(false);
    Form2->ShowModal();
    topset();
}

void TForm1::Direckthilfe1Click(TMenuItem* /*sender*/) {
    helpRouter_->ShowContextHelp();
}

AboutBoxLinks TForm1::LinksForAboutBox() {
    return helpRouter_->LinksForAboutBox();
}

AlarmDialogLinks TForm1::LinksForAlarmDialog() {
    return {
        PopupMenu2.get(),
        [this](const std::string& hour, const std::string& minute) { alarmdisplay(hour, minute); },
        objects_};
}

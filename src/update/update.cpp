#include "update/update.h"

#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"
#include "update/release_settings_rules.h"
#include "update/update_texts.h"
#include "update/updateform.h"

#include <memory>

void onlineupdate(int mode, const UpdateEnvironment& environment) {
    // A click on the menu during the hidden automatic check starts no second
    // run beside it: both would write the same files.
    bool& running = environment.objects.updateRunning;
    if (running) {
        if (mode == ModeAsked) {
            seams::Beep();
        }
        return;
    }
    running = true;
    // However the run ends, a later check is not blocked by it; nothing
    // before its end lets another one start.
    struct RunningFlag {
        bool& running;
        ~RunningFlag() { running = false; }
    } runningFlag{running};
    UpdateRunState run;
    run.mode = mode;
    TApplication& application = environment.application;
    const HWND owner = UpdateOwner(environment);
    auto ask = [&](const std::string& text, UINT flags) {
        return AskUser(environment, owner, text, flags);
    };
    environment.objects.updateBaseUrl = ChooseUpdateBaseUrl(
        environment.settings ? environment.settings->ReadString("OnlineUpdate", "Server", "") : "");
    // A development build's address leads nowhere: nothing is asked, looked up or sent.
    if (!UpdateServerSetUp(environment.objects.updateBaseUrl)) {
        if (mode == ModeAsked) {
            ask(update_texts::kNoServer, update_texts::kInformation);
        }
        return;
    }
    if (mode == ModeAsked &&
        ask(update_texts::kAskConnect + application.Title() + update_texts::kAskConnectEnd,
            update_texts::kQuestion) != IDYES) {
        return;
    }

    auto dialog = std::make_unique<Tupdateform>(environment, run);
    // Its window is made only once there is an update to show: the check
    // every clock runs half a minute after its start then costs no window and
    // no common controls.
    if (!dialog->checking() || application.Terminated()) {
        return;
    }
    dialog->CreateHandle();
    SetWindowTextW(dialog->Handle(),
                   Widen(application.Title() + update_texts::kCaptionEnd).c_str());
    dialog->Timer1.SetInterval(static_cast<UINT>(environment.downloadDelayMs));
    dialog->Timer1.SetEnabled(true);
    if (environment.beforeShowing) {
        environment.beforeShowing();
    }
    dialog->ShowModal();
    dialog.reset();
    if (application.Terminated()) {
        return;
    }

    if (run.downloadDone && ask(update_texts::kStartSetup, update_texts::kNotice) == IDYES) {
        // Still held open: what starts is what was checked.
        if (!seams::RunShell({owner, "open", run.downloadedFile, "", SW_SHOWNORMAL})) {
            ask(update_texts::kNotStarted, update_texts::kError);
            return;
        }
        // The installer needs the clock gone.
        application.Terminate();
    }
}

#include "update/update.h"

#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"
#include "update/release_settings.h"
#include "update/update_texts.h"
#include "update/updateform.h"

#include <memory>

bool UpdateRunning = false;
std::string UpdateBaseUrl = kDefaultUpdateBaseUrl;

void onlineupdate(int mode, const UpdateEnvironment& environment) {
    UpdateRunning = true;
    // However the run ends, a later check is not blocked by it.
    struct RunningFlag {
        ~RunningFlag() { UpdateRunning = false; }
    } runningFlag;
    UpdateRunState run;
    run.mode = mode;
    TApplication& application = environment.application;
    auto ask = [&](const std::string& text, UINT flags) {
        return seams::ShowMessageBox(application.Handle(), text, application.Title(), flags);
    };
    UpdateBaseUrl = ChooseUpdateBaseUrl(
        environment.settings ? environment.settings->ReadString("OnlineUpdate", "Server", "") : "");
    // A development build's address leads nowhere: nothing is asked, looked up or sent.
    if (!UpdateServerSetUp(UpdateBaseUrl)) {
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
    if (!dialog->checking()) {
        return;
    }
    dialog->CreateHandle();
    SetWindowTextW(dialog->Handle(),
                   Widen(application.Title() + update_texts::kCaptionEnd).c_str());
    dialog->Timer1.SetEnabled(true);
    dialog->ShowModal();
    dialog.reset();

    if (run.downloadDone && ask(update_texts::kStartSetup, update_texts::kNotice) == IDYES) {
        // Whether the installer started is not looked at: it needs the clock gone.
        seams::RunShell({application.Handle(), "open", run.downloadedFile, "", SW_SHOWNORMAL});
        application.Terminate();
    }
}

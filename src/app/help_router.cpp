#include "app/help_router.h"

#include "about/help_topics_rules.h"
#include "settings/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include <utility>

namespace {

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

POINT PopupPoint(ULONG_PTR data) {
    return POINT{static_cast<short>(LOWORD(data)), static_cast<short>(HIWORD(data))};
}

ULONG_PTR PopupPosition(POINT at) {
    return static_cast<ULONG_PTR>(MAKELONG(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
}

// WinHelp's jump to a topic by its identifier.
constexpr char kOldTermsOfUseJump[] = "JI(`',`IDH_NUTZUNGSBEDINGUNGEN')";

} // namespace

THelpRouter::THelpRouter(TApplication& application, const ProgramObjects& objects,
                         TControlPopupMenu& contextMenu, std::function<HWND()> boxOwner)
    : application_(application), objects_(objects), contextMenu_(contextMenu),
      boxOwner_(std::move(boxOwner)) {}

HWND THelpRouter::BoxOwner() const {
    // A window of ours that is active (a dialog, the clock on the desktop)
    // takes the box; the taskbar, active while the clock sits in it, must not.
    HWND active = GetActiveWindow();
    return active && GetAncestor(active, GA_ROOTOWNER) == application_.Handle() ? active
                                                                                : boxOwner_();
}

bool THelpRouter::OldHelpFilePresent() const {
    return !objects_.folder.empty() && FileExists(objects_.folder + application_.HelpFile());
}

std::optional<bool> THelpRouter::ApplicationHelp(UINT command, ULONG_PTR data) {
    if (OldHelpFilePresent()) {
        return std::nullopt;
    }
    switch (command) {
    case HELP_CONTENTS:
        return ShowHelpContents();
    case HELP_CONTEXT:
        return ShowHelpTopic(MenuTopicPage(static_cast<int>(data)));
    case HELP_SETPOPUP_POS:
        helpPopupAt_ = PopupPoint(data);
        return true;
    case HELP_CONTEXTPOPUP:
        return ShowHelpPopup(static_cast<int>(data), helpPopupAt_);
    case HELP_QUIT: {
        HtmlHelpRequest close;
        close.command = HtmlHelpCommand::CloseAll;
        return application_.HtmlHelp(close);
    }
    default:
        // Nothing else is asked of the help; without WinHelp there is no one to ask.
        return false;
    }
}

bool THelpRouter::ShowHelpContents() {
    HtmlHelpRequest contents;
    contents.command = HtmlHelpCommand::Contents;
    contents.file = objects_.folder + kHelpFileName;
    if (!application_.HtmlHelp(contents)) {
        ReportHelpFailure();
        return false;
    }
    return true;
}

bool THelpRouter::ShowHelpPopup(int context, POINT at) {
    HtmlHelpRequest popup;
    popup.command = HtmlHelpCommand::TextPopup;
    popup.text = HelpPopupText(context);
    popup.at = at;
    popup.context = context;
    if (!application_.HtmlHelp(popup)) {
        // Without a viewer that shows text pop-ups the text is still worth reading.
        seams::ShowMessageBox(BoxOwner(), popup.text, "Tikkora", MB_OK | MB_ICONINFORMATION);
    }
    return true;
}

bool THelpRouter::ShowHelpTopic(const std::string& page) {
    HtmlHelpRequest topic;
    topic.command = HtmlHelpCommand::Topic;
    topic.file = objects_.folder + kHelpFileName;
    topic.page = page;
    if (!application_.HtmlHelp(topic)) {
        ReportHelpFailure();
        return false;
    }
    return true;
}

void THelpRouter::ShowTermsOfUse() {
    if (OldHelpFilePresent()) {
        application_.HelpCommand(HELP_COMMAND, reinterpret_cast<ULONG_PTR>(kOldTermsOfUseJump));
        return;
    }
    ShowHelpTopic(kTermsOfUsePage);
}

void THelpRouter::ReportHelpFailure() {
    const std::string file = objects_.folder + kHelpFileName;
    const std::string text =
        FileExists(file)
            ? "Die Hilfe konnte nicht angezeigt werden: Windows hat die Hilfedatei \xE2\x80\x9E" +
                  file +
                  "\xE2\x80\x9C nicht ge\xC3\xB6"
                  "ffnet."
            : "Die Hilfe kann nicht angezeigt werden, weil die Hilfedatei \xE2\x80\x9E" +
                  std::string(kHelpFileName) +
                  "\xE2\x80\x9C fehlt. Sie geh\xC3\xB6rt in den Ordner von Tikkora:\n" +
                  objects_.folder +
                  "\n\nInstallieren Sie Tikkora neu, um die Hilfe zur\xC3\xBC"
                  "ckzubekommen.";
    seams::ShowMessageBox(BoxOwner(), text, "Tikkora", MB_OK | MB_ICONWARNING);
}

void THelpRouter::ShowContextHelp() {
    int context = aboutHelpContext_;
    POINT at = aboutHelpAt_;
    if (TWinControl* control = contextMenu_.PopupComponent) {
        context = control->Tag;
        RECT bounds;
        GetWindowRect(control->Handle(), &bounds);
        at = POINT{bounds.left, bounds.top};
    }
    if (OldHelpFilePresent()) {
        application_.HelpCommand(HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(context));
    } else {
        ShowHelpPopup(context, at);
    }
}

AboutBoxLinks THelpRouter::LinksForAboutBox() {
    AboutBoxLinks links;
    links.contextHelp = [this](int context, POINT at) {
        // The box's links have no control to carry the number.
        aboutHelpContext_ = context;
        aboutHelpAt_ = at;
        contextMenu_.PopupComponent = nullptr;
        contextMenu_.Popup(BoxOwner(), at.x, at.y);
    };
    links.helpPopup = [this](int context, POINT at) {
        if (OldHelpFilePresent()) {
            application_.HelpCommand(HELP_SETPOPUP_POS, PopupPosition(at));
            application_.HelpCommand(HELP_CONTEXTPOPUP, static_cast<ULONG_PTR>(context));
        } else {
            ShowHelpPopup(context, at);
        }
    };
    links.termsOfUse = [this] { ShowTermsOfUse(); };
    links.openAddress = [this](const std::string& address) {
        return seams::RunShell({application_.Handle(), "open", address, "", SW_SHOWNORMAL});
    };
    return links;
}

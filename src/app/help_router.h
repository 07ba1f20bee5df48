#pragma once
// Help on the main window and its dialogs. The help is Tikkora.chm beside the
// program, shown by HTML Help; context pop-ups show texts compiled into the
// program. An old "Tikora.hlp" beside the program takes over with WinHelp, as
// before, for systems and users that still have one.
#include "about/form3.h"
#include "toolkit/application.h"
#include "toolkit/controls.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

struct ProgramObjects;

class THelpRouter {
  public:
    // contextMenu is the dialogs' "&Direkthilfe" menu; boxOwner is the main
    // window's owner of boxes, asked when no window of ours is active. The
    // help files lie in the program's folder.
    THelpRouter(TApplication& application, const ProgramObjects& objects,
                TControlPopupMenu& contextMenu, std::function<HWND()> boxOwner);
    THelpRouter(const THelpRouter&) = delete;
    THelpRouter& operator=(const THelpRouter&) = delete;

    // The application's help commands; nothing when WinHelp is to answer them.
    std::optional<bool> ApplicationHelp(UINT command, ULONG_PTR data);
    // "&Direkthilfe": the help topic of the control the menu was opened on.
    void ShowContextHelp();
    // What the about box is given: context help, help pop-ups, the terms of use.
    AboutBoxLinks LinksForAboutBox();

  private:
    bool OldHelpFilePresent() const;
    bool ShowHelpContents();
    bool ShowHelpTopic(const std::string& page);
    bool ShowHelpPopup(int context, POINT at);
    void ShowTermsOfUse();
    // Tells the user why the help did not open.
    void ReportHelpFailure();
    HWND BoxOwner() const;

    TApplication& application_;
    const ProgramObjects& objects_;
    TControlPopupMenu& contextMenu_;
    std::function<HWND()> boxOwner_;
    POINT helpPopupAt_{};
    // "&Direkthilfe" opened from the about box, which has no controls to carry
    // the number: the link's number and corner.
    int aboutHelpContext_ = 0;
    POINT aboutHelpAt_{};
};

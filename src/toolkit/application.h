#pragma once
// The application object: the hidden top-level "TApplication" window whose
// title is the program's title (a second instance looks for it), the message
// loop, the help file and the standard error report.
#include "toolkit/form.h"
#include "toolkit/html_help.h"
#include "toolkit/window.h"

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The exit code of a program whose main window could not be made.
constexpr int kNoMainWindowExitCode = 1;

// Cursor numbers of the toolkit.
constexpr int crDefault = 0;
constexpr int crHandPoint = -21;

// Removes the messages of that range that wait for window (null: any window
// of the thread). The system hands out a WM_QUIT whatever the filter; it is
// put back, so the end of the program is never lost to such a clean-up.
void DiscardPendingMessages(HWND window, UINT first, UINT last);

class TApplication : public TFormHost {
  public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Makes the hidden application window; until then there is no Handle().
    void Initialize();
    HWND Handle() const { return window_.Handle(); }

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& file) { helpFile_ = file; }

    // Hands a form to the application, which owns it from now on and frees it
    // at exit; the first form added becomes the main form. The form's window
    // is made here, so the form's creation handler runs before this returns.
    template <typename Form, typename... Args> Form* CreateForm(Args&&... args) {
        Form* form = AddForm<Form>(std::forward<Args>(args)...);
        form->CreateHandle();
        return form;
    }
    // As CreateForm, but the window is made (and the creation handler runs)
    // when the form is first shown: a form the user may never open costs the
    // program's start nothing.
    template <typename Form, typename... Args> Form* AddForm(Args&&... args) {
        auto form = std::make_unique<Form>(*this, std::forward<Args>(args)...);
        Form* raw = form.get();
        AdoptForm(std::move(form));
        return raw;
    }

    // Runs the message loop until Terminate() or the main form closes; the
    // program's exit code. A main form that has no window ends it at once
    // with kNoMainWindowExitCode: no loop runs that nothing could end.
    int Run();
    // Handles every message that is waiting, then returns. The end of the
    // program is left in the queue for the loops further out.
    void ProcessMessages();

    // The standard error report: shows the failure's text in a message box
    // with OK, the error icon and the application's title; the program goes on.
    void HandleException(const std::exception& failure);
    void HandleException(const std::exception_ptr& failure);

    // WinHelp on the help file, owned by the main form's window, unless
    // OnHelp answers the command first.
    bool HelpCommand(UINT command, ULONG_PTR data);
    bool HelpWasOpened() const { return helpOpened_; }
    // Sees every help command first: a value is the command's result and
    // WinHelp is not called; nullopt lets WinHelp run.
    std::function<std::optional<bool>(UINT command, ULONG_PTR data)> OnHelp;
    // HTML Help, owned by the main form's window; the viewers it opened close
    // with the application.
    bool HtmlHelp(const HtmlHelpRequest& request);

    HCURSOR Cursor(int number) const;
    void SetCursor(int number, HCURSOR cursor) { cursors_[number] = cursor; }

  private:
    void AdoptForm(std::unique_ptr<TForm> form);

    struct HiddenWindow : TWindow {
        void Make(const std::string& title);
    } window_;
    std::string title_;
    std::string helpFile_;
    bool helpOpened_ = false;
    std::vector<std::unique_ptr<TForm>> forms_;
    // The application this one was made inside, if any.
    TApplication* const outer_;
    std::map<int, HCURSOR> cursors_;
    // Declared last so it goes first, while the forms' windows are gone already.
    THtmlHelp htmlHelp_;
};

// The one application object of the running program.
extern TApplication* Application;

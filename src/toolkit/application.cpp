#include "toolkit/application.h"

#include "toolkit/form.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

TApplication* Application = nullptr;

namespace {
constexpr wchar_t kApplicationClass[] = L"TApplication";
}

TApplication::TApplication() : outer_(Application) {
    Application = this;
    SetExceptionReport([this](const std::exception_ptr& failure) { HandleException(failure); });
    cursors_[crDefault] = LoadCursorW(nullptr, IDC_ARROW);
    // The toolkit's own hand-point cursor until the program installs the system's.
    cursors_[crHandPoint] = LoadCursorW(nullptr, IDC_ARROW);
}

TApplication::~TApplication() {
    // Forms go first: their windows are owned by the application window.
    while (!forms_.empty()) {
        forms_.pop_back();
    }
    // One made inside another (a test's program inside the tests') gives the
    // outer one back its place and its error report.
    if (Application == this) {
        Application = outer_;
        if (outer_) {
            SetExceptionReport([outer = outer_](const std::exception_ptr& failure) {
                outer->HandleException(failure);
            });
        } else {
            SetExceptionReport(nullptr);
        }
    }
}

void TApplication::Initialize() {
    if (!Handle()) {
        window_.Make(title_);
        formOwner_ = window_.Handle();
    }
}

void TApplication::HiddenWindow::Make(const std::string& title) {
    // Never shown: a hidden owner gives its forms no taskbar button.
    CreateWindowHandle({kApplicationClass, 0, true, true}, Widen(title),
                       WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, {},
                       nullptr);
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    if (Handle()) {
        SetWindowTextW(Handle(), Widen(title_).c_str());
    }
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
    TForm* raw = form.get();
    forms_.push_back(std::move(form));
    if (!mainForm_) {
        mainForm_ = raw;
    }
}

int TApplication::Run() {
    if (Terminated()) {
        return ExitCode();
    }
    if (!mainForm_) {
        return kNoMainWindowExitCode;
    }
    try {
        mainForm_->Show();
    } catch (const std::exception& failure) {
        HandleException(failure);
        return kNoMainWindowExitCode;
    }
    if (!mainForm_->Handle()) {
        return kNoMainWindowExitCode;
    }
    while (!Terminated()) {
        HandleMessage();
    }
    return ExitCode();
}

void DiscardPendingMessages(HWND window, UINT first, UINT last) {
    MSG pending;
    while (PeekMessageW(&pending, window, first, last, PM_REMOVE)) {
        if (pending.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(pending.wParam));
            return;
        }
    }
}

void TApplication::ProcessMessages() {
    MSG message;
    while (ProcessMessage(message)) {
        if (message.message == WM_QUIT) {
            // Taken by a nested wait, the end of the program goes on to the
            // loops further out (a message box's among them) as well.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
    }
}

void TApplication::HandleException(const std::exception& failure) {
    seams::ShowMessageBox(Handle(), failure.what(), title_, MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        seams::ShowMessageBox(Handle(), "Unbekannter Fehler", title_, MB_OK | MB_ICONERROR);
    }
}

bool TApplication::HelpCommand(UINT command, ULONG_PTR data) {
    std::optional<bool> answered = OnHelp ? OnHelp(command, data) : std::nullopt;
    HWND owner = mainForm_ ? mainForm_->Handle() : Handle();
    const bool done = answered ? *answered : seams::CallHelp(owner, helpFile_, command, data);
    helpOpened_ = command != HELP_QUIT;
    return done;
}

bool TApplication::HtmlHelp(const HtmlHelpRequest& request) {
    HWND owner = mainForm_ && mainForm_->Handle() ? mainForm_->Handle() : Handle();
    return seams::CallHtmlHelp(owner, request, htmlHelp_);
}

HCURSOR TApplication::Cursor(int number) const {
    auto found = cursors_.find(number);
    return found != cursors_.end() ? found->second : cursors_.at(crDefault);
}

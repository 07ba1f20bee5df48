#include "app/form1.h"

#include "app/placement.h"
#include "app/program_folder.h"
#include "app/program_objects.h"
#include "toolkit/application.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"
#include "toolkit/strings.h"

std::string ProgramFolder;
TSettingsFile* SettingsFile = nullptr;
TForm1* Form1 = nullptr;

namespace {

FormDesign MainWindowDesign() {
    FormDesign design;
    design.className = L"TForm1";
    design.left = 289;
    design.top = 95;
    design.clientWidth = 638;
    design.clientHeight = 59;
    design.borderStyle = TBorderStyle::Dialog;
    design.stayOnTop = true;
    design.keyPreview = true;
    return design;
}

} // namespace

TForm1::TForm1(TApplication& application) : TForm(application, MainWindowDesign()) {
    Form1 = this;
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
    if (SettingsFile == settingsFile_.get()) {
        SettingsFile = nullptr;
    }
}

void TForm1::CreateParams(CreateParamsInfo& params) {
    TForm::CreateParams(params);
    // A dialog frame without the title bar.
    params.style |= WS_POPUP;
    params.style &= ~static_cast<DWORD>(WS_DLGFRAME);
}

LRESULT TForm1::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        // The bare background drags the window like a title bar would.
        LRESULT hit = DefaultHandler(message, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_DISPLAYCHANGE:
        // A monitor may have gone away or shrunk under the clock.
        checkpos();
        break;
    default:
        break;
    }
    return TForm::WndProc(message, wParam, lParam);
}

void TForm1::FormCreate() {
    ProgramFolder = FolderOfProgramFile(seams::ProgramFilePath());
    settingsFile_ = std::make_unique<TSettingsFile>(ProgramFolder + "Tikkora.ini");
    SettingsFile = settingsFile_.get();

    if (LowerAscii(SettingsFile->ReadString("Clock", "Status", "top")) == "top") {
        SetStayOnTop(false);
        SetStayOnTop(true);
        BringWindowToTop(Handle());
        ImmerimVordergrund1.SetChecked(true);
    } else {
        SetStayOnTop(false);
        ImmerimVordergrund1.SetChecked(false);
    }

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int left = SettingsFile->ReadInteger("Clock", "UhrposX", screenWidth - Width());
    const int top = SettingsFile->ReadInteger("Clock", "UhrposY", 0);
    SetPosition(left, top);
    checkpos();

    if (HCURSOR hand = LoadCursorW(nullptr, IDC_HAND)) {
        application_.SetCursor(crHandPoint, hand);
    }
}

void TForm1::FormShow() {
    // The hidden application window must stay hidden, or it would bring a taskbar button.
    ShowWindow(application_.Handle(), SW_HIDE);
}

void TForm1::FormKeyDown(WORD& key) {
    if (key == VK_F1) {
        application_.HelpCommand(HELP_CONTENTS, 0);
    }
}

void TForm1::FormClose() {
    if (application_.HelpWasOpened()) {
        application_.HelpCommand(HELP_QUIT, 0);
    }
    if (SettingsFile && !Taskleiste1.Checked()) {
        try {
            SettingsFile->WriteInteger("Clock", "UhrposX", Left());
            SettingsFile->WriteInteger("Clock", "UhrposY", Top());
        } catch (const EIniFileException& failure) {
            // Tell the user, but never keep the clock from closing over it.
            application_.HandleException(failure);
        }
    }
    // Nothing may reach the settings file after this point.
    SettingsFile = nullptr;
    settingsFile_.reset();
}

void TForm1::checkpos() {
    RECT bounds = BoundsRect();
    ScreenArea desktop{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                       GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    WindowPlace place{bounds.left, bounds.top, bounds.right - bounds.left,
                      bounds.bottom - bounds.top};
    WindowPlace pulled = PullOntoScreen(place, desktop);
    if (pulled.left != place.left || pulled.top != place.top) {
        SetPosition(pulled.left, pulled.top);
    }
}

void TForm1::SetStayOnTop(bool onTop) {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(Handle(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (!onTop && (GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // Some window managers keep an owned window on top while its owner
        // pins it there; without the owner for a moment the change takes.
        HWND owner = GetWindow(Handle(), GW_OWNER);
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, 0);
        SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
}

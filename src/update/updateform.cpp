#include "update/updateform.h"

#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"
#include "update/signature_check.h"
#include "update/update_texts.h"

#include <commctrl.h>

namespace {

constexpr int kButton1 = IDCANCEL;
constexpr int kProgressBar1 = 101;
constexpr int kRichEditViewer1 = 102;
constexpr int kLabel1 = 103;

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void DeleteIfExists(const std::string& path) {
    const std::wstring wide = Widen(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
}

std::uint64_t FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
        return 0;
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

FormDesign UpdateFormDesign() {
    FormDesign design;
    design.className = L"Tupdateform";
    design.caption = "Online-Update";
    design.clientWidth = 342;
    design.clientHeight = 358;
    design.left = (GetSystemMetrics(SM_CXSCREEN) - 348) / 2;
    design.top = (GetSystemMetrics(SM_CYSCREEN) - 384) / 2;
    design.dialogKeys = true;
    return design;
}

} // namespace

TProgressBar::TProgressBar(TWinControl* parent, HWND parentWindow, int left, int top, int width,
                           int height, int id)
    : TWinControl(parent, parentWindow) {
    CreateWnd(PROGRESS_CLASSW, "", WS_CHILD | WS_VISIBLE, 0, left, top, width, height, id);
    SetMax(100);
}

void TProgressBar::SetMax(int maximum) {
    SendMessageW(Handle(), PBM_SETRANGE32, 0, maximum);
}

void TProgressBar::SetPosition(int position) {
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int TProgressBar::Position() const {
    return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}

int TProgressBar::Max() const {
    return static_cast<int>(SendMessageW(Handle(), PBM_GETRANGE, FALSE, 0));
}

Tupdateform::Tupdateform(const UpdateEnvironment& environment, UpdateRunState& run)
    : TForm(environment.application, UpdateFormDesign()), environment_(environment), run_(run) {
    NMHTTP1 = std::make_unique<TNMHTTP>();
    NMHTTP1->InputFileMode = true;
    NMHTTP1->OnPacketRecvd = [this](TPowersock*) { NMHTTP1PacketRecvd(); };
    Timer1.OnTimer = [this](TTimer*) { Timer1Timer(); };
}

Tupdateform::~Tupdateform() {
    Timer1.SetEnabled(false);
    // A transfer has returned by now: the dialog is freed only after its
    // modal loop, which ends after the running handler.
    NMHTTP1.reset();
}

void Tupdateform::CreateComponents() {
    Label1 = std::make_unique<TStaticText>(nullptr, Handle(), update_texts::kSearching, 45, 12, 288,
                                           32, kLabel1);
    RichEditViewer1 =
        std::make_unique<TRichEditViewer>(nullptr, Handle(), 46, 49, 282, 231, kRichEditViewer1);
    ProgressBar1 =
        std::make_unique<TProgressBar>(nullptr, Handle(), 46, 294, 282, 13, kProgressBar1);
    Button1 = std::make_unique<TButton>(nullptr, Handle(), "Abbrechen", 134, 323, 73, 23, kButton1);
    Button1->OnClick = [this] { Button1Click(); };
    CancelButton = Button1.get();
}

void Tupdateform::FormCreate() {
    // The dialog closes through "Abbrechen" and its own code only.
    EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

void Tupdateform::FormShow() {
    Button1->Tag = 0;
    Label1->SetCaption(update_texts::kSearching);
    ProgressBar1->SetPosition(0);
}

void Tupdateform::FormPaint(HDC dc) {
    // The globe behind the floppy disk; shared, so the system keeps it.
    HICON picture = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), L"UPDATEICON", IMAGE_ICON, 32, 32, LR_SHARED));
    DrawIconEx(dc, 8, 11, picture, 32, 32, 0, nullptr, DI_NORMAL);
}

LRESULT Tupdateform::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Ends a connection under way; the client itself goes with the dialog.
    if (message == WM_CLOSE && NMHTTP1) {
        NMHTTP1->Disconnect();
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

int Tupdateform::Ask(const std::string& text, UINT flags) const {
    return seams::ShowMessageBox(environment_.application.Handle(), text,
                                 environment_.application.Title(), flags);
}

void Tupdateform::QuietGet(const std::string& url) {
    try {
        NMHTTP1->Get(url);
    } catch (...) {
    }
}

VersionsEntry Tupdateform::ReadVerifiedEntry(const std::string& path) {
    VersionsEntry entry{"-1", "", "", "", "", ""};
    if (!FileExists(path) || FileSize(path) > kMaxVersionsFileSize) {
        return entry;
    }
    const TSettingsFile file(path);
    const VersionsEntry read{file.ReadString(kVersionsSection, "version", "-1"),
                             file.ReadString(kVersionsSection, "file1", ""),
                             file.ReadString(kVersionsSection, "infos", ""),
                             file.ReadString(kVersionsSection, "sha256", ""),
                             file.ReadString(kVersionsSection, "signature", ""),
                             file.ReadString(kVersionsSection, "infos_sha256", "")};
    const auto checked = CheckEntryForm(read);
    if (!checked || !SignedByTrustedKey(SignedUpdateMessage(read, *checked), checked->signature)) {
        return entry;
    }
    run_.setupHash = checked->sha256;
    run_.infosHash = checked->infosSha256;
    return read;
}

bool Tupdateform::checking() {
    seams::DialInternet(environment_.application.Handle());
    const std::string versionsFile = environment_.programFolder + "versions.tmp";
    // A file left by an earlier run must not stand in for this server's answer.
    DeleteIfExists(versionsFile);
    NMHTTP1->Body = versionsFile;
    // Only this transfer has a time-out: no dialog is up yet, so nothing could cancel it.
    NMHTTP1->TimeOut = kVersionsTimeOutMs;
    QuietGet(UpdateBaseUrl + "/versions.nf");
    NMHTTP1->TimeOut = 0;

    VersionsEntry entry{"-1", "", "", "", "", ""};
    try {
        entry = ReadVerifiedEntry(versionsFile);
    } catch (...) {
    }
    DeleteIfExists(versionsFile);
    run_.serverVersionText = entry.version;
    run_.setupFileName = entry.file1;
    run_.infoFileName = entry.infos;

    switch (JudgeVersion(ParseVersionNumber(entry.version))) {
    case VersionVerdict::NoInformation:
        if (run_.mode == ModeAsked) {
            Ask(update_texts::kNoInformation, update_texts::kInformation);
        }
        UpdateRunning = false;
        return false;
    case VersionVerdict::AlreadyNewest:
        if (run_.mode == ModeAsked) {
            Ask(update_texts::kAlreadyNewest, update_texts::kInformation);
        }
        UpdateRunning = false;
        return false;
    case VersionVerdict::Newer:
        break;
    }
    return Ask(update_texts::kNewerStart + environment_.application.Title() +
                   update_texts::kNewerEnd,
               update_texts::kNotice) == IDYES;
}

void Tupdateform::Timer1Timer() {
    Timer1.SetEnabled(false);
    const std::string notesFile = environment_.programFolder + "infos.tmp";
    if (FetchSignedNotes(notesFile)) {
        try {
            RichEditViewer1->LoadFromFile(notesFile);
        } catch (...) {
            DeleteIfExists(notesFile);
            throw;
        }
        DeleteIfExists(notesFile);
    } else if (run_.infosHash && Button1->Tag == 0) {
        // As the file error of loading it: reported, and the dialog waits for
        // "Abbrechen". After "Abbrechen" during the notes the run goes on without them.
        throw Exception("Die Hinweise zum Update konnten nicht geladen werden.");
    }

    const std::string target = ChooseTarget();
    if (!target.empty()) {
        run_.downloadDone = Download(target);
    }
    UpdateRunning = false;
    Close();
}

bool Tupdateform::FetchSignedNotes(const std::string& notesFile) {
    DeleteIfExists(notesFile);
    if (!run_.infosHash) {
        return false;
    }
    NMHTTP1->Body = notesFile;
    QuietGet(UpdateBaseUrl + "/" + run_.infoFileName);
    ProgressBar1->SetPosition(0);
    // Part of the notes, or notes changed on the way, are not the signed ones.
    if (!MatchesSignedHash(Sha256OfFile(notesFile), run_.infosHash)) {
        DeleteIfExists(notesFile);
        return false;
    }
    return true;
}

std::string Tupdateform::ChooseTarget() {
    for (;;) {
        const auto chosen = seams::AskSaveFileName({Handle(), run_.setupFileName});
        if (!chosen || chosen->empty()) {
            return "";
        }
        if (!FileExists(*chosen) || Ask(update_texts::kOverwrite, update_texts::kNotice) == IDYES) {
            return *chosen;
        }
    }
}

bool Tupdateform::Download(const std::string& target) {
    NMHTTP1->Body = target;
    Label1->SetCaption(update_texts::kDownloading);
    bool failed = false;
    try {
        NMHTTP1->Get(UpdateBaseUrl + "/" + run_.setupFileName);
        // An error page is no installer, and a transfer cut short is no download.
        failed =
            NMHTTP1->ReplyNumber() < 200 || NMHTTP1->ReplyNumber() > 299 ||
            (NMHTTP1->ContentLength() > 0 && NMHTTP1->ReceivedCount() != NMHTTP1->ContentLength());
    } catch (...) {
        // A socket failure, a cancel, or a file that could not be written:
        // all leave no usable installer.
        failed = true;
    }
    run_.downloadedFile = target;
    ProgressBar1->SetPosition(0);
    if (!failed && !FileExists(target)) {
        failed = true;
    }
    if (failed) {
        // A read-only file the user chose stays as it was.
        DeleteFileW(Widen(target).c_str());
        if (Button1->Tag == 0) {
            Ask(update_texts::kFailed, update_texts::kError);
        }
        return false;
    }
    const auto hash = Sha256OfFile(target);
    if (!hash || *hash != run_.setupHash) {
        DeleteFileW(Widen(target).c_str());
        Ask(update_texts::kDamaged, update_texts::kError);
        return false;
    }
    return true;
}

void Tupdateform::NMHTTP1PacketRecvd() {
    // The versions list comes before the dialog has its window.
    if (!ProgressBar1) {
        return;
    }
    ProgressBar1->SetMax(NMHTTP1->ContentLength());
    ProgressBar1->SetPosition(NMHTTP1->ReceivedCount());
}

void Tupdateform::Button1Click() {
    UpdateRunning = false;
    NMHTTP1->Cancel();
    Button1->Tag = 1;
    Close();
}

#include "update/updateform.h"

#include "controls/richedit_viewer_rules.h"
#include "net/sock_exceptions.h"
#include "settings/settings_file.h"
#include "toolkit/application.h"
#include "toolkit/scaled_picture.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"
#include "update/signature_check.h"
#include "update/update_texts.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace {

static_assert(kMaxNotesSize <= kMaxViewerText, "the viewer shows all notes the transfer admits");

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
    design.dialogKeys = true;
    design.scalesWithDpi = true;
    return design;
}

// A new file beside target for the unchecked bytes, under a name no file has
// yet: a file of the user's named like it is neither overwritten nor deleted.
// Empty when none can be made there.
std::string MakePartFile(const std::string& target) {
    for (int number = 1; number < 100; ++number) {
        const std::string name =
            target + (number > 1 ? "." + std::to_string(number) : "") + ".part";
        HANDLE file = CreateFileW(Widen(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return name;
        }
        // Nothing in the way of that name: the folder does not take files.
        if (GetFileAttributesW(Widen(name).c_str()) == INVALID_FILE_ATTRIBUTES) {
            return "";
        }
    }
    return "";
}

// Opens the file for reading (and access besides) and keeps others from
// writing, renaming or deleting it while the handle lives; null when it
// cannot be opened so.
UniqueHandle<HANDLE, KernelHandleDeleter> OpenHeld(const std::string& path, DWORD access) {
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ | access, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueHandle<HANDLE, KernelHandleDeleter>(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// Gives the held file the name target, replacing a file there, without
// letting go of it in between.
bool RenameHeld(HANDLE file, const std::string& target) {
    const std::wstring name = Widen(target);
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), info->FileName);
    return SetFileInformationByHandle(file, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}

} // namespace

HWND UpdateOwner(const UpdateEnvironment& environment) {
    return environment.owner ? environment.owner : environment.application.Handle();
}

int AskUser(const UpdateEnvironment& environment, HWND owner, const std::string& text, UINT flags) {
    if (environment.beforeShowing) {
        environment.beforeShowing();
    }
    return seams::ShowMessageBox(owner, text, environment.application.Title(), flags);
}

std::string WithReason(const std::string& text, const std::string& reason) {
    return reason.empty() ? text : text + "\r\n" + reason;
}

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
    // No transfer of the run waits on a silent server for ever.
    NMHTTP1->TimeOut = environment.silenceTimeOutMs;
    NMHTTP1->OnPacketRecvd = [this](TPowersock*) { NMHTTP1PacketRecvd(); };
    Timer1.OnTimer = [this](TTimer*) { Timer1Timer(); };
    deadline_.OnTimer = [this](TTimer*) {
        // Fires again while the transfer goes on, so a cancel cannot be missed.
        overLimit_ = true;
        NMHTTP1->Cancel();
    };
}

Tupdateform::~Tupdateform() {
    Timer1.SetEnabled(false);
    deadline_.SetEnabled(false);
    // A transfer has returned by now: the dialog is freed only after its
    // modal loop, which ends after the running handler.
    NMHTTP1.reset();
}

void Tupdateform::CreateParams(CreateParamsInfo& params) {
    TForm::CreateParams(params);
    // Owned by the clock: in front of it, and the clock is disabled while it is up.
    params.parent = UpdateOwner(environment_);
    // Centred by its outer size at 96 DPI, which the window system's frame
    // need not match.
    params.x = (GetSystemMetrics(SM_CXSCREEN) - LayoutScale()(348)) / 2;
    params.y = (GetSystemMetrics(SM_CYSCREEN) - LayoutScale()(384)) / 2;
}

void Tupdateform::CreateComponents() {
    Label1 = std::make_unique<TStaticText>(nullptr, Handle(), update_texts::kSearching, 45, 12, 288,
                                           32, kLabel1);
    RichEditViewer1 =
        std::make_unique<TRichEditViewer>(nullptr, Handle(), 46, 49, 282, 231, kRichEditViewer1);
    ProgressBar1 =
        std::make_unique<TProgressBar>(nullptr, Handle(), 46, 294, 282, 13, kProgressBar1);
    // The status line above them would name both for a screen reader.
    RichEditViewer1->AccessibleName = "Versionshinweise";
    ProgressBar1->AccessibleName = "Fortschritt";
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
    const Scale scale = LayoutScale();
    DrawIconScaled(dc, scale(8), scale(11), picture, 32, scale.Factor());
}

LRESULT Tupdateform::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Ends a connection under way; the client itself goes with the dialog.
    if (message == WM_CLOSE && NMHTTP1) {
        NMHTTP1->Disconnect();
    }
    return TForm::HandleMessage(message, wParam, lParam);
}

int Tupdateform::Ask(const std::string& text, UINT flags) const {
    // While the dialog is up its boxes belong to it, so "Abbrechen" waits for them.
    const HWND owner = Visible() ? Handle() : UpdateOwner(environment_);
    return AskUser(environment_, owner, text, flags);
}

bool Tupdateform::Quitting() const {
    return environment_.application.Terminated();
}

bool Tupdateform::Ended() const {
    return Quitting() || Button1->Tag != 0;
}

Tupdateform::FetchOutcome Tupdateform::Fetch(const std::string& url, const std::string& file,
                                             const TransferLimits& limits) {
    NMHTTP1->Body = file;
    // An installer announced beyond the cap for one of unknown length is
    // refused before its file is made.
    NMHTTP1->MaxContentLength = limits.announcedLength ? kMaxUnannouncedInstallerSize : -1;
    limits_ = limits;
    overLimit_ = false;
    if (limits.deadlineMs > 0) {
        deadline_.SetInterval(static_cast<UINT>(limits.deadlineMs));
        deadline_.SetEnabled(true);
    }
    FetchOutcome outcome;
    try {
        NMHTTP1->Get(url);
    } catch (...) {
        outcome.failure = std::current_exception();
    }
    deadline_.SetEnabled(false);
    limits_ = {};
    outcome.overLimit = overLimit_;
    return outcome;
}

std::string Tupdateform::FailureReason(const std::exception_ptr& failure) {
    if (!failure) {
        return "";
    }
    try {
        std::rethrow_exception(failure);
    } catch (const ESockError&) {
        return "";
    } catch (const EFileError&) {
        return update_texts::kFileNotWritten;
    } catch (...) {
        // A URL the client refused: one of the server's redirects, most likely.
        return update_texts::kInvalidAddress;
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
    // The server did name a version: whatever fails from here is the
    // signature's, and the user who asked is told so.
    run_.unverified = read.version != "-1";
    const auto checked = CheckEntryForm(read);
    if (!checked || !SignedByTrustedKey(SignedUpdateMessage(read, *checked), checked->signature)) {
        return entry;
    }
    run_.unverified = false;
    run_.setupHash = checked->sha256;
    run_.infosHash = checked->infosSha256;
    return read;
}

bool Tupdateform::checking() {
    seams::DialInternet(environment_.application.Handle());
    const std::string versionsFile = environment_.programFolder + "versions.tmp";
    // A file left by an earlier run must not stand in for this server's answer.
    DeleteIfExists(versionsFile);
    // Only this transfer has a deadline: no dialog is up yet, so nothing else could end it.
    const FetchOutcome fetched = Fetch(
        environment_.objects.updateBaseUrl + "/versions.nf", versionsFile,
        {static_cast<std::int64_t>(kMaxVersionsFileSize), false, environment_.versionsDeadlineMs});
    run_.failureReason = FailureReason(fetched.failure);

    VersionsEntry entry{"-1", "", "", "", "", ""};
    if (!fetched.overLimit && !Quitting()) {
        try {
            entry = ReadVerifiedEntry(versionsFile);
        } catch (const std::exception& failure) {
            run_.failureReason = failure.what();
        }
    }
    DeleteIfExists(versionsFile);
    run_.serverVersionText = entry.version;
    run_.setupFileName = entry.file1;
    run_.infoFileName = entry.infos;
    if (Quitting()) {
        return false;
    }

    switch (JudgeVersion(ParseVersionNumber(entry.version))) {
    case VersionVerdict::NoInformation:
        if (run_.mode == ModeAsked) {
            if (run_.unverified) {
                Ask(update_texts::kNotVerified, update_texts::kError);
            } else {
                Ask(WithReason(update_texts::kNoInformation, run_.failureReason),
                    update_texts::kInformation);
            }
        }
        return false;
    case VersionVerdict::AlreadyNewest:
        if (run_.mode == ModeAsked) {
            Ask(update_texts::kAlreadyNewest, update_texts::kInformation);
        }
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
    Label1->SetCaption(update_texts::kLoadingNotes);
    const std::string notesFile = environment_.programFolder + "infos.tmp";
    std::string reason;
    const NotesOutcome notes = FetchSignedNotes(notesFile, reason);
    // "Abbrechen" during the notes ends the run: the user wants no update now.
    if (Ended()) {
        DeleteIfExists(notesFile);
        return;
    }
    // Notes that cannot be had are told, and the update goes on without
    // them, as it does without notes too large to be notes.
    if (notes == NotesOutcome::Missing) {
        Ask(WithReason(update_texts::kNotesMissing, reason), update_texts::kError);
    }
    if (notes == NotesOutcome::Ready) {
        try {
            RichEditViewer1->LoadFromFile(notesFile);
        } catch (const std::exception& failure) {
            Ask(failure.what(), update_texts::kError);
        }
        DeleteIfExists(notesFile);
    }
    if (Ended()) {
        return;
    }

    Label1->SetCaption(update_texts::kChoosingTarget);
    const std::string target = ChooseTarget();
    if (!target.empty() && !Quitting()) {
        run_.downloadDone = Download(target);
    }
    Close();
}

Tupdateform::NotesOutcome Tupdateform::FetchSignedNotes(const std::string& notesFile,
                                                        std::string& reason) {
    DeleteIfExists(notesFile);
    if (!run_.infosHash) {
        return NotesOutcome::Without;
    }
    const FetchOutcome fetched = Fetch(environment_.objects.updateBaseUrl + "/" + run_.infoFileName,
                                       notesFile, {kMaxNotesSize, false, 0});
    ProgressBar1->SetPosition(0);
    // Part of the notes, or notes changed on the way, are not the signed ones.
    if (!fetched.overLimit && MatchesSignedHash(Sha256OfFile(notesFile), run_.infosHash)) {
        return NotesOutcome::Ready;
    }
    DeleteIfExists(notesFile);
    reason = FailureReason(fetched.failure);
    // Notes this large are no notes.
    return fetched.overLimit ? NotesOutcome::Without : NotesOutcome::Missing;
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
    Label1->SetCaption(update_texts::kDownloading);
    run_.downloadedFile = target;
    // Unchecked bytes never lie under the chosen name, nor replace what is there.
    std::string part = MakePartFile(target);
    UniqueHandle<HANDLE, KernelHandleDeleter> held;
    // Only the file this run made goes; none when no part could be made.
    const auto fail = [&](const std::string& text) {
        held.reset();
        DeleteIfExists(part);
        if (!Ended()) {
            Ask(text, update_texts::kError);
        }
        return false;
    };
    if (part.empty()) {
        return fail(WithReason(update_texts::kFailed, update_texts::kFileNotWritten));
    }
    const FetchOutcome fetched =
        Fetch(environment_.objects.updateBaseUrl + "/" + run_.setupFileName, part, {-1, true, 0});
    // A socket failure, a cancel, more than announced, or a file that could
    // not be written: none leaves a usable installer. Nor does an error page,
    // or a transfer cut short.
    const bool failed =
        fetched.failure || fetched.overLimit || NMHTTP1->ReplyNumber() < 200 ||
        NMHTTP1->ReplyNumber() > 299 ||
        (NMHTTP1->ContentLength() > 0 && NMHTTP1->ReceivedCount() != NMHTTP1->ContentLength());
    ProgressBar1->SetPosition(0);
    if (failed) {
        return fail(WithReason(update_texts::kFailed, FailureReason(fetched.failure)));
    }
    // Holds the file by the handle open with access and checks what it holds.
    const auto holdChecked = [&](const std::string& path, DWORD access) {
        held = OpenHeld(path, access);
        const auto hash = held ? Sha256OfOpenFile(held.get()) : std::nullopt;
        return hash && *hash == run_.setupHash;
    };
    // From its check to its start nobody may change the installer.
    if (!holdChecked(part, DELETE)) {
        return fail(update_texts::kDamaged);
    }
    if (!RenameHeld(held.get(), target)) {
        return fail(WithReason(update_texts::kFailed, update_texts::kFileNotWritten));
    }
    part = target;
    // The installer opens its own file sharing reading alone, which a handle
    // that may delete it refuses; one for reading alone cannot be had beside
    // that handle without sharing deletion. So the hold is taken anew, and
    // what it holds checked again: for that moment nobody held the file.
    held.reset();
    if (!holdChecked(target, 0)) {
        return fail(update_texts::kDamaged);
    }
    run_.heldInstaller = std::move(held);
    return true;
}

void Tupdateform::NMHTTP1PacketRecvd() {
    const std::int64_t limit =
        limits_.announcedLength ? InstallerByteLimit(NMHTTP1->ContentLength()) : limits_.maxBytes;
    if (limit >= 0 && NMHTTP1->ReceivedCount() > limit) {
        overLimit_ = true;
        NMHTTP1->Cancel();
        return;
    }
    // The versions list comes before the dialog has its window.
    if (!ProgressBar1 || !ProgressBar1->Handle()) {
        return;
    }
    ProgressBar1->SetMax(NMHTTP1->ContentLength());
    ProgressBar1->SetPosition(static_cast<int>(NMHTTP1->ReceivedCount()));
}

void Tupdateform::Button1Click() {
    NMHTTP1->Cancel();
    Button1->Tag = 1;
    Close();
}

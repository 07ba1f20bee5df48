#pragma once
// The dialog of an update run: the notes, the progress of the transfers and
// "Abbrechen". It owns the HTTP client of the run; the version check runs
// while it is still hidden, the notes and the installer while it is open.
#include "controls/richedit_viewer.h"
#include "net/nmhttp.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/gdi.h"
#include "toolkit/timer.h"
#include "update/update.h"
#include "update/update_rules.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>

// What one run learns and decides, shared by the entry and the dialog.
struct UpdateRunState {
    int mode = 0;
    bool downloadDone = false;
    std::string serverVersionText;
    std::string setupFileName;
    std::string infoFileName;
    Sha256Digest setupHash{};
    std::optional<Sha256Digest> infosHash; // none: the release has no notes
    std::string downloadedFile;
    // The server answered with a version, but its signature did not hold.
    bool unverified = false;
    // Why the versions file could not be had when the network was not to blame.
    std::string failureReason;
    // The checked installer, held open so that nobody can change or replace
    // it between its check and its start.
    UniqueHandle<HANDLE, KernelHandleDeleter> heldInstaller;
};

// A box of the run: it belongs to owner (the clock, or the dialog while that
// is up), and the clock is told first that something is about to be shown.
int AskUser(const UpdateEnvironment& environment, HWND owner, const std::string& text, UINT flags);
// The clock's window, or the application's when the run was given none.
HWND UpdateOwner(const UpdateEnvironment& environment);
// The text with the reason of a failure on a line of its own, when there is one.
std::string WithReason(const std::string& text, const std::string& reason);

class TProgressBar : public TWinControl {
  public:
    TProgressBar(TWinControl* parent, HWND parentWindow, int left, int top, int width, int height,
                 int id);
    void SetMax(int maximum);
    void SetPosition(int position);
    int Position() const;
    int Max() const;
};

class Tupdateform : public TForm {
  public:
    Tupdateform(const UpdateEnvironment& environment, UpdateRunState& run);
    ~Tupdateform() override;

    // Fetches and judges the versions file; true when the user accepted a newer version.
    bool checking();
    // One second after opening: notes, save dialog, installer.
    void Timer1Timer();
    void NMHTTP1PacketRecvd();
    // "Abbrechen" or Escape.
    void Button1Click();

    std::unique_ptr<TStaticText> Label1;
    std::unique_ptr<TRichEditViewer> RichEditViewer1;
    std::unique_ptr<TProgressBar> ProgressBar1;
    std::unique_ptr<TButton> Button1;
    TTimer Timer1{1000, false};
    std::unique_ptr<TNMHTTP> NMHTTP1;

  protected:
    void CreateParams(CreateParamsInfo& params) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateComponents() override;
    void FormCreate() override;
    void FormShow() override;
    void FormPaint(HDC dc) override;

  private:
    // What one transfer may take: bytes (or, for the installer, what the
    // server announces) and time in all (0: no limit).
    struct TransferLimits {
        std::int64_t maxBytes = -1;
        bool announcedLength = false;
        int deadlineMs = 0;
    };
    struct FetchOutcome {
        bool overLimit = false;
        // What the transfer threw; null when it ended normally.
        std::exception_ptr failure;
    };

    int Ask(const std::string& text, UINT flags) const;
    // One GET into file. Past a limit the transfer is cancelled at once: the
    // bytes are counted as they arrive.
    FetchOutcome Fetch(const std::string& url, const std::string& file,
                       const TransferLimits& limits);
    // A failed transfer is an outcome, judged by what arrived; any other
    // failure (a file that could not be written) is the reason to tell.
    static std::string FailureReason(const std::exception_ptr& failure);
    // The program is ending: the run shows nothing more and leaves no file.
    bool Quitting() const;
    // Quitting, or "Abbrechen" pressed: the run goes no further.
    bool Ended() const;
    // The versions file's entry, or one whose version is "-1" when it is
    // missing, too large or not signed by a trusted key.
    VersionsEntry ReadVerifiedEntry(const std::string& path);
    // Ready: the signed notes lie in notesFile. Without: the run goes on
    // without notes (none released, or too large). Missing: they
    // did not come as signed, and reason may say why; nothing is left of them.
    enum class NotesOutcome { Ready, Without, Missing };
    NotesOutcome FetchSignedNotes(const std::string& notesFile, std::string& reason);
    // Empty when the user cancelled the save dialog.
    std::string ChooseTarget();
    // Downloads into target; true when a complete, unchanged installer arrived.
    bool Download(const std::string& target);

    UpdateEnvironment environment_;
    UpdateRunState& run_;
    // Ends a transfer that takes longer in all than its limit allows.
    TTimer deadline_{1000, false};
    TransferLimits limits_;
    bool overLimit_ = false;
};

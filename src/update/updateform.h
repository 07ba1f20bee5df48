#pragma once
// The dialog of an update run: the notes, the progress of the transfers and
// "Abbrechen". It owns the HTTP client of the run; the version check runs
// while it is still hidden, the notes and the installer while it is open.
#include "controls/richedit_viewer.h"
#include "net/nmhttp.h"
#include "toolkit/controls.h"
#include "toolkit/form.h"
#include "toolkit/timer.h"
#include "update/update.h"
#include "update/update_rules.h"

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
};

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
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateComponents() override;
    void FormCreate() override;
    void FormShow() override;
    void FormPaint(HDC dc) override;

  private:
    int Ask(const std::string& text, UINT flags) const;
    // Every failure of the transfer is swallowed: what arrived is what counts.
    void QuietGet(const std::string& url);
    // The versions file's entry, or one whose version is "-1" when it is
    // missing, too large or not signed by a trusted key.
    VersionsEntry ReadVerifiedEntry(const std::string& path);
    // Fetches the notes into notesFile; true when the signed notes lie there.
    // Others go as if they had not come; a release without notes fetches none.
    bool FetchSignedNotes(const std::string& notesFile);
    // Empty when the user cancelled the save dialog.
    std::string ChooseTarget();
    // Downloads into target; true when a complete, unchanged installer arrived.
    bool Download(const std::string& target);

    UpdateEnvironment environment_;
    UpdateRunState& run_;
};

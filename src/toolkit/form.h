#pragma once
// The form base class: one top-level window per object, whose messages
// HandleMessage turns into the form's handlers.
#include "toolkit/scale_rules.h"
#include "toolkit/window.h"

#include <string>

class TButton;
class TForm;

// What the forms share with the application that owns them: the window
// they are owned by, the message loop that gives them their keys first, and
// the end of the program.
class TFormHost {
  public:
    TForm* MainForm() const { return mainForm_; }
    // Waits for one message and handles it (the loop of modal forms).
    void HandleMessage();
    void Terminate(int exitCode = 0);
    bool Terminated() const { return terminated_; }
    int ExitCode() const { return exitCode_; }

  protected:
    ~TFormHost() = default;
    // Takes one waiting message and handles it; false when none waits. The
    // end of the program (WM_QUIT) is taken and noted, not handled.
    bool ProcessMessage(MSG& message);

    // The hidden window the forms are owned by, once it is made.
    HWND formOwner_ = nullptr;
    // The first form added; its close ends the program.
    TForm* mainForm_ = nullptr;

  private:
    friend class TForm;
    bool PreviewMessage(MSG& message);

    bool terminated_ = false;
    int exitCode_ = 0;
};

// What the window will be made with; CreateParams may change any of it.
struct CreateParamsInfo {
    std::wstring className;
    std::wstring caption;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
};

enum class TBorderStyle { Dialog, None };

// The design-time layout a form starts from, set in its constructor.
struct FormDesign {
    std::wstring className;
    std::string caption;
    int left = 0;
    int top = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    TBorderStyle borderStyle = TBorderStyle::Dialog;
    bool stayOnTop = false;
    bool keyPreview = false;
    // Forms whose controls are moved between with Tab and the arrow keys.
    bool dialogKeys = false;
    // The numbers above and those given to the form's controls are pixels of
    // a 96-DPI screen, drawn larger by the factor of the monitor the form
    // first appears on.
    bool scalesWithDpi = false;
};

class TForm : public TWindow {
  public:
    TForm(TFormHost& host, FormDesign design);

    // Makes the window and runs the creation handler; called by the application.
    // A window or a part of it that cannot be made raises ECreationError and
    // leaves no window; a failure of the creation handler is reported and the
    // window keeps what was applied until then.
    void CreateHandle();
    static TForm* FromHandle(HWND window);

    void Show();
    void Hide();
    bool Visible() const;
    // Asks the window to close, as any close request does.
    void Close();
    // Shows the form with every other window of the program disabled and runs
    // a nested message loop until ModalResult is set.
    int ShowModal();
    void SetModalResult(int result) { modalResult_ = result; }
    int ModalResult() const { return modalResult_; }

    RECT BoundsRect() const;
    int Left() const { return BoundsRect().left; }
    int Top() const { return BoundsRect().top; }
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    void SetPosition(int left, int top);

    bool KeyPreview = false;
    // Pressed by Enter and by Escape when no control takes the key itself.
    TButton* DefaultButton = nullptr;
    TButton* CancelButton = nullptr;
    bool IsDialog() const { return design_.dialogKeys; }
    // 1 for a form that does not scale, and until the window is made.
    Scale LayoutScale() const override { return scale_; }
    // Key preview: returns true when the key was consumed.
    bool PreviewKeyDown(WPARAM key);

  protected:
    virtual void CreateParams(CreateParamsInfo& params);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Makes the form's child controls, after the window and before FormCreate.
    virtual void CreateComponents() {}
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormClose() {}
    // The form's factor changed (it moved to a monitor of another DPI) and
    // its controls are laid out anew: what the form draws itself follows here.
    virtual void ScaleFactorChanged() {}
    // Set key to 0 to keep the key from the focused control.
    virtual void FormKeyDown(WORD& /*key*/) {}
    virtual void FormPaint(HDC /*dc*/) {}

    FormDesign design_;

  private:
    bool PaintsClient() const override { return true; }
    void PaintClient(HDC dc, const RECT& /*area*/) override { FormPaint(dc); }
    void HandleClose();
    // Lays the form out at a monitor's DPI, at the suggested place.
    void FollowDpi(int dpi, const RECT& suggested);
    HWND NextField(bool previous) const;
    void MoveFocus(HWND target);

    TFormHost& host_;
    int modalResult_ = 0;
    bool inModalLoop_ = false;
    Scale scale_;
};

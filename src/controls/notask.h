#pragma once
// Keeps the program's button off the taskbar. The button belongs to the
// application object's own top-level window (captioned with the application
// title), not to the forms; this component hides that window each time its
// owner form is shown, by seeing the form's WM_SHOWWINDOW before the form does.
#include <windows.h>

class TForm;

class TNoTask {
  public:
    // Hooks the owner form's window (making it first if it has none yet).
    explicit TNoTask(TForm* owner);
    ~TNoTask();
    TNoTask(const TNoTask&) = delete;
    TNoTask& operator=(const TNoTask&) = delete;

    // Applies HideForm once, after the owner has set the component up.
    void Loaded();

    bool HideForm() const { return hideForm_; }
    // Applies the value at once, also when it is unchanged: the application
    // window may have been shown by someone else in between.
    void SetHideForm(bool hideForm);

    // The window that is hidden or shown: the first top-level window of this
    // program whose caption is the application title; null when there is none.
    static HWND ApplicationWindow();

  private:
    void ApplyHideForm();
    void Hook();
    void Unhook();
    LRESULT MessageHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HookProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    TForm* owner_;
    bool hideForm_ = true;
    HWND hooked_ = nullptr;
    WNDPROC previous_ = nullptr;
};

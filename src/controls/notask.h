#pragma once
// Keeps the program's button off the taskbar. The button belongs to the
// application object's own top-level window (captioned with the application
// title), not to the forms; this component hides that window each time its
// owner form is shown, by seeing the form's WM_SHOWWINDOW before the form does.
#include "toolkit/window.h"

class TForm;

class TNoTask : private TWindowHook {
  public:
    // Hooks the owner form's window (making it first if it has none yet).
    explicit TNoTask(TForm* owner);

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
    LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool hideForm_ = true;
};

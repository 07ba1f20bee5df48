#pragma once
// The group box and check box that look right under the system's visual
// styles: the theme draws the group box's frame and caption, and both let the
// parent's themed background show through instead of painting flat grey.
// Without themes (or without the library) they paint the classic way.
#include "toolkit/controls.h"
#include "toolkit/exceptions.h"

#include <vector>

class TForm;

// The mark in a child's Tag: the group box disabled the child, which was
// enabled before, and enables it again when it is enabled itself.
constexpr int kEnabledByGroupMark = 0x01000000;

class TXPGroupBox : public TGroupBox {
  public:
    using TGroupBox::TGroupBox;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintClient(HDC dc, const RECT& area) override;
    void EnabledChanged() override;

  private:
    // The answer to a control-colour message for one of the children, or
    // false when the normal handling answers.
    bool ChildColor(HWND child, HDC dc, LRESULT& result);
};

class TXPCheckBox : public TCheckBox {
  public:
    using TCheckBox::TCheckBox;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Construction refused without a report; the caller goes on without the object.
class EAbortCreation : public Exception {
  public:
    EAbortCreation() : Exception("") {}
};

// A marker on a form that the program uses the visual styles. A form holds at
// most one; a second one, or one without a form, is refused with a beep.
class TXPThemeAPI {
  public:
    // Throws EAbortCreation when refused.
    explicit TXPThemeAPI(TForm* owner);
    ~TXPThemeAPI();
    TXPThemeAPI(const TXPThemeAPI&) = delete;
    TXPThemeAPI& operator=(const TXPThemeAPI&) = delete;

    TForm* Owner() const { return owner_; }

  private:
    TForm* owner_;
};

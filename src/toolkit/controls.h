#pragma once
// The dialogs' standard child controls: push button, static text, check box,
// combo box, date-time picker and group box. Each object owns one window of a
// system class (the group box one of the toolkit's own) and hooks its window
// procedure, so that context menus and the erase and colour messages reach the
// object. The parent window passes WM_COMMAND and WM_NOTIFY on to the control
// they come from (ReflectNotification), which raises the control's events.
#include "toolkit/menu.h"
#include "toolkit/scale_rules.h"
#include "toolkit/window.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TWinControl;

// A context menu that remembers the control it was last opened on.
class TControlPopupMenu : public TPopupMenu {
  public:
    TWinControl* PopupComponent = nullptr;
};

// "MS Sans Serif", 8 points: the dialogs' font, made once for the whole run
// for each factor a dialog is drawn larger by.
HFONT DialogFont(int scaleFactor = 1);

class TWinControl : public TWindow {
  public:
    ~TWinControl() override;

    TWinControl* Parent() const { return parent_; }
    // The windowed controls made inside this one, in creation order.
    const std::vector<TWinControl*>& Controls() const { return controls_; }
    static TWinControl* FromHandle(HWND window);
    // The control that window belongs to: the window's own control or that of
    // the nearest parent window that has one (the edit inside a combo box).
    static TWinControl* FindControl(HWND window);

    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    // In the parent's client coordinates.
    RECT BoundsRect() const;
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void SetFocus();
    // The system class of the window ("Button", "msctls_trackbar32", ...).
    std::wstring WindowClassName() const;
    // That of the form the control is on: the layout numbers it is given are
    // pixels of a 96-DPI screen, drawn larger by it.
    Scale LayoutScale() const { return scale_; }
    // Lays the control out again at another scale: place, size and font.
    virtual void SetLayoutScale(Scale scale);

    int Tag = 0;
    int HelpContext = 0;
    // The place in the parent's tab sequence; the windows are made in this order.
    int TabOrder = 0;
    TControlPopupMenu* PopupMenu = nullptr;
    // What a screen reader calls the control, for a field whose label the
    // system's own object does not find; empty: the system's name.
    std::string AccessibleName;

    // Called by a parent window's procedure for WM_COMMAND and WM_NOTIFY: hands
    // the notification to the control object it comes from. True when a
    // control took it; result is then the answer to the message.
    static bool ReflectNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  protected:
    // parent is the control that holds this one, or null when parentWindow
    // (a form) does.
    TWinControl(TWinControl* parent, HWND parentWindow);
    // Makes the window and hooks it; the font is the dialogs' font. The
    // bounds are 96-DPI pixels.
    void CreateWnd(const wchar_t* className, const std::string& text, DWORD style, DWORD exStyle,
                   int left, int top, int width, int height, int id);
    // Hooks a window that lives inside the control (the edit of a combo box),
    // so that its context menu is the control's.
    void HookInnerWindow(HWND inner);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // A WM_COMMAND notification code from this control.
    virtual void Command(WORD /*code*/) {}
    // A WM_NOTIFY from this control.
    virtual LRESULT Notify(const NMHDR& /*header*/) { return 0; }
    // The window was enabled or disabled.
    virtual void EnabledChanged() {}

    HWND parentWindow_;

  private:
    // Shows the context menu; false when the control has none.
    bool ContextPopup(LPARAM point);

    struct InnerWindowHook : TWindowHook {
        explicit InnerWindowHook(TWinControl& control) : control(control) {}
        LRESULT HookMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
        TWinControl& control;
    };
    std::unique_ptr<InnerWindowHook> innerHook_;
    TWinControl* parent_;
    std::vector<TWinControl*> controls_;
    Scale scale_;
    // The bounds it was made with, in 96-DPI pixels.
    WindowPlacement design_;
};

class TButton : public TWinControl {
  public:
    // A default button answers Enter; id IDOK and IDCANCEL let the dialog keys find it.
    TButton(TWinControl* parent, HWND parentWindow, const std::string& caption, int left, int top,
            int width, int height, int id, bool isDefault = false);
    // As a click by the user.
    void Click();
    std::function<void()> OnClick;

  protected:
    void Command(WORD code) override;
};

class TStaticText : public TWinControl {
  public:
    TStaticText(TWinControl* parent, HWND parentWindow, const std::string& caption, int left,
                int top, int width, int height, int id);
};

class TCheckBox : public TWinControl {
  public:
    TCheckBox(TWinControl* parent, HWND parentWindow, const std::string& caption, int left, int top,
              int width, int height, int id);
    bool Checked() const;
    void SetChecked(bool checked);
    std::function<void()> OnClick;

  protected:
    void Command(WORD code) override;
};

enum class TComboBoxStyle { DropDown, DropDownList };

class TComboBox : public TWinControl {
  public:
    TComboBox(TWinControl* parent, HWND parentWindow, TComboBoxStyle style, int left, int top,
              int width, int height, int id, int dropDownCount = 8);

    std::vector<std::string> Items() const;
    // Replaces the list; the text in the edit field stays.
    void SetItems(const std::vector<std::string>& items);
    void AddItem(const std::string& item);
    // Empties the list and the text.
    void Clear();
    int ItemIndex() const;
    // -1 selects nothing.
    void SetItemIndex(int index);
    std::string Text() const;
    void SetText(const std::string& text);
    // The edit field takes at most this many characters.
    void SetMaxLength(int length);
    // The user picked an entry of the list.
    std::function<void()> OnClick;
    void SetLayoutScale(Scale scale) override;

  protected:
    void Command(WORD code) override;

  private:
    void SetFieldHeight();
    // The closed field's height, in 96-DPI pixels.
    int fieldHeight_;
};

class TDateTimePicker : public TWinControl {
  public:
    // A time picker with spin buttons.
    TDateTimePicker(TWinControl* parent, HWND parentWindow, int left, int top, int width,
                    int height, int id);
    void SetFormat(const std::string& format);
    SYSTEMTIME DateTime() const;
    // Does not raise OnChange: only the user's changes do.
    void SetDateTime(const SYSTEMTIME& time);
    std::function<void()> OnChange;

  protected:
    LRESULT Notify(const NMHDR& header) override;

  private:
    bool settingTime_ = false;
};

// A frame with a caption that holds other controls; its children's
// notifications reach it and go on to them.
class TGroupBox : public TWinControl {
  public:
    TGroupBox(TWinControl* parent, HWND parentWindow, const std::string& caption, int left, int top,
              int width, int height, int id);
    // Sunken two-colour frame; off draws a plain one in the window-frame colour.
    bool Ctl3D = true;

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool PaintsClient() const override { return true; }
    // Draws the frame and caption (the background is the erase message's).
    void PaintClient(HDC dc, const RECT& area) override;
    // Frame and caption in the system colours.
    void PaintClassic(HDC dc);

    // What the paint needs to know of the caption and frame.
    struct CaptionLayout {
        RECT frame;
        RECT caption;
        UINT flags;
        int blank; // one pixel of the factor with a caption, 0 without
        std::wstring text;
    };
    CaptionLayout Layout(HDC dc) const;
};

#pragma once
// A flat toolbar-style button: no frame until the mouse is over it, then a
// raised bevel, a lowered one while pressed. It may carry a caption, a bitmap
// (in colour only while the mouse is over it) and a popup mark for the menu
// it drops down. Buttons with the same group index on one parent toggle as a
// radio group. Its own small child window shows the parent's background
// wherever the button paints nothing.
#include "controls/explbtn_hint.h"
#include "controls/explbtn_rules.h"
#include "toolkit/accessible.h"
#include "toolkit/bitmap.h"
#include "toolkit/window.h"

#include <functional>
#include <memory>
#include <string>

class TPopupMenu;

class TExplorerButton : public TWindow {
  public:
    // A child of parent at (left, top) in its client coordinates.
    TExplorerButton(HWND parent, int left, int top, int width = 50, int height = 40);
    ~TExplorerButton() override;

    void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const;
    int Width() const;
    int Height() const;

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allowAllUp);
    TBevelStyle BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TBevelStyle style);
    // The bitmap setters copy the picture; pixel (0,0) names the transparent colour.
    const TBitmap& NoFocusBitmap() const { return noFocusBitmap_; }
    void SetNoFocusBitmap(const TBitmap& bitmap);
    const TBitmap& Bitmap() const { return bitmap_; }
    void SetBitmap(const TBitmap& bitmap);
    const TBitmap& DisabledBitmap() const { return disabledBitmap_; }
    void SetDisabledBitmap(const TBitmap& bitmap);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex);
    bool Down() const { return down_; }
    void SetDown(bool down);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* menu);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    TExplorerButtonOptions Options() const { return options_; }
    void SetOptions(TExplorerButtonOptions options);
    TShadingType ShadingType() const { return shadingType_; }
    void SetShadingType(TShadingType shading);
    bool ShowDownPattern() const { return showDownPattern_; }
    void SetShowDownPattern(bool show);
    TColor UnselectedFontColor() const { return unselectedFontColor_; }
    void SetUnselectedFontColor(TColor color);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // The whole-number factor of a denser screen: the bevel and the popup
    // mark are drawn with factor × factor blocks for their pixels, laid out
    // on the button's size divided by it. For buttons without caption and
    // bitmap (the clock's menu button): those are not made larger.
    int Scale() const { return scale_; }
    void SetScale(int factor);

    // The font is the caller's and must outlive the button; null: the dialogs' font.
    void SetFont(HFONT font, TColor color);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool show);
    bool Visible() const;
    void SetVisible(bool visible);
    // The context menu of the right button.
    TPopupMenu* PopupMenu = nullptr;
    // What a screen reader calls a button whose caption says nothing; empty:
    // the caption, else the hint.
    std::string AccessibleName;
    std::function<void(TExplorerButton* sender)> OnClick;
    // Shows DropDownMenu or PopupMenu at a screen point in place of the
    // button, so that its owner decides when a menu may open; unset, the
    // button shows it itself, owned by its form.
    std::function<void(TPopupMenu& menu, POINT at)> OnMenuPopup;

    // Raises OnClick.
    void Click();
    // A key pressed with Alt (or in a dialog): acts as a click when it is the
    // caption's accelerator. True when it was.
    bool DialogChar(wchar_t key);
    // Pressed and released without the mouse (an accelerator, a reader's
    // default action): drops the menu or clicks.
    void PressByKeyboard();

    bool MouseInside() const { return mouseInside_; }
    bool Pressed() const { return pressed_; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Repaint();
    bool PaintsClient() const override { return true; }
    void PaintClient(HDC target, const RECT& area) override;
    void PaintParentBackground(HDC dc);
    void DrawBevel(HDC dc, BevelLook look);
    void DrawCaption(HDC dc, RECT area, bool disabled);
    void DrawTransparent(HDC dc, int x, int y, const TBitmap& bitmap);
    void DrawEmbossed(HDC dc, int x, int y, const TBitmap& bitmap);
    void DrawPopupMark(HDC dc, Point place, COLORREF color);
    UINT TextFlags() const;
    ButtonLayoutInput MeasureLayout(HDC dc) const;
    bool MarkShown() const { return (options_ & boPopupMark) && dropDownMenu_; }
    bool BitmapWanted() const { return !bitmap_.Empty() && noFocusBitmap_.Empty(); }
    void MakeMonoBitmap();
    void BitmapsChanged();
    void ResetState();
    void SetMouseInside(bool inside);
    // The program's own window the button sits in: its top-level window, or
    // the window that is a child of another program's (the taskbar's).
    HWND Form() const;
    bool ParentFormActive() const;
    void PopupAt(TPopupMenu& menu, POINT at);
    bool CursorInside() const;
    // After a menu ran: drops the mouse messages it left, ends any capture
    // and takes the hot state away when the mouse went elsewhere.
    void AfterMenu();
    // The other buttons of this one's group on the same parent.
    template <typename Action> void ForEachGroupMate(Action action);

    void LeftButtonDown();
    void LeftButtonUp();
    void MouseMove(int x, int y, WPARAM keys);
    // Releases the mouse if the button holds it.
    void LetGoOfMouse();
    void PrepareHint(UINT message, WPARAM wParam, LPARAM lParam);
    // A menu button or a push button, by its name, with its state.
    void UpdateReader();

    TAlignment alignment_ = TAlignment::taCenter;
    bool allowAllUp_ = false;
    TBevelStyle bevelStyle_ = TBevelStyle::bsRaised;
    TBitmap noFocusBitmap_, bitmap_, disabledBitmap_, monoBitmap_;
    std::string caption_;
    int groupIndex_ = 0;
    bool down_ = false;
    TPopupMenu* dropDownMenu_ = nullptr;
    bool enabled_ = true;
    TButtonLayout layout_ = TButtonLayout::blBitmapTop;
    TExplorerButtonOptions options_ = boMonoDisplay | boPopupMark;
    TShadingType shadingType_ = TShadingType::stMedium;
    bool showDownPattern_ = true;
    TColor unselectedFontColor_;
    bool wordWrap_ = false;
    int scale_ = 1;
    HFONT font_ = nullptr;
    TColor fontColor_;
    std::string hint_;
    bool showHint_ = false;
    std::unique_ptr<TToolHint> hintWindow_;

    bool pressed_ = false;
    bool mouseInside_ = false;
    // Windows 95/98 draw the caption without the end ellipsis.
    bool oldWindowsText_ = false;
    // The dither of a down button, made on first need.
    UniqueBrush downPattern_;
    TAccessible reader_;
};

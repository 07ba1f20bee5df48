#pragma once
// The about box: a borderless white window with the program's icon, name and
// version, a disclaimer, the jump to the terms of use, and links to the
// maker's web page and e-mail address. Made once at program start and shown
// modally. The "?" puts it into help mode, in which a click on a link shows
// the link's help instead of opening it.
#include "about/about_design_rules.h"
#include "controls/explbtn_hint.h"
#include "controls/gradient_fill.h"
#include "toolkit/accessible.h"
#include "toolkit/form.h"
#include "toolkit/gdi.h"

#include <functional>
#include <memory>
#include <string>

// What the box is given by the window that opens it.
struct AboutBoxLinks {
    // "&Direkthilfe" on a link: the context-help menu for the link's help
    // number, opened at a screen point.
    std::function<void(int helpContext, POINT screen)> contextHelp;
    // A link clicked in help mode: the help pop-up of its number, its corner
    // at a screen point.
    std::function<void(int helpContext, POINT screen)> helpPopup;
    // "Nutzungsbedingungen": the help at its terms-of-use topic.
    std::function<void()> termsOfUse;
    // Opens a web or mail address; false when it could not. Empty: the shell's "open".
    std::function<bool(const std::string& address)> openAddress;
};

class TApplication;

class TForm3 : public TForm {
  public:
    TForm3(TApplication& application, AboutBoxLinks links);
    ~TForm3() override;

    // Closes the box (the cross).
    void Image3MouseDown();
    // Enters help mode (the question mark).
    void Image5Click();
    // Leaves help mode (a press on the face, the strip, the icon or the texts).
    void Shape1MouseDown();
    // The web link, the mail link and "Nutzungsbedingungen".
    void Label16Click();
    void Label17Click();
    void Label12Click();

    bool HelpMode() const { return helpMode_; }
    std::unique_ptr<TGradientFill> GradientFill1;

    // Where the self-sizing links ended up, in client coordinates (the
    // screen's pixels).
    RECT LinkBounds(AboutElement link) const;

  protected:
    void CreateParams(CreateParamsInfo& params) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateComponents() override;
    void FormCreate() override;
    void FormShow() override;
    void FormClose() override;
    void FormKeyDown(WORD& key) override;
    void FormPaint(HDC dc) override;
    void ScaleFactorChanged() override;

  private:
    // The fonts, the links' sizes and the close hint at the form's factor.
    void ScaleTexts();
    void MeasureLinks();
    void LinkClick(AboutElement link, int helpContext, const std::string& address);
    POINT ScreenCorner(AboutElement link) const;
    void LeftButtonDown(POINT point);
    void LeftButtonUp(POINT point);
    bool SetCursorShape(POINT point);
    void ContextMenu(LPARAM screenPoint);
    // The element under a point of the client area.
    AboutElement ElementAt(POINT client) const;
    void PaintTab(HDC dc) const;
    // The tab at its 96-DPI size, shifted by origin.
    void PaintTabAt(HDC dc, POINT origin) const;
    void PaintTexts(HDC dc) const;
    // What a screen reader gets: the box's texts, its links and its close
    // cross; the pictures, which say nothing, are left out. A reader's
    // default action runs here as the element's click.
    void UpdateReader();
    void ReaderAction(WPARAM child);

    TApplication& application_;
    AboutBoxLinks links_;
    // The help cursor stands for help mode; it is kept when the box closes.
    bool helpMode_ = false;
    AboutElement pressed_ = AboutElement::Face;
    // In pixels of the 96-DPI layout.
    AboutLinkSizes linkSizes_;
    HICON icon_ = nullptr;
    UniqueFont titleFont_;
    UniqueFont linkFont_;
    std::unique_ptr<TToolHint> hint_;
    TAccessible reader_;
};

extern TForm3* Form3;

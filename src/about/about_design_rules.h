#pragma once
// The about box's layout without a window: where each element lies, its
// texts and colours, and which element a point of the box falls on.
#include "tikkora_version.h"
#include "toolkit/color_rules.h"

struct BoxRect {
    int left, top, width, height;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    constexpr bool contains(int x, int y) const {
        return x >= left && x < right() && y >= top && y < bottom();
    }
};

namespace about {

constexpr BoxRect kShape1{0, 0, 353, 311}; // the face and its frame
constexpr BoxRect kGradientFill1{1, 1, 70, 309};
constexpr BoxRect kImage1{22, 27, 32, 32}; // the program's icon
constexpr BoxRect kLabel9{84, 51, 120, 68};
constexpr BoxRect kLabel4{84, 199, 243, 57};
// The black tab; its left edge slants from its top left corner down to the right.
constexpr BoxRect kImage4{306, 1, 46, 17};
constexpr BoxRect kImage5{323, 2, 13, 13}; // the question mark
constexpr BoxRect kImage3{338, 2, 13, 13}; // the close cross

// Labels that size themselves to their text: only their corner is fixed.
struct LabelCorner {
    int left, top;
};
constexpr LabelCorner kLabel8{84, 24};    // the title
constexpr LabelCorner kLabel12{160, 239}; // "Nutzungsbedingungen"
constexpr LabelCorner kLabel20{85, 269};  // the web link
constexpr LabelCorner kLabel19{210, 269}; // the mail link

constexpr TColor kGradientBegin = clWhite;
constexpr TColor kGradientEnd = 0xFFD0B3; // red 179, green 208, blue 255
constexpr int kGradientColors = 60;
constexpr TColor kLinkColor = 0xFF0000; // blue
constexpr int kTitleHeight = 21;        // pixels, Arial

constexpr char kTitle[] = "Tikkora 2";
constexpr char kVersionAndCredits[] =
    "Version " TIKKORA_VERSION_TEXT "\nUhr mit Wecker\n\xC2\xA9 Tikkora Software";
constexpr char kDisclaimer[] =
    "Es wird keine Garantie auf Fehlerfreiheit gew\xC3\xA4hrt. Es wird nicht f\xC3\xBCr durch die "
    "Benutzung des Programms eventuell entstehende Sch\xC3\xA4"
    "den gehaftet. Mehr:";
constexpr char kTermsOfUse[] = "Nutzungsbedingungen";
constexpr char kWebAddress[] = "www.tikkora.example";
constexpr char kMailAddress[] = "info@tikkora.example";
constexpr char kCloseHint[] = "Schlie\xC3\x9F"
                              "en";

// The links' tags: their help context numbers.
constexpr int kWebHelpContext = 11;
constexpr int kMailHelpContext = 12;
constexpr int kTermsHelpContext = 0;

} // namespace about

enum class AboutElement { Face, Gradient, Icon, Terms, Web, Mail, Tab, Question, Close };

// The measured sizes of the self-sizing links.
struct AboutLinkSizes {
    int termsWidth = 0, termsHeight = 0;
    int webWidth = 0, webHeight = 0;
    int mailWidth = 0, mailHeight = 0;
};

// The topmost element at a point of the box (client coordinates); Face for
// every point of the box that no other element covers.
AboutElement AboutElementAt(int x, int y, const AboutLinkSizes& links);

#include "about/about_design_rules.h"

AboutElement AboutElementAt(int x, int y, const AboutLinkSizes& links) {
    using namespace about;
    // Later elements lie on top of earlier ones: test them first.
    if (kImage3.contains(x, y)) {
        return AboutElement::Close;
    }
    if (kImage5.contains(x, y)) {
        return AboutElement::Question;
    }
    // The slant runs one pixel right for every pixel down.
    if (kImage4.contains(x, y) && x - kImage4.left >= y - kImage4.top) {
        return AboutElement::Tab;
    }
    const BoxRect web{kLabel20.left, kLabel20.top, links.webWidth, links.webHeight};
    const BoxRect mail{kLabel19.left, kLabel19.top, links.mailWidth, links.mailHeight};
    const BoxRect terms{kLabel12.left, kLabel12.top, links.termsWidth, links.termsHeight};
    if (mail.contains(x, y)) {
        return AboutElement::Mail;
    }
    if (web.contains(x, y)) {
        return AboutElement::Web;
    }
    if (terms.contains(x, y)) {
        return AboutElement::Terms;
    }
    if (kImage1.contains(x, y)) {
        return AboutElement::Icon;
    }
    if (kGradientFill1.contains(x, y)) {
        return AboutElement::Gradient;
    }
    return AboutElement::Face;
}

#include "controls/explbtn_rules.h"

#include <algorithm>

ShadingThresholds ThresholdsOf(TShadingType shading) {
    switch (shading) {
    case TShadingType::stLight:
        return {205, 127, 68};
    case TShadingType::stDark:
        return {335, 274, 175};
    case TShadingType::stMedium:
        break;
    }
    return {553, 231, 57};
}

GreyLevel GreyLevelOf(TColor plainColor, TShadingType shading) {
    const int sum = static_cast<int>((plainColor & 0xFF) + ((plainColor >> 8) & 0xFF) +
                                     ((plainColor >> 16) & 0xFF));
    const ShadingThresholds t = ThresholdsOf(shading);
    if (sum > t.t1) {
        return GreyLevel::White;
    }
    if (sum > t.t2) {
        return GreyLevel::Highlight;
    }
    if (sum > t.t3) {
        return GreyLevel::Shadow;
    }
    return GreyLevel::Black;
}

namespace {

void PlaceWithoutBitmap(const ButtonLayoutInput& in, ButtonLayout& out) {
    const int w = in.width;
    int a = out.tw;
    if (in.markShown) {
        a = out.tw + 10;
        out.tw = std::min(out.tw, w - 14);
    }
    out.ty = (in.height - out.th) / 2;
    switch (in.alignment) {
    case TAlignment::taLeftJustify:
        out.tx = 3;
        break;
    case TAlignment::taRightJustify:
        out.tx = w - a - 3;
        break;
    case TAlignment::taCenter:
        out.tx = (w - a) / 2;
        break;
    }
}

// Bitmap above or below the caption.
void PlaceStacked(const ButtonLayoutInput& in, int bw, int bh, int g, ButtonLayout& out) {
    const int w = in.width;
    if (in.layout == TButtonLayout::blBitmapTop) {
        out.by = (in.height - out.th - bh - g) / 2;
        out.ty = out.by + bh + g;
    } else {
        out.ty = (in.height - out.th - bh - g) / 2;
        out.by = out.ty + out.th + g;
    }
    switch (in.alignment) {
    case TAlignment::taLeftJustify:
        out.bx = out.tx = 3;
        break;
    case TAlignment::taRightJustify:
        out.bx = w - bw - 3;
        out.tx = w - out.tw - 3;
        break;
    case TAlignment::taCenter:
        out.bx = (w - bw) / 2;
        out.tx = (w - out.tw) / 2;
        break;
    }
}

// Bitmap beside the caption.
void PlaceSideBySide(const ButtonLayoutInput& in, int bw, int bh, int g, ButtonLayout& out) {
    const int w = in.width;
    if (out.tw + bw + g > w - 4) {
        out.tw = w - 4 - g - bw;
    }
    out.by = (in.height - bh) / 2;
    out.ty = (in.height - out.th) / 2;
    const bool bitmapLeft = in.layout == TButtonLayout::blBitmapLeft;
    // first: the element at the left, second: the one after it.
    int& first = bitmapLeft ? out.bx : out.tx;
    int& second = bitmapLeft ? out.tx : out.bx;
    const int firstWidth = bitmapLeft ? bw : out.tw;
    const int secondWidth = bitmapLeft ? out.tw : bw;
    switch (in.alignment) {
    case TAlignment::taLeftJustify:
        first = 3;
        second = first + firstWidth + g;
        break;
    case TAlignment::taRightJustify:
        second = w - secondWidth - 3;
        first = second - firstWidth - g;
        break;
    case TAlignment::taCenter:
        first = (w - out.tw - bw - g) / 2;
        second = first + firstWidth + g;
        break;
    }
}

} // namespace

ButtonLayout LayOutExplorerButton(const ButtonLayoutInput& in) {
    ButtonLayout out;
    const bool hasCaption = in.captionWidth > 0 || in.captionHeight > 0;
    int g = 0;
    if (hasCaption) {
        out.tw = std::min(in.captionWidth, in.width - 4);
        out.th = in.captionHeight;
        g = 2;
    }
    const bool hasBitmap = in.bitmapWidth > 0 && in.bitmapHeight > 0;
    if (!hasBitmap) {
        PlaceWithoutBitmap(in, out);
    } else {
        const int bw = in.bitmapWidth + (in.markShown ? 10 : 0);
        const int bh = in.bitmapHeight;
        if (in.layout == TButtonLayout::blBitmapTop || in.layout == TButtonLayout::blBitmapBottom) {
            PlaceStacked(in, bw, bh, g, out);
        } else {
            PlaceSideBySide(in, bw, bh, g, out);
        }
    }
    if (in.wordWrap && out.tx + out.tw > in.width - 5) {
        out.tw = in.width - out.tx - 5;
    }
    return out;
}

Point PopupMarkPlace(const ButtonLayoutInput& input, const ButtonLayout& layout, bool pressedLook) {
    const int shift = pressedLook ? 1 : 0;
    if (input.bitmapWidth > 0 && input.bitmapHeight > 0) {
        return {layout.bx + input.bitmapWidth + 3 + shift,
                layout.by + input.bitmapHeight / 2 + shift};
    }
    return {layout.tx + layout.tw + 3 + shift, layout.ty + layout.th / 2 + shift};
}

std::array<PixelRun, 4> PopupMarkRuns(Point p) {
    return {{{p.x, p.y - 1, 7}, {p.x + 1, p.y, 5}, {p.x + 2, p.y + 1, 3}, {p.x + 3, p.y + 2, 1}}};
}

BevelShades BevelShadesOf(BevelLook look, TBevelStyle style) {
    const bool raisedEdges = (look == BevelLook::Hot) == (style == TBevelStyle::bsRaised);
    return raisedEdges ? BevelShades{BevelShade::Highlight, BevelShade::Shadow}
                       : BevelShades{BevelShade::Shadow, BevelShade::Highlight};
}

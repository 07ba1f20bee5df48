#include "controls/gradient_rules.h"

#include <cstdlib>

int MulDivRounded(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude = (std::llabs(product) * 2 + std::llabs(c)) / (std::llabs(c) * 2);
    return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

namespace {

int Component(TColor color, int shift) {
    return static_cast<int>((color >> shift) & 0xFF);
}

} // namespace

std::vector<GradientBand> GradientBands(int width, int height, TColor beginColor, TColor endColor,
                                        TFillDirection direction, int numberOfColors) {
    const int count = numberOfColors < 1 ? 1 : numberOfColors;
    const bool reversed =
        direction == TFillDirection::fdBottomToTop || direction == TFillDirection::fdRightToLeft;
    const bool vertical =
        direction == TFillDirection::fdTopToBottom || direction == TFillDirection::fdBottomToTop;
    const TColor start = reversed ? endColor : beginColor;
    const TColor end = reversed ? beginColor : endColor;

    std::vector<GradientBand> bands;
    bands.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        GradientBand band;
        if (vertical) {
            band = {0, MulDivRounded(i, height, count), width, MulDivRounded(i + 1, height, count)};
        } else {
            band = {MulDivRounded(i, width, count), 0, MulDivRounded(i + 1, width, count), height};
        }
        TColor color = 0;
        for (int shift : {0, 8, 16}) {
            int value = Component(start, shift);
            if (count >= 2) {
                value +=
                    MulDivRounded(i, Component(end, shift) - Component(start, shift), count - 1);
            }
            color |= static_cast<TColor>(value & 0xFF) << shift;
        }
        band.color = color;
        bands.push_back(band);
    }
    return bands;
}

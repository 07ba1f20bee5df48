#pragma once
// What the drop-down menu button works out without a window: where bitmap,
// caption and popup mark go, the grey version's thresholds, which bevel
// colours a look takes, and the hint made from a caption.
#include "toolkit/color_rules.h"
#include "toolkit/string_rules.h"

#include <array>
#include <string>
#include <string_view>

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };
enum class TShadingType { stLight, stMedium, stDark };
enum class TBevelStyle { bsLowered, bsRaised };

// The button's option set.
enum TExplorerButtonOption : unsigned { boMonoDisplay = 1, boIconOnly = 2, boPopupMark = 4 };
using TExplorerButtonOptions = unsigned;

// The grey version of a bitmap: a pixel whose red + green + blue (0 to 765)
// lies above T1 turns white, above T2 the button highlight, above T3 the
// button shadow, else black.
struct ShadingThresholds {
    int t1, t2, t3;
};
ShadingThresholds ThresholdsOf(TShadingType shading);
enum class GreyLevel { White, Highlight, Shadow, Black };
GreyLevel GreyLevelOf(TColor plainColor, TShadingType shading);

struct ButtonLayoutInput {
    int width = 0;
    int height = 0;
    // The measured caption; 0 × 0 when no caption is shown (none, or icon only).
    int captionWidth = 0;
    int captionHeight = 0;
    // 0 × 0 without a bitmap.
    int bitmapWidth = 0;
    int bitmapHeight = 0;
    bool markShown = false;
    TAlignment alignment = TAlignment::taCenter;
    TButtonLayout layout = TButtonLayout::blBitmapTop;
    bool wordWrap = false;
};

struct ButtonLayout {
    int bx = 0, by = 0; // the bitmap's top-left corner
    int tx = 0, ty = 0; // the caption rectangle
    int tw = 0, th = 0;
};
ButtonLayout LayOutExplorerButton(const ButtonLayoutInput& input);

struct Point {
    int x = 0;
    int y = 0;
};
// Where the popup mark goes; a pressed (or down) button has it one pixel
// further right and down.
Point PopupMarkPlace(const ButtonLayoutInput& input, const ButtonLayout& layout, bool pressedLook);

// The mark is a downward triangle of four rows of 7, 5, 3 and 1 pixels.
struct PixelRun {
    int x, y, length;
};
std::array<PixelRun, 4> PopupMarkRuns(Point place);

enum class BevelLook { Hot, Pressed };
enum class BevelShade { Highlight, Shadow };
// The pen of the left and top edges, and that of the right and bottom edges.
struct BevelShades {
    BevelShade first, second;
};
BevelShades BevelShadesOf(BevelLook look, TBevelStyle style);

// The 8×8 pattern of a down button: highlight where x and y are both even
// or both odd, button face elsewhere.
constexpr bool DownPatternIsHighlight(int x, int y) {
    return (x % 2) == (y % 2);
}

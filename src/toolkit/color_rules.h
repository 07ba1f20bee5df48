#pragma once
// Colours as the components store them: $00BBGGRR, red in the low byte. A set
// top bit names a system colour by its index in the low byte; clNone means
// "no colour" and is never drawn.
#include <cstdint>

using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGray = 0x808080;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNone = 0x1FFFFFFF;

constexpr TColor kSystemColorFlag = 0x80000000;
// The system's window background (COLOR_WINDOW).
constexpr TColor clWindow = kSystemColorFlag | 5;

constexpr bool IsSystemColor(TColor color) {
    return (color & kSystemColorFlag) != 0;
}
constexpr int SystemColorIndex(TColor color) {
    return static_cast<int>(color & 0xFF);
}

#pragma once
// The clock is laid out in pixels of a 96-DPI screen. On a denser screen it is
// drawn larger by a whole number, so that every pixel of a digit or of the
// face becomes a square block and nothing is resampled by a fraction.

constexpr int kBaseDpi = 96;

// DPI / 96 rounded, at least 1: 120 DPI stays 1, 144 and 192 are 2, 288 is 3.
int ScaleFactorForDpi(int dpi);

// A length of the 96-DPI layout on a screen of the given factor.
constexpr int Scaled(int length, int factor) {
    return length * factor;
}

// A length laid out at one factor, at another. Every length of the layout is a
// multiple of the factor it was laid out at, so the division is exact.
constexpr int Rescaled(int length, int from, int to) {
    return length / from * to;
}

#pragma once
// The program is laid out in pixels of a 96-DPI screen. On a denser screen it
// is drawn larger by a whole number, so that every pixel of a digit, a face or
// a frame becomes a square block and nothing is resampled by a fraction.
#include <concepts>

constexpr int kBaseDpi = 96;

// A place of a layout: where a window or a picture goes, and its size.
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const Place&, const Place&) = default;
};

// The one way a length, a place or a rectangle of the 96-DPI layout is drawn
// larger: scale(length), scale(place), scale(rectangle).
class Scale {
  public:
    constexpr Scale() = default;
    constexpr explicit Scale(int factor) : factor_(factor < 1 ? 1 : factor) {}
    // DPI / 96 rounded, at least 1: 120 DPI stays 1, 144 and 192 are 2, 288 is 3.
    static constexpr Scale ForDpi(int dpi) { return Scale((dpi + kBaseDpi / 2) / kBaseDpi); }

    constexpr int Factor() const { return factor_; }

    constexpr int operator()(int length) const { return length * factor_; }
    // The 96-DPI length of one at this scale (a point the user clicked).
    constexpr int Unscaled(int length) const { return length / factor_; }
    // Anything with a left, top, width and height (a place).
    template <typename P>
    requires requires(P p) {
        { p.left } -> std::convertible_to<int>;
        { p.width } -> std::convertible_to<int>;
    }
    constexpr P operator()(P p) const {
        Times(p.left, p.top, p.width, p.height);
        return p;
    }
    // Anything with a left, top, right and bottom (a rectangle).
    template <typename R>
    requires requires(R r) {
        { r.left } -> std::convertible_to<int>;
        { r.right } -> std::convertible_to<int>;
    }
    constexpr R operator()(R r) const {
        Times(r.left, r.top, r.right, r.bottom);
        return r;
    }
    // Anything with only a width and a height (a size).
    template <typename S>
    requires requires(S s) {
        { s.width } -> std::convertible_to<int>;
        { s.height } -> std::convertible_to<int>;
    } &&(!requires(S s) { s.left; }) constexpr S operator()(S s) const {
        Times(s.width, s.height);
        return s;
    }

    friend constexpr bool operator==(Scale, Scale) = default;

  private:
    constexpr void Times(auto&... lengths) const { ((lengths *= factor_), ...); }

    int factor_ = 1;
};

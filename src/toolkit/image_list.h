#pragma once
// A strip of equally sized opaque glyphs, loaded from a bitmap resource. A
// glyph is fetched by copying its cell out of the strip, which is all the
// display needs every tick (the glyphs have no transparency to honour).
#include "toolkit/bitmap.h"

class TImageList {
  public:
    TImageList(int width, int height) : width_(width), height_(height) {}
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    // Takes a horizontal strip bitmap (a resource of this program) as the
    // glyphs, each of its pixels a factor × factor block on a denser screen.
    bool LoadStrip(const wchar_t* resourceName, int factor = 1);
    int Count() const { return width_ > 0 ? strip_.Width() / Width() : 0; }
    int Width() const { return width_ * factor_; }
    int Height() const { return height_ * factor_; }

    // Sizes target to one glyph and draws glyph index into it; false when the
    // index is not in the list (the target is then left empty).
    bool GetBitmap(int index, TBitmap& target) const;

  private:
    int width_;
    int height_;
    int factor_ = 1;
    TBitmap strip_;
};
